#include "text/html_tokenizer.h"

#include <algorithm>

#include "framework/progress_reporter.h"
#include "text/entity_name.h"

namespace {

enum State : int {
  kText = 0,
  kTagName = 1,
  kEndTagName = 2,
  kBeforeAttribute = 3,
  kAttributeName = 4,
  kAfterAttributeName = 5,
  kBeforeValue = 6,
  kUnquotedValue = 7,
  kSingleQuoted = 8,
  kDoubleQuoted = 9,
  kEntity = 10,
  kRestOfEndTag = 11,
  kUnknownTag = 12,
  kComment = 13,
  kCommentDash = 14,
  kLiteralSpace = 15,
  kSpaceRun = 16,
  kLessDash = 17,
  kTextOnly = 18,
};

constexpr int kEof = std::char_traits<char>::eof();

bool IsAlnum(int c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsBlankOrBreak(int c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsWordByte(int c) { return c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '&' && c != '<'; }

std::string UpperAscii(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

}  // namespace

TokenSource::~TokenSource() = default;
NamedValueSource::~NamedValueSource() = default;

HtmlTokenizer::HtmlTokenizer(int mode, LONG owner)
    : mode_(mode), table_(mode == kKtf ? &KtfTags() : &HtmlTags()), owner_(owner) {
  openByRow_.resize(static_cast<size_t>(table_->count));
  buffer_.reserve(64);
}

HtmlTokenizer::~HtmlTokenizer() { queue_.clearAndDelete(); }

void HtmlTokenizer::SetStream(std::istream* stream) {
  offset_ = -1;
  stream_ = stream;
  total_ = 0;
  if (!stream_) return;
  const std::istream::pos_type here = stream_->tellg();
  if (here == std::istream::pos_type(-1)) return;
  stream_->seekg(0, std::ios::end);
  const std::istream::pos_type end = stream_->tellg();
  if (end != std::istream::pos_type(-1)) total_ = static_cast<LONG>(std::min<std::streamoff>(end, 0x7fffffff));
  stream_->seekg(here);
}

void HtmlTokenizer::ClearOpenElements() {
  for (auto& row : openByRow_) {
    row.elements.clear();
    row.head = 0;
  }
  std::fill(std::begin(openByClass_), std::end(openByClass_), 0);
  openCount_ = 0;
}

void HtmlTokenizer::Reset(std::istream* stream) {
  SetStream(stream);
  state_ = kText;
  column_ = 0;
  line_ = 1;
  wordOpen_ = closeWordPending_ = false;
  firstLineFeedSeen_ = paragraphEmitted_ = false;
  skipLineEnd_ = false;
  tokenOffset_ = -1;
  buffer_.clear();
  unknownAttributes_.clear();
  held_.reset();
  ClearOpenElements();
  contentClass_ = markup::kNormal;
}

void HtmlTokenizer::QueueItem(std::unique_ptr<TokenItem> item) {
  if (item) queue_.append(item.release());
}

void HtmlTokenizer::PushBack(std::unique_ptr<TokenItem> item) {
  if (item) queue_.prepend(item.release());
}

void HtmlTokenizer::Requeue(std::unique_ptr<TokenItem> item) { PushBack(std::move(item)); }

std::unique_ptr<TokenItem> HtmlTokenizer::NextToken() {
  if (ListElement* e = queue_.popFront()) return std::unique_ptr<TokenItem>(static_cast<TokenItem*>(e));
  if (!stream_) return nullptr;
  itemComplete_ = false;
  while (!itemComplete_ && stream_->good()) {
    if (offset_ < 0) {
      const std::istream::pos_type p = stream_->tellg();
      offset_ = p == std::istream::pos_type(-1) ? 0 : static_cast<LONG>(p);
    }
    tokenOffset_ = offset_;
    if (buffer_.empty() && (state_ == kText || state_ == kLiteralSpace || state_ == kSpaceRun))
      wordStart_ = offset_;
    const int c = GetChar();
    if (c == kEof) {
      stream_->setstate(std::ios::eofbit | std::ios::failbit);
      FlushWord(true);
      // A text-only element cut off by the end of the input never comes out.
      held_.reset();
      break;
    }
    if (c == '\n') {
      column_ = 0;
      ++line_;
    } else {
      ++column_;
    }
    Step(c);
    if (state_ == kText && mode_ != kPlain && !itemComplete_ && !skipLineEnd_ && !buffer_.empty()) TakeWordBytes();
  }
  ListElement* e = queue_.popFront();
  return std::unique_ptr<TokenItem>(static_cast<TokenItem*>(e));
}

int HtmlTokenizer::GetChar() {
  if (offset_ >= 0) {
    ++offset_;
    ReportProgress();
  }
  return stream_->rdbuf() ? stream_->rdbuf()->sbumpc() : kEof;
}

void HtmlTokenizer::ReportProgress() {
  // An empty stream has no fraction to report.
  if (progress_ && total_ > 0) {
    const float f = static_cast<float>(offset_) / static_cast<float>(total_);
    if (f > progress_->fraction()) progress_->SetFractionValue(f);
  }
}

// Inside a word of markup text, every byte but a blank, a line end, "&"
// and "<" only lengthens the word: such runs are taken straight from the
// stream's buffer, not byte by byte through the states.
void HtmlTokenizer::TakeWordBytes() {
  std::streambuf* in = stream_->rdbuf();
  if (!in || offset_ < 0) return;
  LONG taken = 0;
  for (int c = in->sgetc(); c != kEof && IsWordByte(c); c = in->snextc()) {
    buffer_.push_back(static_cast<char>(c));
    ++taken;
  }
  if (taken == 0) return;
  offset_ += taken;
  column_ += taken;
  ReportProgress();
}

LONG HtmlTokenizer::PeekOffset() {
  std::unique_ptr<TokenItem> item = NextToken();
  if (!item) return kNoMoreItems;
  const LONG at = item->start;
  PushBack(std::move(item));
  return at;
}

void HtmlTokenizer::QueueEvent(LONG at, std::string_view name) {
  queue_.append(new TokenEvent(at, CString(name)));
}

void HtmlTokenizer::FlushWord(bool close) {
  if (buffer_.empty()) {
    if (wordOpen_ && (closeWordPending_ || close)) {
      QueueEvent(wordStart_, "~Word");
      wordOpen_ = closeWordPending_ = false;
    }
    return;
  }
  if (!wordOpen_) {
    QueueEvent(wordStart_, "Word");
    wordOpen_ = true;
  }
  queue_.append(new TextToken(wordStart_, CString(std::string_view(buffer_)), owner_));
  itemComplete_ = true;
  if (closeWordPending_ || close) {
    QueueEvent(tokenOffset_, "~Word");
    wordOpen_ = closeWordPending_ = false;
  }
  buffer_.clear();
  wordStart_ = tokenOffset_;
}

void HtmlTokenizer::Diagnose(const char* message) {
  queue_.append(new TokenDiagnostic(wordStart_, line_, column_, CString(message)));
}

void HtmlTokenizer::ResolveEntity() {
  const int code = DecodeEntityName(buffer_);
  if (code > 0) {
    buffer_.assign(1, static_cast<char>(code));
    FlushWord(false);
    return;
  }
  Diagnose("Unknown Entity");
  buffer_.insert(buffer_.begin(), '&');
}

void HtmlTokenizer::LookupTag() {
  const int index = table_->Find(UpperAscii(buffer_));
  tagIndex_ = index;
  if (index == markup::kUnknownTag) {
    tag_ = nullptr;
    return;
  }
  tag_ = &table_->rows[index];
  buffer_.clear();
  for (int i = 0; i < tag_->attributeCount; ++i) present_[i] = false;
  attribute_ = -1;
}

void HtmlTokenizer::LookupAttribute() {
  attribute_ = -1;
  if (tag_) {
    const std::string name = UpperAscii(buffer_);
    for (int i = 0; i < tag_->attributeCount; ++i) {
      if (name == tag_->attributes[i]) {
        attribute_ = i;
        present_[i] = true;
        values_[i].Empty();
        break;
      }
    }
  }
  if (attribute_ < 0) unknownAttributes_ += buffer_;
  buffer_.clear();
}

void HtmlTokenizer::StoreAttributeValue() {
  if (attribute_ >= 0) {
    values_[attribute_] = CString(std::string_view(buffer_));
  } else {
    unknownAttributes_ += buffer_;
    unknownAttributes_ += ' ';
  }
  buffer_.clear();
}

void HtmlTokenizer::FinishTag() {
  state_ = kText;
  buffer_.clear();
  unknownAttributes_.clear();
  itemComplete_ = true;
  wordOpen_ = closeWordPending_ = false;
}

void HtmlTokenizer::EmitStartTag() {
  if (!tag_) {
    Diagnose("Unknown Tag");
    FinishTag();
    return;
  }
  auto event = std::make_unique<TokenEvent>(wordStart_, CString(tag_->name));
  auto open = std::make_unique<OpenElement>(tag_);
  for (int i = 0; i < tag_->attributeCount; ++i) {
    if (!present_[i]) continue;
    event->AddPair(tag_->attributes[i], values_[i]);
    open->attributes.append(new AttributePair(tag_->attributes[i], values_[i]));
  }
  contentClass_ = tag_->contentClass;
  ++openByClass_[contentClass_];
  ++openCount_;
  openByRow_[static_cast<size_t>(tagIndex_)].elements.push_back(std::move(open));
  if (contentClass_ == markup::kTextOnly) {
    held_ = std::move(event);
    buffer_.clear();
    state_ = kTextOnly;
    return;
  }
  const LONG at = event->start;
  queue_.append(event.release());
  const bool literal = contentClass_ == markup::kLiteral;
  if (mode_ == kKtf) {
    const char* n = tag_->name;
    if (n[0] == 'H' && n[1] >= '0' && n[1] <= '6' && n[2] == '\0') {
      const char title[] = {'H', n[1], 'T', '\0'};
      QueueEvent(at, title);
    }
  }
  FinishTag();
  skipLineEnd_ = literal;
}

void HtmlTokenizer::EmitEndTag() {
  if (!tag_) {
    Diagnose("Unknown Tag");
  } else {
    std::string name = "~";
    name += tag_->name;
    OpenRow& open = openByRow_[static_cast<size_t>(tagIndex_)];
    if (open.head < open.elements.size()) {
      --openByClass_[open.elements[open.head]->row->contentClass];
      --openCount_;
      open.elements[open.head++].reset();
      if (open.head == open.elements.size()) {
        open.elements.clear();
        open.head = 0;
      }
    }
    queue_.append(new TokenEvent(wordStart_, CString(name)));
  }
  contentClass_ = openByClass_[markup::kLiteral] > 0 ? markup::kLiteral : markup::kNormal;
  FinishTag();
}

void HtmlTokenizer::Step(int c) {
  if (skipLineEnd_) {
    // A line feed (or CR LF) right after the start tag of preformatted
    // text does not make an empty first line.
    if (c == '\r') return;
    skipLineEnd_ = false;
    if (c == '\n') return;
  }
  for (;;) {
    switch (state_) {
      case kText:
        if (mode_ == kPlain) {
          if (IsBlankOrBreak(c)) {
            state_ = kLiteralSpace;
            continue;
          }
          if (c != '\r') Append(static_cast<char>(c));
          return;
        }
        if (IsBlankOrBreak(c)) {
          if (LiteralOpen()) {
            state_ = kLiteralSpace;
            continue;
          }
          FlushWord(true);
          QueueEvent(tokenOffset_, "WordSpace");
          firstLineFeedSeen_ = c == '\n';
          state_ = kSpaceRun;
          return;
        }
        if (c == '\r') return;
        if (c == '&') {
          if (contentClass_ == markup::kVerbatim) {
            Append('&');
          } else {
            FlushWord(false);
            state_ = kEntity;
          }
          return;
        }
        if (c == '<') {
          if (contentClass_ != markup::kVerbatim) FlushWord(true);
          state_ = kTagName;
          return;
        }
        Append(static_cast<char>(c));
        return;

      case kTagName:
        if (contentClass_ == markup::kVerbatim) {
          if (c == '/') {
            FlushWord(false);
            state_ = kEndTagName;
          } else {
            Append('<');
            Append(static_cast<char>(c));
            state_ = kText;
          }
          return;
        }
        if (IsAlnum(c)) {
          Append(static_cast<char>(c));
        } else if (c == '-') {
          state_ = kLessDash;
        } else if (c == '!') {
        } else if (c == '/') {
          state_ = kEndTagName;
        } else if (c == '>') {
          LookupTag();
          EmitStartTag();
        } else {
          LookupTag();
          if (tag_) {
            state_ = kBeforeAttribute;
          } else {
            Append(static_cast<char>(c));
            state_ = kUnknownTag;
          }
        }
        return;

      case kEndTagName:
        if (IsAlnum(c)) {
          Append(static_cast<char>(c));
        } else if (c == '>') {
          LookupTag();
          EmitEndTag();
        } else {
          LookupTag();
          if (tag_) {
            state_ = kRestOfEndTag;
          } else {
            Append(static_cast<char>(c));
            state_ = kUnknownTag;
          }
        }
        return;

      case kBeforeAttribute:
        if (IsSpace(c)) return;
        if (c == '>') {
          EmitStartTag();
        } else {
          Append(static_cast<char>(c));
          state_ = kAttributeName;
        }
        return;

      case kAttributeName:
        if (IsSpace(c)) {
          LookupAttribute();
          state_ = kAfterAttributeName;
        } else if (c == '=') {
          LookupAttribute();
          state_ = kBeforeValue;
        } else if (c == '>') {
          LookupAttribute();
          EmitStartTag();
        } else {
          Append(static_cast<char>(c));
        }
        return;

      case kAfterAttributeName:
        if (IsSpace(c)) return;
        if (c == '>') {
          EmitStartTag();
        } else if (c == '=') {
          state_ = kBeforeValue;
        } else {
          Append(static_cast<char>(c));
          state_ = kAttributeName;
        }
        return;

      case kBeforeValue: {
        if (IsSpace(c)) return;
        const bool unknown = attribute_ < 0;
        if (unknown) Append('=');
        if (c == '>') {
          EmitStartTag();
        } else if (c == '\'' || c == '"') {
          if (unknown) Append(static_cast<char>(c));
          state_ = c == '\'' ? kSingleQuoted : kDoubleQuoted;
        } else {
          Append(static_cast<char>(c));
          state_ = kUnquotedValue;
        }
        return;
      }

      case kUnquotedValue:
        if (IsSpace(c)) {
          StoreAttributeValue();
          state_ = kBeforeAttribute;
        } else if (c == '>') {
          StoreAttributeValue();
          EmitStartTag();
        } else {
          Append(static_cast<char>(c));
        }
        return;

      case kSingleQuoted:
      case kDoubleQuoted: {
        const char quote = state_ == kSingleQuoted ? '\'' : '"';
        if (c == quote) {
          if (attribute_ < 0) Append(quote);
          StoreAttributeValue();
          state_ = kBeforeAttribute;
        } else if (c == '>') {
          EmitStartTag();
        } else {
          Append(static_cast<char>(c));
        }
        return;
      }

      case kEntity:
        if (IsEntityNameChar(c)) {
          Append(static_cast<char>(c));
          return;
        }
        ResolveEntity();
        state_ = kText;
        if ((c == ';' || c == '\n' || c == '\r') && buffer_.empty()) return;
        continue;

      case kRestOfEndTag:
        if (c == '>') state_ = kText;
        return;

      case kUnknownTag:
        if (c == '>') {
          EmitStartTag();
          state_ = kText;
        } else {
          Append(static_cast<char>(c));
        }
        return;

      case kComment:
        if (c == '-') state_ = kCommentDash;
        return;

      case kCommentDash:
        if (c == '>') {
          buffer_.clear();
          state_ = kText;
        } else if (c != '-') {
          state_ = kComment;
        }
        return;

      case kLiteralSpace:
        if (c == '\t') {
          FlushWord(true);
          auto tab = std::make_unique<TokenEvent>(tokenOffset_, CString("TAB"));
          tab->AddPair("TO", "PRE_TAB");
          queue_.append(tab.release());
          return;
        }
        if (c == '\n') {
          FlushWord(true);
          QueueEvent(tokenOffset_, "BR");
          return;
        }
        if (c == '\r') return;
        if (IsSpace(c)) {
          Append(static_cast<char>(c));
          return;
        }
        FlushWord(true);
        if (mode_ == kPlain) {
          Append(static_cast<char>(c));
          state_ = kText;
        } else if (c == '<') {
          state_ = kTagName;
        } else if (c == '&' && contentClass_ != markup::kVerbatim) {
          state_ = kEntity;
        } else {
          Append(static_cast<char>(c));
          state_ = kText;
        }
        return;

      case kSpaceRun:
        if (c == '\n') {
          if (!paragraphEmitted_) {
            if (!firstLineFeedSeen_) {
              firstLineFeedSeen_ = true;
            } else {
              if (mode_ == kKtf) QueueEvent(tokenOffset_, "KTFParagraph");
              paragraphEmitted_ = true;
            }
          }
          return;
        }
        if (IsSpace(c)) return;
        firstLineFeedSeen_ = paragraphEmitted_ = false;
        if (c == '<') {
          if (wordOpen_) closeWordPending_ = true;
          FlushWord(false);
          state_ = kTagName;
        } else if (c == '&') {
          FlushWord(false);
          state_ = kEntity;
        } else if (c == '\0') {
        } else {
          FlushWord(false);
          Append(static_cast<char>(c));
          state_ = kText;
        }
        return;

      case kLessDash:
        if (c == '-') {
          state_ = kComment;
        } else {
          Append('-');
          Append(static_cast<char>(c));
          state_ = kTagName;
        }
        return;

      case kTextOnly:
        if (c == '<') {
          if (held_) {
            held_->AddPair("INFOTEXT", CString(std::string_view(buffer_)));
            queue_.append(held_.release());
          }
          buffer_.clear();
          unknownAttributes_.clear();
          state_ = kTagName;
        } else if (!IsSpace(c) || !buffer_.empty()) {
          Append(static_cast<char>(c));
        }
        return;

      default:
        state_ = kText;
        return;
    }
  }
}
