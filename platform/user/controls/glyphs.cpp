#include "glyphs.h"

#include <cstring>

namespace win::user {
namespace {

void Pixel(HDC dc, int x, int y, COLORREF c) { SetPixelV(dc, x, y, c); }

// Rows of a picture: each character a colour key, '.' left alone.
void Paint(HDC dc, int x, int y, const char* const* rows, int height,
           COLORREF (*colour)(char key, const void* ctx), const void* ctx) {
  for (int r = 0; r < height; ++r) {
    const char* row = rows[r];
    for (int c = 0; row[c]; ++c) {
      if (row[c] == '.') continue;
      Pixel(dc, x + c, y + r, colour(row[c], ctx));
    }
  }
}

struct BoxColours {
  COLORREF inside;
  COLORREF mark;
};

// s: 3D shadow, h: highlight, d: dark shadow, l: light, w: the inside.
COLORREF EdgeColour(char key, const void* ctx) {
  const auto* c = static_cast<const BoxColours*>(ctx);
  switch (key) {
    case 's': return GetSysColor(COLOR_3DSHADOW);
    case 'h': return GetSysColor(COLOR_3DHILIGHT);
    case 'd': return GetSysColor(COLOR_3DDKSHADOW);
    case 'l': return GetSysColor(COLOR_3DLIGHT);
    case 'w': return c->inside;
    case 'm': return c->mark;
    default: return 0;
  }
}

const char* const kBox[kCheckSize] = {
    "ssssssssssssh", "sddddddddddlh", "sdwwwwwwwwwlh", "sdwwwwwwwwwlh", "sdwwwwwwwwwlh",
    "sdwwwwwwwwwlh", "sdwwwwwwwwwlh", "sdwwwwwwwwwlh", "sdwwwwwwwwwlh", "sdwwwwwwwwwlh",
    "sdwwwwwwwwwlh", "slllllllllllh", "hhhhhhhhhhhhh",
};
// The check mark, 7 x 7, placed at (3, 3) inside the box.
const char* const kCheck[7] = {
    "......m", ".....mm", "m...mmm", "mm.mmm.", "mmmmm..", ".mmm...", "..m....",
};
const char* const kRadio[kRadioSize] = {
    "....ssss....", "..ssddddss..", ".sddwwwwdlh.", ".sdwwwwwwlh.", "sdwwwwwwwwlh",
    "sdwwwwwwwwlh", "sdwwwwwwwwlh", "sdwwwwwwwwlh", ".sdwwwwwwlh.", ".sllwwwwllh.",
    "..hhllllhh..", "....hhhh....",
};
const char* const kDot[4] = {".mm.", "mmmm", "mmmm", ".mm."};

}  // namespace

void DrawCheckGlyph(HDC dc, int x, int y, CheckKind kind, UINT state, bool pushed, bool disabled) {
  BoxColours c{GetSysColor(pushed || disabled ? COLOR_3DFACE : COLOR_WINDOW),
               GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT)};
  if (kind == CheckKind::Radio) {
    Paint(dc, x, y, kRadio, kRadioSize, EdgeColour, &c);
    if (state & BST_CHECKED) Paint(dc, x + 4, y + 4, kDot, 4, EdgeColour, &c);
    return;
  }
  const bool indeterminate = kind == CheckKind::ThreeState && (state & BST_INDETERMINATE);
  Paint(dc, x, y, kBox, kCheckSize, EdgeColour, &c);
  if (indeterminate) {
    // A checker of face and highlight inside, with a grey mark.
    for (int r = 2; r < 11; ++r)
      for (int col = 2; col < 11; ++col)
        Pixel(dc, x + col, y + r,
              ((r + col) & 1) ? GetSysColor(COLOR_3DHILIGHT) : GetSysColor(COLOR_3DFACE));
    c.mark = GetSysColor(COLOR_3DSHADOW);
    Paint(dc, x + 3, y + 3, kCheck, 7, EdgeColour, &c);
  } else if (state & BST_CHECKED) {
    Paint(dc, x + 3, y + 3, kCheck, 7, EdgeColour, &c);
  }
}

void DrawDownArrow(HDC dc, const RECT& r, COLORREF color) {
  // Rows of 7, 5, 3 and 1 pixels.
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int cx = r.left + (w - 7) / 2, cy = r.top + (h - 4) / 2;
  for (int row = 0; row < 4; ++row)
    for (int col = row; col < 7 - row; ++col) Pixel(dc, cx + col, cy + row, color);
}

void DrawRaisedFace(HDC dc, const RECT& r, bool pushed) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  RECT face = r;
  if (pushed) {
    HBRUSH shadow = GetSysColorBrush(COLOR_3DSHADOW);
    FrameRect(dc, &face, shadow);
    InflateRect(&face, -1, -1);
  } else {
    RECT edge = r;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_ADJUST);
    face = edge;
  }
  FillRect(dc, &face, GetSysColorBrush(COLOR_3DFACE));
}

// ---- System icons ------------------------------------------------------------------

namespace {

// Keys: k black, w white, r red, y yellow, b blue, g grey, '.' transparent.
COLORREF IconColour(char key, const void*) {
  switch (key) {
    case 'k': return RGB(0, 0, 0);
    case 'w': return RGB(255, 255, 255);
    case 'r': return RGB(255, 0, 0);
    case 'y': return RGB(255, 255, 0);
    case 'b': return RGB(0, 0, 255);
    case 'g': return RGB(128, 128, 128);
    default: return RGB(0, 0, 0);
  }
}

// The stop sign: a red disc with a white cross.
const char* const kHand[32] = {
    "................................",
    "...........kkkkkkkkk............",
    ".........kkrrrrrrrrrkk..........",
    ".......kkrrrrrrrrrrrrrkk........",
    "......krrrrrrrrrrrrrrrrrk.......",
    ".....krrrrrrrrrrrrrrrrrrrk......",
    "....krrrrrrrrrrrrrrrrrrrrrk.....",
    "...krrrrrrrrrrrrrrrrrrrrrrrk....",
    "...krrrrrwwrrrrrrrrrwwrrrrrkg...",
    "..krrrrrwwwwrrrrrrrwwwwrrrrrkg..",
    "..krrrrrrwwwwrrrrrwwwwrrrrrrkg..",
    "..krrrrrrrwwwwrrrwwwwrrrrrrrkg..",
    ".krrrrrrrrrwwwwrwwwwrrrrrrrrrkg.",
    ".krrrrrrrrrrwwwwwwwrrrrrrrrrrkg.",
    ".krrrrrrrrrrrwwwwwrrrrrrrrrrrkg.",
    ".krrrrrrrrrrrwwwwwrrrrrrrrrrrkg.",
    ".krrrrrrrrrrwwwwwwwrrrrrrrrrrkg.",
    ".krrrrrrrrrwwwwrwwwwrrrrrrrrrkg.",
    "..krrrrrrrwwwwrrrwwwwrrrrrrrkgg.",
    "..krrrrrrwwwwrrrrrwwwwrrrrrrkg..",
    "..krrrrrwwwwrrrrrrrwwwwrrrrrkg..",
    "...krrrrrwwrrrrrrrrrwwrrrrrkgg..",
    "...krrrrrrrrrrrrrrrrrrrrrrrkg...",
    "....krrrrrrrrrrrrrrrrrrrrrkgg...",
    ".....krrrrrrrrrrrrrrrrrrrkgg....",
    "......krrrrrrrrrrrrrrrrrkgg.....",
    ".......kkrrrrrrrrrrrrrkkgg......",
    ".........kkrrrrrrrrrkkggg.......",
    "...........kkkkkkkkkggg.........",
    ".............ggggggggg..........",
    "................................",
    "................................",
};

// The speech bubble with a question mark.
const char* const kQuestion[32] = {
    "................................",
    "..........kkkkkkkkkkk...........",
    ".......kkkwwwwwwwwwwwkkk........",
    ".....kkwwwwwwwwwwwwwwwwwkk......",
    "....kwwwwwwwwbbbbbwwwwwwwwk.....",
    "...kwwwwwwwwbbbbbbbwwwwwwwwk....",
    "..kwwwwwwwwbbbwwwbbbwwwwwwwwk...",
    "..kwwwwwwwwbbbwwwbbbwwwwwwwwkg..",
    ".kwwwwwwwwwwwwwwwbbbwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwwwbbbwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwwbbbwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbwwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbwwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwwwwwwwwwwwwwwwwkg.",
    "..kwwwwwwwwwwwbbbwwwwwwwwwwwkgg.",
    "..kwwwwwwwwwwwbbbwwwwwwwwwwwkg..",
    "...kwwwwwwwwwwwwwwwwwwwwwwwkgg..",
    "....kwwwwwwwwwwwwwwwwwwwwwkgg...",
    ".....kkwwwwwwwwwwwwwwwwwkkgg....",
    ".......kkkwwwwwwwwwwwkkkgg......",
    ".........kkkwwwwwkkkkggg........",
    "...........kwwwwkgggg...........",
    "...........kwwwkgg..............",
    "..........kwwwkgg...............",
    ".........kwwkkgg................",
    "........kkkkgg..................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

// The warning triangle: yellow with a black exclamation mark.
const char* const kExclamation[32] = {
    "................................",
    "..............kkk...............",
    ".............kyyyk..............",
    ".............kyyykg.............",
    "............kyyyyykg............",
    "............kyyyyykg............",
    "...........kyyyyyyykg...........",
    "...........kyyyyyyykg...........",
    "..........kyyykkkyyykg..........",
    "..........kyykkkkkyykg..........",
    ".........kyyykkkkkyyykg.........",
    ".........kyyykkkkkyyykg.........",
    "........kyyyykkkkkyyyykg........",
    "........kyyyykkkkkyyyykg........",
    ".......kyyyyyykkkyyyyyykg.......",
    ".......kyyyyyykkkyyyyyykg.......",
    "......kyyyyyyykkkyyyyyyykg......",
    "......kyyyyyyykkkyyyyyyykg......",
    ".....kyyyyyyyyykyyyyyyyyykg.....",
    ".....kyyyyyyyyyyyyyyyyyyykg.....",
    "....kyyyyyyyyykkkyyyyyyyyykg....",
    "....kyyyyyyyykkkkkyyyyyyyykg....",
    "...kyyyyyyyyykkkkkyyyyyyyyykg...",
    "...kyyyyyyyyyykkkyyyyyyyyyykg...",
    "..kyyyyyyyyyyyyyyyyyyyyyyyyykg..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkgg.",
    "...ggggggggggggggggggggggggggg..",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

// The information bubble: white with a blue "i".
const char* const kAsterisk[32] = {
    "................................",
    "..........kkkkkkkkkkk...........",
    ".......kkkwwwwwwwwwwwkkk........",
    ".....kkwwwwwwwwwwwwwwwwwkk......",
    "....kwwwwwwwwwbbbwwwwwwwwwk.....",
    "...kwwwwwwwwwbbbbbwwwwwwwwwk....",
    "..kwwwwwwwwwwbbbbbwwwwwwwwwwk...",
    "..kwwwwwwwwwwwbbbwwwwwwwwwwwkg..",
    ".kwwwwwwwwwwwwwwwwwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwbbbbbbwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbbwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbbwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbbwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwwbbbbwwwwwwwwwwwkg.",
    "..kwwwwwwwwwwwbbbbwwwwwwwwwwkgg.",
    "..kwwwwwwwwwwwbbbbwwwwwwwwwwkg..",
    "...kwwwwwwwwwbbbbbbwwwwwwwwkgg..",
    "....kwwwwwwwwwwwwwwwwwwwwwkgg...",
    ".....kkwwwwwwwwwwwwwwwwwkkgg....",
    ".......kkkwwwwwwwwwwwkkkgg......",
    ".........kkkwwwwwkkkkggg........",
    "...........kwwwwkgggg...........",
    "...........kwwwkgg..............",
    "..........kwwwkgg...............",
    ".........kwwkkgg................",
    "........kkkkgg..................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

// The application icon: a window with a blue caption.
const char* const kApplication[32] = {
    "................................",
    "................................",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "..kbbbbbbbbbbbbbbbbbbbbbbbbbbk..",
    "..kbbbbbbbbbbbbbbbbbbbbbbbbbbk..",
    "..kbbbbbbbbbbbbbbbbbbbbbbbbbbk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

constexpr UINT_PTR kFirstIcon = 32512, kLastIcon = 32516;

const char* const* IconRows(HICON icon) {
  switch (reinterpret_cast<UINT_PTR>(icon)) {
    case 32512: return kApplication;
    case 32513: return kHand;
    case 32514: return kQuestion;
    case 32515: return kExclamation;
    case 32516: return kAsterisk;
    default: return nullptr;
  }
}

}  // namespace

bool IsSystemIcon(HICON icon) {
  const auto n = reinterpret_cast<UINT_PTR>(icon);
  return n >= kFirstIcon && n <= kLastIcon;
}

void PaintSystemIcon(HDC dc, int x, int y, HICON icon) {
  if (const char* const* rows = IconRows(icon)) Paint(dc, x, y, rows, kIconSize, IconColour, nullptr);
}

}  // namespace win::user

using namespace win::user;

HICON LoadIcon(HINSTANCE, LPCSTR name) {
  if (!name) return nullptr;
  UINT_PTR id = 0;
  if (IS_INTRESOURCE(name)) {
    id = reinterpret_cast<UINT_PTR>(name);
  } else if (name[0] == '#') {
    for (const char* p = name + 1; *p >= '0' && *p <= '9' && id < 100000; ++p)
      id = id * 10 + static_cast<UINT_PTR>(*p - '0');
  }
  HICON icon = reinterpret_cast<HICON>(id);
  return IsSystemIcon(icon) ? icon : nullptr;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  if (!dc || !IsSystemIcon(icon)) return FALSE;
  PaintSystemIcon(dc, x, y, icon);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) { return IsSystemIcon(icon) ? TRUE : FALSE; }

HBITMAP LoadBitmap(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name) || reinterpret_cast<UINT_PTR>(name) != OBM_CHECKBOXES) return nullptr;
  const int w = 4 * kCheckSize, h = 3 * kCheckSize;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HDC mem = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !mem) {
    if (bitmap) DeleteObject(bitmap);
    if (mem) DeleteDC(mem);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(mem, bitmap);
  RECT all{0, 0, w, h};
  FillRect(mem, &all, GetSysColorBrush(COLOR_3DFACE));
  const CheckKind rows[3] = {CheckKind::Box, CheckKind::Radio, CheckKind::ThreeState};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      UINT state = (c & 1) ? (r == 2 ? BST_INDETERMINATE : BST_CHECKED) : BST_UNCHECKED;
      DrawCheckGlyph(mem, c * kCheckSize, r * kCheckSize, rows[r], state, c >= 2, false);
    }
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  return bitmap;
}
