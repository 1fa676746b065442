#include "core/screen_geometry.h"

#include <climits>
#include <cstdint>

#include "win/user.h"

RectSink::~RectSink() = default;

namespace {

struct ScreenState {
  bool set = false;
  RECT rect{};
};
ScreenState& screen() {
  static ScreenState s;
  return s;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

void skipSpace(const char*& p) {
  while (isSpace(*p)) ++p;
}

int clampToInt(std::int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

int scale(int v, int d, LONG extent) {
  if (d < 1 || v == 0) return v;
  return clampToInt(static_cast<std::int64_t>(v) * extent / d);
}

int readCoordFrom(const char* text, const char*& p, bool horizontal) {
  if (!text) return -1;
  return ReadCoord(p, horizontal);
}

}  // namespace

RECT GetScreenRect() {
  if (screen().set) return screen().rect;
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void SetScreenRect(const RECT& rect) { screen() = ScreenState{true, rect}; }

void ResetScreenRect() { screen() = ScreenState{}; }

int ScaleToScreenWidth(int v, int d) {
  RECT r = GetScreenRect();
  return scale(v, d, r.right - r.left);
}

int ScaleToScreenHeight(int v, int d) {
  RECT r = GetScreenRect();
  return scale(v, d, r.bottom - r.top);
}

int ReadNumber(const char*& cursor) {
  skipSpace(cursor);
  if (*cursor < '0' || *cursor > '9') return -1;
  std::int64_t n = 0;
  for (; *cursor >= '0' && *cursor <= '9'; ++cursor) {
    if (n <= INT_MAX) n = n * 10 + (*cursor - '0');
  }
  return clampToInt(n);
}

int ReadCoord(const char*& cursor, bool horizontal) {
  int v = ReadNumber(cursor);
  if (v < 0) return -1;
  const char* p = cursor;
  skipSpace(p);
  if (*p != '/') return v;
  cursor = p + 1;
  int d = ReadNumber(cursor);
  return horizontal ? ScaleToScreenWidth(v, d) : ScaleToScreenHeight(v, d);
}

int ReadValue(const char* text) {
  const char* p = text;
  return readCoordFrom(text, p, false);
}

POINT ReadPoint(const char* text) {
  const char* p = text;
  POINT pt;
  pt.x = readCoordFrom(text, p, true);
  pt.y = readCoordFrom(text, p, false);
  return pt;
}

namespace {

// x, y, w, h from the cursor; false when one is missing.
bool readRect(const char*& p, RECT& r) {
  int x = ReadCoord(p, true);
  int y = ReadCoord(p, false);
  int w = ReadCoord(p, true);
  int h = ReadCoord(p, false);
  r = RECT{x, y, clampToInt(std::int64_t{x} + w), clampToInt(std::int64_t{y} + h)};
  return x != -1 && y != -1 && w != -1 && h != -1;
}

}  // namespace

RECT ReadRect(const char* text) {
  RECT r{-1, -1, -2, -2};
  if (!text) return r;
  const char* p = text;
  readRect(p, r);
  return r;
}

bool ReadArea(const char* text, RectSink& area) {
  if (!text) return false;
  const char* p = text;
  skipSpace(p);
  if (!*p) return false;
  while (*p) {
    RECT r;
    if (!readRect(p, r)) return false;
    area.AddRect(r.left, r.top, r.right, r.bottom);
    skipSpace(p);
  }
  return true;
}
