// Splits DrawText's text into lines: at CR, LF and CR LF unless
// DT_SINGLELINE, and with DT_WORDBREAK also between words where the next word
// would pass the rectangle's width (the blanks at such a break belong to
// neither line). A word wider than the rectangle is not split; Japanese and
// Korean text may break between any two of its characters. Tabs advance to
// the next stop with DT_EXPANDTABS (every 8 average character widths, or the
// count in the high byte with DT_TABSTOP).
#pragma once

#include <cstdint>

#include "gdi/fonts/real_font.h"
#include "gdi/text/char_reader.h"

namespace win::gdi::text {

struct TextLineSpan {
  int start = 0;  // bytes [start, end) of the text are shown on the line
  int end = 0;
  std::int64_t width = 0;
};

// The DT_ flags that mean something else when DT_TABSTOP puts a tab count in
// the high byte.
inline constexpr UINT kTabStopMask =
    DT_CALCRECT | DT_EXTERNALLEADING | DT_INTERNAL | DT_NOCLIP | DT_NOPREFIX;

class LineBreaker {
 public:
  LineBreaker(fonts::RealFont& font, const CodePage& page, const char* text, int length,
              UINT format, std::int64_t maxWidth, int charExtra);

  // The next line; false when the text is used up.
  bool Next(TextLineSpan& out);

  // What a character adds to a line whose text so far is `x` wide.
  std::int64_t AdvanceAt(const TextChar& c, std::int64_t x);
  bool prefixes() const { return prefixes_; }

 private:
  fonts::RealFont& font_;
  const CodePage& page_;
  const char* text_;
  int length_;
  bool singleLine_;
  bool wordBreak_;
  bool expandTabs_;
  bool prefixes_;
  std::int64_t maxWidth_;
  int charExtra_;
  int tabWidth_;
  int pos_ = 0;
};

}  // namespace win::gdi::text
