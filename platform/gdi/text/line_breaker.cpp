#include "gdi/text/line_breaker.h"

#include <algorithm>

namespace win::gdi::text {

namespace {

bool IsBlank(char32_t ch) { return ch == U' '; }
bool IsNewline(char32_t ch) { return ch == U'\r' || ch == U'\n'; }

// Text written without blanks between words: a line may break around any of
// these characters.
bool BreaksAnywhere(char32_t ch) {
  return (ch >= 0x2E80 && ch <= 0x9FFF) || (ch >= 0xAC00 && ch <= 0xD7AF) ||
         (ch >= 0xF900 && ch <= 0xFAFF) || (ch >= 0xFF00 && ch <= 0xFFEF);
}

}  // namespace

LineBreaker::LineBreaker(fonts::RealFont& font, const CodePage& page, const char* text, int length,
                         UINT format, std::int64_t maxWidth, int charExtra)
    : font_(font), page_(page), text_(text), length_(length), maxWidth_(maxWidth),
      charExtra_(charExtra) {
  bool tabStop = (format & DT_TABSTOP) != 0;
  UINT flags = tabStop ? (format & ~kTabStopMask) : format;
  singleLine_ = (flags & DT_SINGLELINE) != 0;
  wordBreak_ = (flags & DT_WORDBREAK) != 0 && !singleLine_;
  expandTabs_ = (flags & DT_EXPANDTABS) != 0;
  prefixes_ = (flags & DT_NOPREFIX) == 0;
  int perTab = tabStop ? int((format >> 8) & 0xFF) : 8;
  if (perTab <= 0) perTab = 8;
  tabWidth_ = perTab * std::max<int>(1, font_.metrics().tmAveCharWidth);
}

std::int64_t LineBreaker::AdvanceAt(const TextChar& c, std::int64_t x) {
  if (c.ch == U'\t' && expandTabs_) return (x / tabWidth_ + 1) * tabWidth_ - x;
  return std::int64_t(font_.Advance(c.ch)) + charExtra_;
}

bool LineBreaker::Next(TextLineSpan& out) {
  if (pos_ >= length_) return false;
  CharReader reader(page_, text_, length_, prefixes_, pos_);
  out = TextLineSpan{pos_, pos_, 0};
  std::int64_t x = 0;
  // Where the line may end: the text before `end` (`width` wide) is shown,
  // the next line starts at `resume`.
  struct Break {
    int end = -1;
    std::int64_t width = 0;
    int resume = -1;
  } brk;
  bool inBlanks = false;
  bool lastBreaksAnywhere = false;
  bool anyInk = false;  // something other than blanks on the line
  TextChar c;
  while (reader.Next(c)) {
    if (!singleLine_ && IsNewline(c.ch)) {
      out.end = c.offset;
      out.width = x;
      int next = reader.position();
      if (c.ch == U'\r' && next < length_ && text_[next] == '\n') ++next;
      pos_ = next;
      return true;
    }
    if (wordBreak_) {
      bool blank = IsBlank(c.ch);
      if (blank) {
        if (!inBlanks && anyInk) brk = Break{c.offset, x, -1};
        inBlanks = true;
      } else {
        bool afterBlanks = inBlanks;
        if (afterBlanks && brk.end >= 0) brk.resume = c.offset;
        inBlanks = false;
        bool anywhere = BreaksAnywhere(c.ch);
        if (anyInk && !afterBlanks && (anywhere || lastBreaksAnywhere)) {
          brk = Break{c.offset, x, c.offset};
        }
        lastBreaksAnywhere = anywhere;
        std::int64_t adv = AdvanceAt(c, x);
        if (anyInk && x + adv > maxWidth_ && brk.end > out.start && brk.resume >= 0) {
          out.end = brk.end;
          out.width = brk.width;
          pos_ = brk.resume;
          return true;
        }
        anyInk = true;
        x += adv;
        continue;
      }
    }
    x += AdvanceAt(c, x);
  }
  out.end = length_;
  out.width = x;
  // Blanks that ended a wrapped paragraph are not part of its width.
  if (wordBreak_ && inBlanks && brk.end >= 0 && brk.resume < 0) {
    out.end = brk.end;
    out.width = brk.width;
  }
  pos_ = length_;
  return true;
}

}  // namespace win::gdi::text
