#include "layout/support/test_atoms.h"

#include <cstdio>
#include <cstring>

#include "oldio/streambuf.h"

int BoxAtom::Format(TextOutput*, const LayoutRect& rect, Position*& continuation, const Position&, int) {
  ++formats;
  int result = forcedResult;
  if (result < 0) {
    if (rect.Height() < height_) result = kFormatNothing;
    else if (rect.Width() < width_) result = kFormatTooWide;
    else result = kFormatFits;
  }
  continuation = result == kFormatFits ? EndPosition() : StartPosition();
  return result;
}

std::unique_ptr<WordAtom> MakeWord(LONG start, const char* text, ResolvedStyle* style) {
  auto w = std::make_unique<WordAtom>(start);
  w->AddText(text, start, kPlainText, style);
  w->SetEnd(start + static_cast<LONG>(strlen(text)));
  return w;
}

namespace {

class StringBuf : public oldio::streambuf {
 public:
  StringBuf() { unbuffered(1); }
  std::string text;

 protected:
  int overflow(int c) override {
    if (c == EOF) return 0;
    text += static_cast<char>(c);
    return c & 0xFF;
  }
};

}  // namespace

std::string DumpOf(Atom& atom, int indent) {
  StringBuf buffer;
  oldio::ostream out(&buffer);
  atom.Dump(out, indent);
  out.flush();
  return buffer.text;
}
