// Splits the bytes of an HTML, KTF or plain-text document into token items:
// a word is "Word", its text items and "~Word"; runs of blanks between words
// are "WordSpace"; tags become events named by the tag ("~" and the name for
// an end tag) with the tag's known attributes as pairs; unknown tags and
// entities come as diagnostics. One character is handled at a time; the
// tokenizer keeps the elements that are open, since whitespace and markup
// are read as the enclosing element requires.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/markup_tables.h"
#include "text/token_source.h"

class ProgressReporter;

class HtmlTokenizer : public TokenSource {
 public:
  enum Mode : int { kHtml = 0, kKtf = 1, kPlain = 2 };

  explicit HtmlTokenizer(int mode, LONG owner = 0);
  ~HtmlTokenizer() override;

  void Reset(std::istream* stream) override;
  std::unique_ptr<TokenItem> NextToken() override;
  void PushBack(std::unique_ptr<TokenItem> item) override;
  void Requeue(std::unique_ptr<TokenItem> item) override;
  LONG PeekOffset() override;
  int MeasureRange(LONG from, LONG to) override;
  CString ResolveAnchor(const CString& value) override;
  void SetProgress(ProgressReporter* progress) override { progress_ = progress; }

  // Binds a stream without resetting the reader: the offset is taken anew
  // and the stream's length measured.
  void SetStream(std::istream* stream);
  // Where HTML anchors find the base that relative links are resolved
  // against (borrowed; may be null).
  void SetBaseProvider(const NamedValueSource* provider) { baseProvider_ = provider; }
  void QueueItem(std::unique_ptr<TokenItem> item);

  int mode() const { return mode_; }
  LONG line() const { return line_; }
  LONG column() const { return column_; }
  // Elements started and not yet ended (empty elements included: they stay
  // until an end tag of their name comes).
  int OpenElementCount() const { return openCount_; }

 private:
  int GetChar();
  void ReportProgress();
  void TakeWordBytes();
  void Step(int c);
  void Append(char c) { buffer_.push_back(c); }
  void FlushWord(bool close);
  void QueueEvent(LONG at, std::string_view name);
  void ResolveEntity();
  void LookupTag();
  void LookupAttribute();
  void StoreAttributeValue();
  void EmitStartTag();
  void EmitEndTag();
  void Diagnose(const char* message);
  void FinishTag();
  void ClearOpenElements();
  bool LiteralOpen() const { return openByClass_[markup::kLiteral] > 0 || openByClass_[markup::kVerbatim] > 0; }

  // The queue of items ready to be taken.
  List queue_;
  ProgressReporter* progress_ = nullptr;
  LONG total_ = 0;
  LONG offset_ = -1;
  std::istream* stream_ = nullptr;

  LONG tokenOffset_ = -1;
  LONG wordStart_ = 0;
  LONG line_ = 1;
  LONG column_ = 0;
  int state_ = 0;
  std::string buffer_;
  const TagRow* tag_ = nullptr;
  int tagIndex_ = markup::kUnknownTag;
  int attribute_ = -1;
  bool present_[markup::kMaxAttributes] = {};
  CString values_[markup::kMaxAttributes];
  std::string unknownAttributes_;
  bool itemComplete_ = false;
  bool wordOpen_ = false;
  bool closeWordPending_ = false;
  // The start tag of a text-only element, held until its text is complete.
  std::unique_ptr<TokenEvent> held_;
  int mode_;
  bool firstLineFeedSeen_ = false;
  // Set by the start tag of literal content: one line end right after it
  // belongs to the markup, not to the text.
  bool skipLineEnd_ = false;
  bool paragraphEmitted_ = false;
  const NamedValueSource* baseProvider_ = nullptr;
  const TagTable* table_;
  LONG owner_;
  int contentClass_ = markup::kNormal;

  // Open elements per tag row, oldest first from `head`: an end tag closes
  // the oldest of its name in constant time, however many empty elements
  // stay open.
  struct OpenRow {
    std::vector<std::unique_ptr<OpenElement>> elements;
    size_t head = 0;
  };
  std::vector<OpenRow> openByRow_;
  int openByClass_[5] = {};
  int openCount_ = 0;
};
