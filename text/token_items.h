// The items a token source hands out: text, diagnostics and events (start
// and end tags, and pseudo-events such as "Word" and "WordSpace"). Each
// carries the stream offset where it starts; documents use these offsets as
// the positions of everything built from the item. Whoever takes an item
// from a source owns it.
#pragma once

#include <memory>

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/item_pool.h"
#include "win/types.h"

class AnchorRecord;
class DefinitionSet;
class DefLexer;
class TokenSource;
class ViewerDocument;

enum TokenKind : int { kTextItem = 0, kDiagnosticItem = 1, kEventItem = 2, kAnchorItem = 3, kSelfItem = 4 };

class TokenItem : public ListElement {
 public:
  explicit TokenItem(LONG start = 0) : start(start) {}
  ~TokenItem() override;

  virtual int Kind() const = 0;
  virtual bool IsText() const { return false; }
  // Splits a text item at a stream position: the characters from there on
  // go to a new item in `rest`. False (and no rest) for every other kind.
  virtual bool Split(LONG position, TokenSource& measurer, std::unique_ptr<TokenItem>& rest);
  // Items that report kind 4 handle themselves when dispatched; none of the
  // layer's own items does.
  virtual bool DispatchSelf(ViewerDocument& viewer, DefinitionSet& definitions);

  LONG start;
};

// A name and a value: the attributes of an event, and of an open element.
class AttributePair : public ListElement {
 public:
  AttributePair(const CString& name, const CString& value) : name(name), value(value) {}
  ZEMRA_POOLED(AttributePair)
  CString GetName() const { return name; }

  CString name;
  CString value;
};

// Copies every pair of `from` onto the end of `to`.
void CopyPairs(const List& from, List& to);

class TextToken : public TokenItem {
 public:
  TextToken(LONG start, const CString& text, LONG owner) : TokenItem(start), text(text), owner(owner) {}
  ZEMRA_POOLED(TextToken)
  int Kind() const override { return kTextItem; }
  bool IsText() const override { return true; }
  // The text measured from the item's start to `position` (in displayed
  // characters) gives the split index, kept within the text. Texts of fewer
  // than two characters, and positions that would leave one side empty, are
  // not split.
  bool Split(LONG position, TokenSource& measurer, std::unique_ptr<TokenItem>& rest) override;

  CString text;
  LONG owner;
};

class TokenDiagnostic : public TokenItem {
 public:
  static constexpr LONG kCode = 202;

  TokenDiagnostic(LONG start, LONG line, LONG column, const CString& message)
      : TokenItem(start), column(column), line(line), message(message) {}
  int Kind() const override { return kDiagnosticItem; }

  LONG code = kCode;
  LONG column;
  LONG line;
  CString message;
  CString detail;
};

class TokenEvent : public TokenItem {
 public:
  TokenEvent() = default;
  TokenEvent(LONG start, const CString& name) : TokenItem(start), name(name) {}
  // A copy with the same name, link and pairs (new pair objects) at the
  // source's offset or at `newStart`.
  TokenEvent(const TokenEvent& other);
  TokenEvent(const TokenEvent& other, LONG newStart);
  ~TokenEvent() override;
  ZEMRA_POOLED(TokenEvent)

  int Kind() const override { return kEventItem; }

  void AddSubItem(AttributePair* pair) { subItems.append(pair); }
  void AddPair(const CString& n, const CString& v) { AddSubItem(new AttributePair(n, v)); }
  int SubItemCount() const { return subItems.count(); }
  // The pair at a 0-based index, or null.
  AttributePair* SubItemAt(int index) const;
  // The value of the first pair of that name, or null.
  const CString* FindPair(const char* pairName) const;
  bool IsEnd() const { return name.GetLength() > 0 && name[0] == '~'; }

  // Reads "NAME { key = value, ... }" from a definition file. False when no
  // name or no "{" came first (a separator in the name's place is left).
  bool ReadDefinition(DefLexer& lexer);

  List subItems;  // AttributePair, owned
  CString name;
  const AnchorRecord* linkItem = nullptr;  // not owned
};

// An element the tokenizer has seen start and not yet end.
struct TagRow;
class OpenElement : public ListElement {
 public:
  explicit OpenElement(const TagRow* row) : row(row) {}
  ~OpenElement() override;

  const TagRow* row;
  List attributes;  // AttributePair, owned
};
