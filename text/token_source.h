// What a document reads its items from: the tokenizer, or the tag-definition
// table that wraps it and repairs the nesting on the way. Items returned or
// handed back are owned by whoever holds them.
#pragma once

#include <istream>
#include <memory>

#include "mfc/cstring.h"
#include "text/token_items.h"
#include "win/types.h"

class ProgressReporter;

// The offset PeekOffset gives when no item follows: the shared end of every
// document.
inline constexpr LONG kNoMoreItems = 0x7ffffff;

class TokenSource {
 public:
  TokenSource() = default;
  TokenSource(const TokenSource&) = delete;
  TokenSource& operator=(const TokenSource&) = delete;
  virtual ~TokenSource();

  // Binds a stream (borrowed) and starts reading it afresh.
  virtual void Reset(std::istream* stream) = 0;
  // The next item, or null at the end.
  virtual std::unique_ptr<TokenItem> NextToken() = 0;
  // Puts an item back in front of what comes next. A source that keeps
  // state about the items (the tag-definition table) undoes the item's
  // effect on it; Requeue only puts the item back.
  virtual void PushBack(std::unique_ptr<TokenItem> item) = 0;
  virtual void Requeue(std::unique_ptr<TokenItem> item) = 0;
  // The start offset of the next item (kNoMoreItems when there is none).
  virtual LONG PeekOffset() = 0;
  // The number of characters the text between two stream offsets shows; -1
  // without a stream, 0 for a reversed range.
  virtual int MeasureRange(LONG from, LONG to) = 0;
  // The link text of an anchor value found in the document.
  virtual CString ResolveAnchor(const CString& value) = 0;
  virtual void SetProgress(ProgressReporter* progress) = 0;
};

// Answers the tokenizer's question for the base that relative links are
// resolved against (the document's colour table keeps named values).
class NamedValueSource {
 public:
  static constexpr const char* kReferenceBase = "EXTERNALREFERENCEBASE";
  virtual ~NamedValueSource();
  // The value stored under the name; empty when unknown.
  virtual CString GetName(const CString& name) const = 0;
};
