#include "text/def_lexer.h"

#include <cstring>

#include "text/string_translator.h"

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool DefLexer::IsDelimiter(char c) const {
  return IsWhite(c) || c == '"' || (c != '\0' && std::strchr(separators_, c) != nullptr);
}

bool ReadDefinitionLine(std::istream& in, std::string& out) {
  out.clear();
  std::streambuf* buf = in.rdbuf();
  if (!buf || !in.good()) return false;
  bool sawLineFeed = false;
  while (static_cast<int>(out.size()) < DefLexer::kMaxLine) {
    const int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      break;
    }
    if (c == '\n') {
      sawLineFeed = true;
      break;
    }
    out.push_back(static_cast<char>(c));
  }
  if (!sawLineFeed && out.empty()) {
    in.setstate(std::ios::failbit);
    return false;
  }
  if (!in.eof()) out.push_back('\n');
  return true;
}

DefLexer::~DefLexer() = default;

bool DefLexer::ReadLine() {
  if (translator_) {
    CString translated;
    if (translator_->ReadLine(in_, translated, nullptr, nullptr, StringTranslator::kBoth, false) < 0)
      return false;
    line_.assign(translated.str(), 0, kCapacity);
  } else if (!ReadDefinitionLine(in_, line_)) {
    return false;
  }
  pos_ = 0;
  ++lineCount_;
  StripComments();
  return true;
}

// A comment runs from "#" up to and including the line feed; one without a
// line feed in this line goes on into the next line read.
void DefLexer::StripComments() {
  size_t start = pos_;
  for (;;) {
    if (!inComment_) {
      start = line_.find('#', start);
      if (start == std::string::npos) return;
      inComment_ = true;
    }
    const size_t end = line_.find('\n', start);
    if (end == std::string::npos) {
      line_.resize(start);
      return;
    }
    line_.erase(start, end - start + 1);
    inComment_ = false;
  }
}

bool DefLexer::NextItem(CString& out) {
  for (;;) {
    while (RemainderEmpty())
      if (!ReadLine()) return false;
    while (pos_ < line_.size() && IsWhite(line_[pos_])) ++pos_;
    if (!RemainderEmpty()) break;
  }
  const size_t begin = pos_;
  while (pos_ < line_.size() && !IsDelimiter(line_[pos_])) ++pos_;
  if (pos_ > begin) {
    out = CString(std::string_view(line_).substr(begin, pos_ - begin));
    lastKind_ = kWord;
    return true;
  }
  const char c = line_[pos_++];
  if (c != '"') {
    out = CString(c);
    lastKind_ = kSeparator;
    return true;
  }
  std::string text;
  for (;;) {
    const size_t close = line_.find('"', pos_);
    if (close != std::string::npos) {
      text.append(line_, pos_, close - pos_);
      pos_ = close + 1;
      break;
    }
    text.append(line_, pos_, std::string::npos);
    pos_ = line_.size();
    if (!ReadLine()) return false;
  }
  out = CString(std::move(text));
  lastKind_ = kQuoted;
  return true;
}

char DefLexer::NextSeparator(const char* set) {
  if (!set) set = separators_;
  for (;;) {
    while (RemainderEmpty())
      if (!ReadLine()) return 0;
    const size_t at = line_.find_first_of(set, pos_);
    if (at != std::string::npos) {
      pos_ = at + 1;
      return line_[at];
    }
    pos_ = line_.size();
  }
}

bool DefLexer::PushBack(const CString& text) {
  const size_t rest = line_.size() - pos_;
  if (static_cast<size_t>(text.GetLength()) + rest > static_cast<size_t>(kCapacity)) return false;
  line_ = text.str() + line_.substr(pos_);
  pos_ = 0;
  return true;
}
