#include "text/token_items.h"

#include "text/def_lexer.h"
#include "text/token_source.h"

TokenItem::~TokenItem() = default;

bool TokenItem::Split(LONG, TokenSource&, std::unique_ptr<TokenItem>& rest) {
  rest.reset();
  return false;
}

bool TokenItem::DispatchSelf(ViewerDocument&, DefinitionSet&) { return false; }

void CopyPairs(const List& from, List& to) {
  for (ListElement* e = from.first(); e; e = e->next()) {
    auto* p = static_cast<AttributePair*>(e);
    to.append(new AttributePair(p->name, p->value));
  }
}

bool TextToken::Split(LONG position, TokenSource& measurer, std::unique_ptr<TokenItem>& rest) {
  rest.reset();
  const int length = text.GetLength();
  if (length < 2) return false;
  int n = measurer.MeasureRange(start, position);
  if (n <= 0 || n >= length) return false;
  rest = std::make_unique<TextToken>(position, text.Mid(n), owner);
  text = text.Left(n);
  return true;
}

TokenEvent::TokenEvent(const TokenEvent& other) : TokenEvent(other, other.start) {}

TokenEvent::TokenEvent(const TokenEvent& other, LONG newStart)
    : TokenItem(newStart), name(other.name), linkItem(other.linkItem) {
  CopyPairs(other.subItems, subItems);
}

TokenEvent::~TokenEvent() { subItems.clearAndDelete(); }

AttributePair* TokenEvent::SubItemAt(int index) const {
  return static_cast<AttributePair*>(subItems.at(index));
}

const CString* TokenEvent::FindPair(const char* pairName) const {
  for (ListElement* e = subItems.first(); e; e = e->next()) {
    auto* p = static_cast<AttributePair*>(e);
    if (p->name == pairName) return &p->value;
  }
  return nullptr;
}

bool TokenEvent::ReadDefinition(DefLexer& lexer) {
  CString item;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return false;
  }
  name = item;
  if (lexer.NextSeparator() != '{') return false;
  for (;;) {
    CString key;
    bool haveKey = lexer.NextItem(key);
    if (haveKey && lexer.lastWasSeparator()) {
      lexer.PushBack(key);
      haveKey = false;
    }
    if (haveKey) {
      const char c = lexer.NextSeparator("=,}");
      if (c == 0) return true;
      if (c == '=') {
        CString value;
        if (lexer.NextItem(value)) {
          if (lexer.lastWasSeparator())
            lexer.PushBack(value);
          else
            AddPair(key, value);
        }
      } else {
        lexer.PushBack(CString(c));
      }
    }
    if (lexer.NextSeparator(",}") != ',') return true;
  }
}

OpenElement::~OpenElement() { attributes.clearAndDelete(); }
