#include "app/frame/frame_layout.h"

#include <cctype>
#include <cstdio>

namespace {

RECT gPageArea{0, 0, 0, 0};
COLORREF gBackground = RGB(0, 0, 0);

// A number: white space skipped; digits and the white space after them
// read. No digit: -1, nothing consumed. An optional comma follows.
int ReadNumber(const char*& p) {
  const char* q = p;
  while (std::isspace(static_cast<unsigned char>(*q))) ++q;
  if (!std::isdigit(static_cast<unsigned char>(*q))) return -1;
  long value = 0;
  while (std::isdigit(static_cast<unsigned char>(*q))) {
    if (value < 100000000) value = value * 10 + (*q - '0');
    ++q;
  }
  while (std::isspace(static_cast<unsigned char>(*q))) ++q;
  if (*q == ',') ++q;
  p = q;
  return static_cast<int>(value);
}

// One axis: position and extent within [low, high).
void FitAxis(int& pos, int& extent, int low, int high) {
  const int span = high - low;
  if (extent < 1 || extent > span) extent = span;
  if (pos < low || pos >= high)
    pos = (low - extent + high) / 2;
  else if (pos + extent >= high)
    extent = high - pos;
}

}  // namespace

RECT ParseWindowRect(const char* text, const RECT& bounds) {
  if (!text || !*text) return bounds;
  const char* p = text;
  int x = ReadNumber(p);
  int y = ReadNumber(p);
  int w = ReadNumber(p);
  int h = ReadNumber(p);
  FitAxis(x, w, bounds.left, bounds.right);
  FitAxis(y, h, bounds.top, bounds.bottom);
  return RECT{x, y, x + w, y + h};
}

COLORREF ParseWindowColor(const char* text) {
  unsigned value = 0;
  if (!text || std::sscanf(text, "0x%06x", &value) != 1) return RGB(0, 0, 0);
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

RECT FramePageArea() { return gPageArea; }
void SetFramePageArea(const RECT& area) { gPageArea = area; }
COLORREF FrameBackground() { return gBackground; }
void SetFrameBackground(COLORREF color) { gBackground = color; }
