#include "text/translation_list.h"

#include "text/def_lexer.h"

TranslationListSource::~TranslationListSource() = default;

void TranslationList::Set(const CString& key, const CString& value) {
  CString upper = key;
  upper.MakeUpper();
  if (static_cast<size_t>(upper.GetLength()) > longestKey_) longestKey_ = upper.GetLength();
  table_.Insert(upper, value);
}

const CString* TranslationList::Lookup(std::string_view key) const {
  if (key.size() > longestKey_) return nullptr;
  CString upper{key};
  upper.MakeUpper();
  auto* n = table_.Find(upper.view());
  return n ? &n->value : nullptr;
}

bool TranslationList::Read(DefLexer& lexer) {
  CString item;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    return false;
  }
  name_ = item;
  if (lexer.NextSeparator("{") == 0) return false;
  for (;;) {
    CString key;
    bool haveKey = lexer.NextItem(key);
    if (haveKey && lexer.lastWasSeparator()) {
      lexer.PushBack(key);
      haveKey = false;
    }
    if (haveKey) {
      const char sep = lexer.NextSeparator("=,}");
      if (sep == 0) return true;
      if (sep == '=') {
        CString value;
        if (lexer.NextItem(value)) {
          if (lexer.lastWasSeparator())
            lexer.PushBack(value);
          else
            Set(key, value);
        }
      } else {
        lexer.PushBack(CString(sep));
      }
    }
    if (lexer.NextSeparator(",}") != ',') return true;
  }
}
