// Device contexts: saved states, objects and handles, window DCs through a
// window system, coordinates, bounds, damage, printers and the text hook.
#include <gtest/gtest.h>

#include <map>

#include "gdi/printer.h"
#include "gdi/text_engine.h"
#include "gdi/window_dc.h"
#include "gdi_test_util.h"

using gdi_test::Canvas;
using gdi_test::ExpectPicture;
using win::gdi::Region;

namespace {

class GdiDc : public gdi_test::GdiTest {};

constexpr COLORREF W = RGB(255, 255, 255);
constexpr COLORREF R = RGB(255, 0, 0);

TEST_F(GdiDc, SaveAndRestoreStates) {
  Canvas cv(10, 10);
  HDC dc = cv.dc();
  SetTextColor(dc, RGB(1, 1, 1));
  int level1 = SaveDC(dc);
  EXPECT_EQ(level1, 1);
  SetTextColor(dc, RGB(2, 2, 2));
  HPEN pen = CreatePen(PS_SOLID, 1, R);
  SelectObject(dc, pen);
  IntersectClipRect(dc, 0, 0, 5, 5);
  EXPECT_EQ(SaveDC(dc), 2);
  SetTextColor(dc, RGB(3, 3, 3));
  SetViewportOrgEx(dc, 4, 4, nullptr);
  EXPECT_TRUE(RestoreDC(dc, -1));  // back to level 2's state
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  POINT org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org.x, 0);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 5);
  // The pen is held by the saved state of level 1 too? No: level 1 has the stock pen.
  EXPECT_FALSE(DeleteObject(pen));  // selected now
  EXPECT_TRUE(RestoreDC(dc, level1));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 10);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(RestoreDC(dc, 1));  // nothing saved any more
  EXPECT_FALSE(RestoreDC(dc, 0));
}

TEST_F(GdiDc, HandlesAndObjects) {
  HDC bad = reinterpret_cast<HDC>(std::uintptr_t(0xDEADBEEF));
  EXPECT_EQ(SetTextColor(bad, 0), CLR_INVALID);
  EXPECT_FALSE(SelectObject(bad, GetStockObject(BLACK_PEN)));
  EXPECT_FALSE(DeleteDC(bad));
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock: nothing happens
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), DWORD(OBJ_BRUSH));
  HBRUSH b = CreateSolidBrush(R);
  EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BRUSH));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_FALSE(DeleteObject(b));  // already gone
  EXPECT_EQ(GetObjectType(b), 0u);
  // A new object in the freed slot has a new handle: the old one stays dead.
  HBRUSH b2 = CreateSolidBrush(R);
  EXPECT_NE(b2, b);
  EXPECT_EQ(GetObjectType(b), 0u);
  EXPECT_FALSE(SelectObject(bad, b2));
  LOGBRUSH lb;
  EXPECT_EQ(GetObject(b2, 0, nullptr), int(sizeof lb));
  EXPECT_EQ(GetObject(b2, 4, &lb), 4);  // cut to the room given
  DeleteObject(b2);
  // A bitmap is in one DC at a time; a new memory DC's compatible bitmap is
  // monochrome (it holds the 1x1 monochrome bitmap).
  HDC a = CreateCompatibleDC(nullptr), c = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(a, 8, 8);
  BITMAP bm;
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HGDIOBJ old = SelectObject(a, mono);
  EXPECT_TRUE(old);
  EXPECT_FALSE(SelectObject(c, mono));
  EXPECT_FALSE(DeleteObject(mono));
  SelectObject(a, old);
  EXPECT_TRUE(SelectObject(c, mono));
  DeleteDC(c);  // a deleted DC lets go of its bitmap
  EXPECT_TRUE(DeleteObject(mono));
  EXPECT_EQ(GetObjectType(a), DWORD(OBJ_MEMDC));
  DeleteDC(a);
  // Fonts keep their LOGFONT.
  HFONT f = CreateFont(-16, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                       "A face name that is far longer than thirty-one characters");
  LOGFONT lf;
  ASSERT_EQ(GetObject(f, sizeof lf, &lf), int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(std::string(lf.lfFaceName).size(), 31u);
  DeleteObject(f);
}

TEST_F(GdiDc, BitmapBitsAndPatternBrushes) {
  const BYTE rows[] = {0xF0, 0x00, 0x0F, 0x00};  // 8 x 2, rows padded to 16 bits
  HBITMAP mono = CreateBitmap(8, 2, 1, 1, rows);
  BYTE back[4] = {};
  EXPECT_EQ(GetBitmapBits(mono, sizeof back, back), 4);
  EXPECT_EQ(back[0], 0xF0);
  EXPECT_EQ(back[2], 0x0F);
  // A monochrome pattern draws 0 bits in the text colour, 1 bits in the
  // background colour.
  HBRUSH pat = CreatePatternBrush(mono);
  DeleteObject(mono);  // the brush holds its own copy
  Canvas cv(8, 2);
  SetTextColor(cv.dc(), R);
  SetBkColor(cv.dc(), RGB(0, 0, 255));
  RECT all{0, 0, 8, 2};
  FillRect(cv.dc(), &all, pat);
  ExpectPicture(cv.surface(), [](int x, int y) {
    bool one = y == 0 ? x < 4 : x >= 4;
    return one ? RGB(0, 0, 255) : R;
  }, "pattern");
  DeleteObject(pat);
  // 24-bit bits: blue, green, red.
  const BYTE px[] = {1, 2, 3, 4, 5, 6, 0, 0};
  HBITMAP c24 = CreateBitmap(2, 1, 1, 24, px);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, c24);
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(6, 5, 4));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(c24);
}

// A window system with two windows on one surface.
class FakeWindows : public win::gdi::WindowSurfaceProvider {
 public:
  std::unique_ptr<win::gdi::Surface> surface =
      win::gdi::Surface::Create(40, 30, win::gdi::PixelFormat::Display, 0xFFFFFF);
  std::map<HWND, std::pair<POINT, Region>> windows;
  int released = 0;
  bool Describe(HWND wnd, bool, win::gdi::WindowDcInfo& out) override {
    if (!wnd) {
      out.surface = surface.get();
      out.visible = Region::FromRect(0, 0, 40, 30);
      return true;
    }
    auto it = windows.find(wnd);
    if (it == windows.end()) return false;
    out.surface = surface.get();
    out.origin = it->second.first;
    out.visible = it->second.second;
    return true;
  }
  void Released(HWND, HDC) override { ++released; }
};

TEST_F(GdiDc, WindowDcsDrawInsideTheirWindow) {
  FakeWindows fake;
  HWND w1 = reinterpret_cast<HWND>(1), w2 = reinterpret_cast<HWND>(2);
  // Window 1 at (5, 5) of 20 x 15, partly covered by window 2 at (15, 10).
  Region v1 = Region::FromRect(5, 5, 25, 20).Subtract(Region::FromRect(15, 10, 35, 25));
  fake.windows[w1] = {POINT{5, 5}, v1};
  fake.windows[w2] = {POINT{15, 10}, Region::FromRect(15, 10, 35, 25)};
  win::gdi::SetWindowSurfaceProvider(&fake);
  HDC dc = GetDC(w1);
  ASSERT_TRUE(dc);
  EXPECT_EQ(WindowFromDC(dc), w1);
  HBRUSH red = CreateSolidBrush(R);
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, red);
  ExpectPicture(*fake.surface, [&](int x, int y) { return v1.Contains(x, y) ? R : W; }, "window");
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 20);
  // Read back what the window shows.
  Canvas cv(2, 1);
  BitBlt(cv.dc(), 0, 0, 2, 1, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(cv.At(0, 0), R);
  // The window moves: the DC asks again.
  fake.windows[w1] = {POINT{0, 0}, Region::FromRect(0, 0, 3, 3)};
  win::gdi::WindowGeometryChanged();
  fake.surface->Fill(0xFFFFFF);
  FillRect(dc, &all, red);
  ExpectPicture(*fake.surface, [&](int x, int y) { return x < 3 && y < 3 ? R : W; }, "moved");
  EXPECT_EQ(ReleaseDC(w1, dc), 1);
  EXPECT_EQ(fake.released, 1);
  // A paint DC draws only in the update region.
  fake.surface->Fill(0xFFFFFF);
  fake.surface->TakeDamage();
  Region update = Region::FromRect(1, 1, 2, 2);
  HDC paint = win::gdi::CreateWindowDc(w2, true, &update);
  FillRect(paint, &all, red);
  ExpectPicture(*fake.surface, [&](int x, int y) { return x == 16 && y == 11 ? R : W; }, "paint");
  EXPECT_TRUE(win::gdi::ReleaseWindowDc(paint));
  // Unknown windows give no DC; the damage list says what changed.
  EXPECT_FALSE(GetDC(reinterpret_cast<HWND>(9)));
  auto damage = fake.surface->TakeDamage();
  ASSERT_FALSE(damage.empty());
  EXPECT_EQ(damage.back().left, 16);
  DeleteObject(red);
  win::gdi::SetWindowSurfaceProvider(nullptr);
}

TEST_F(GdiDc, OriginsBoundsAndClipCalls) {
  Canvas cv(20, 20);
  HDC dc = cv.dc();
  SetWindowOrgEx(dc, 10, 0, nullptr);
  SetViewportOrgEx(dc, 0, 5, nullptr);
  POINT p{12, 1};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 6);
  SetBoundsRect(dc, nullptr, DCB_ENABLE | DCB_RESET);
  SetPixel(dc, 12, 1, R);  // device (2, 6)
  EXPECT_EQ(cv.At(2, 6), R);
  RECT b;
  EXPECT_EQ(GetBoundsRect(dc, &b, DCB_RESET), UINT(DCB_SET));
  EXPECT_EQ(b.left, 12);
  EXPECT_EQ(b.top, 1);
  EXPECT_EQ(GetBoundsRect(dc, &b, 0), UINT(DCB_RESET));
  EXPECT_EQ(SetMapMode(dc, MM_LOENGLISH), 0);
  EXPECT_EQ(GetMapMode(dc), MM_TEXT);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  EXPECT_EQ(ExcludeClipRect(dc, 5, 5, 10, 10), COMPLEXREGION);
  HRGN r = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetClipRgn(dc, r), 1);
  EXPECT_FALSE(PtInRegion(r, 6, 6));
  EXPECT_FALSE(PtVisible(dc, 6, 6));
  EXPECT_TRUE(PtVisible(dc, 4, 6));
  RECT inside{6, 6, 8, 8};
  EXPECT_FALSE(RectVisible(dc, &inside));
  EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(dc, r), 0);
  HRGN two = CreateRectRgn(0, 0, 4, 4);
  EXPECT_EQ(ExtSelectClipRgn(dc, two, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR);
  DeleteObject(r);
  DeleteObject(two);
}

class CountingPrinter : public win::gdi::PrinterProvider {
 public:
  int pages = 0;
  bool ended = false;
  COLORREF corner = 0;
  bool Describe(const std::string& driver, const std::string&, win::gdi::PrinterInfo& out) override {
    if (driver == "none") return false;
    out.dpiX = out.dpiY = 600;
    out.pageWidth = 100;
    out.pageHeight = 80;
    return true;
  }
  void Page(const win::gdi::Surface& s) override {
    ++pages;
    corner = s.At(0, 0);
  }
  void EndDoc(bool) override { ended = true; }
};

TEST_F(GdiDc, PrinterPages) {
  HDC placeholder = CreateDC("WINSPOOL", "Some printer", nullptr, nullptr);
  ASSERT_TRUE(placeholder);
  EXPECT_EQ(GetDeviceCaps(placeholder, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(placeholder, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(placeholder, HORZRES), 2550);
  DeleteDC(placeholder);
  CountingPrinter printer;
  win::gdi::SetPrinterProvider(&printer);
  EXPECT_FALSE(CreateDC("none", nullptr, nullptr, nullptr));
  HDC dc = CreateDC("WINSPOOL", "Test", nullptr, nullptr);
  ASSERT_TRUE(dc);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 600);
  EXPECT_EQ(StartPage(dc), SP_ERROR);  // no document yet
  DOCINFO doc{sizeof(DOCINFO), "doc", nullptr, nullptr, 0};
  EXPECT_GT(StartDoc(dc, &doc), 0);
  EXPECT_EQ(StartPage(dc), 1);
  SetPixel(dc, 0, 0, R);
  EXPECT_EQ(EndPage(dc), 1);
  EXPECT_EQ(EndDoc(dc), 1);
  EXPECT_EQ(printer.pages, 1);
  EXPECT_EQ(printer.corner, 0xFF0000u);
  EXPECT_TRUE(printer.ended);
  DeleteDC(dc);
  win::gdi::SetPrinterProvider(nullptr);
}

class RecordingEngine : public win::gdi::TextEngine {
 public:
  std::string last;
  bool ExtTextOut(win::gdi::DcRecord&, int, int, UINT, const RECT*, const char* text, int length,
                  const INT*) override {
    last.assign(text, std::size_t(length));
    return true;
  }
  bool TextExtent(win::gdi::DcRecord&, const char*, int length, SIZE* out) override {
    *out = SIZE{length * 7, 12};
    return true;
  }
};

TEST_F(GdiDc, TextGoesThroughTheEngine) {
  Canvas cv(10, 10);
  SIZE sz{5, 5};
  // The default engine (the base class) measures nothing and draws nothing.
  win::gdi::TextEngine* installed = &win::gdi::ActiveTextEngine();
  win::gdi::TextEngine plain;
  win::gdi::SetTextEngine(&plain);
  EXPECT_TRUE(TextOut(cv.dc(), 0, 0, "abc", 3));
  EXPECT_TRUE(GetTextExtentPoint32(cv.dc(), "abc", 3, &sz));
  EXPECT_EQ(sz.cx, 0);
  RECT r{2, 3, 9, 9};
  DrawText(cv.dc(), "abc", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, 2);
  char face[40];
  SelectObject(cv.dc(), GetStockObject(ANSI_VAR_FONT));
  EXPECT_GT(GetTextFace(cv.dc(), sizeof face, face), 0);
  EXPECT_FALSE(TextOut(cv.dc(), 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOut(cv.dc(), 0, 0, "abc", -2));
  RecordingEngine engine;
  win::gdi::SetTextEngine(&engine);
  EXPECT_TRUE(TextOut(cv.dc(), 0, 0, "hello", 5));
  EXPECT_EQ(engine.last, "hello");
  EXPECT_TRUE(GetTextExtentPoint32(cv.dc(), "hello", 5, &sz));
  EXPECT_EQ(sz.cx, 35);
  win::gdi::SetTextEngine(installed);
}

TEST_F(GdiDc, SystemColours) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(99), 0u);
  HBRUSH b = GetSysColorBrush(COLOR_BTNSHADOW);
  LOGBRUSH lb;
  ASSERT_EQ(GetObject(b, sizeof lb, &lb), int(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(128, 128, 128));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BRUSH));  // still there
  EXPECT_FALSE(GetSysColorBrush(-1));
  // FillRect also takes a colour index + 1.
  Canvas cv(2, 2);
  RECT all{0, 0, 2, 2};
  FillRect(cv.dc(), &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(cv.At(1, 1), RGB(192, 192, 192));
}

// No object handle is one of the small numbers that stand for system-colour
// brushes: the first objects made after a fresh start fill with their own
// colour.
TEST_F(GdiDc, FirstObjectsAreNotTakenForSystemColours) {
  win::ResetGdiState();
  HBRUSH first = CreateSolidBrush(RGB(0, 0, 200));
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(first), std::uintptr_t(COLOR_INFOBK + 1));
  Canvas cv(2, 2);
  RECT all{0, 0, 2, 2};
  FillRect(cv.dc(), &all, first);
  EXPECT_EQ(cv.At(1, 1), RGB(0, 0, 200));
  DeleteObject(first);
}

}  // namespace
