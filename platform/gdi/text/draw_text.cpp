#include "gdi/text/draw_text.h"

#include <algorithm>
#include <optional>

#include "gdi/text/glyph_painter.h"
#include "gdi/text/line_breaker.h"

namespace win::gdi::text {

namespace {

constexpr std::int64_t kCoordLimit = 1 << 27;  // as the DC's coordinate helpers

int Clamp(std::int64_t v) { return int(std::clamp(v, -kCoordLimit, kCoordLimit)); }

}  // namespace

int DrawTextLines(DcRecord& dc, fonts::RealFont& font, const char* text, int length, RECT* rect,
                  UINT format) {
  const TEXTMETRIC& tm = font.metrics();
  UINT flags = (format & DT_TABSTOP) ? (format & ~kTabStopMask) : format;
  const bool calcOnly = (flags & DT_CALCRECT) != 0;
  const bool singleLine = (flags & DT_SINGLELINE) != 0;
  const int lineHeight =
      int(tm.tmHeight) + ((flags & DT_EXTERNALLEADING) ? int(tm.tmExternalLeading) : 0);
  const std::int64_t boxWidth = std::int64_t(rect->right) - rect->left;
  const CodePage& page = CodePage::ForCharset(font.charset());
  const int charExtra = dc.state.charExtra;

  if (calcOnly) {
    LineBreaker lines(font, page, text, length, format, boxWidth, charExtra);
    TextLineSpan span;
    std::int64_t widest = 0;
    std::int64_t count = 0;
    while (lines.Next(span)) {
      widest = std::max(widest, span.width);
      ++count;
    }
    std::int64_t height = count * lineHeight;
    rect->right = Clamp(std::int64_t(rect->left) + widest);
    rect->bottom = Clamp(std::int64_t(rect->top) + height);
    return Clamp(height);
  }

  std::int64_t top = rect->top;
  if (singleLine && (flags & DT_VCENTER)) {
    top = rect->top + (std::int64_t(rect->bottom) - rect->top - lineHeight) / 2;
  } else if (singleLine && (flags & DT_BOTTOM)) {
    top = std::int64_t(rect->bottom) - lineHeight;
  }

  std::optional<RECT> clip;
  if (!(flags & DT_NOCLIP)) clip = LogicalRectToSurface(dc, *rect);
  const bool opaque = dc.state.bkMode == OPAQUE;
  const bool draw = DcSurface(dc) != nullptr && dc.kind != DcKind::Info;
  GlyphPainter painter(dc, font, dc.state.textColor, clip);

  LineBreaker lines(font, page, text, length, format, boxWidth, charExtra);
  TextLineSpan span;
  std::int64_t y = top;
  while (lines.Next(span)) {
    std::int64_t x = rect->left;
    if (flags & DT_CENTER) {
      x = rect->left + (boxWidth - span.width) / 2;
    } else if (flags & DT_RIGHT) {
      x = std::int64_t(rect->right) - span.width;
    }
    if (draw) {
      POINT origin = LogicalToSurface(dc, POINT{Clamp(x), Clamp(y)});
      const int baseline = origin.y + int(tm.tmAscent);
      const std::int64_t right = std::int64_t(origin.x) + span.width;
      if (opaque) {
        painter.Fill(RECT{origin.x, origin.y, Clamp(right), origin.y + int(tm.tmHeight)},
                     dc.state.bkColor);
      }
      CharReader reader(page, text, span.end, lines.prefixes(), span.start);
      TextChar c;
      std::int64_t pen = 0;
      while (reader.Next(c)) {
        std::int64_t adv = lines.AdvanceAt(c, pen);
        const bool tab = c.ch == U'\t' && (flags & DT_EXPANDTABS);
        const int penX = Clamp(origin.x + pen);
        if (!tab) painter.Glyph(c.ch, penX, baseline);
        if (c.prefixed) {
          painter.Line(penX, Clamp(origin.x + pen + adv), baseline, font.underlineLine());
        }
        pen += adv;
      }
      if (font.underline()) painter.Line(origin.x, Clamp(right), baseline, font.underlineLine());
      if (font.strikeOut()) painter.Line(origin.x, Clamp(right), baseline, font.strikeLine());
    }
    y += lineHeight;
  }
  // From the rectangle's top: the text's height, or with DT_VCENTER and
  // DT_BOTTOM where the text ends.
  return Clamp(y - rect->top);
}

}  // namespace win::gdi::text
