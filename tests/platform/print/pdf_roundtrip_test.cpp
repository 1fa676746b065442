// Pages printed to PDF and read back with pdftoppm at the printer's
// resolution are, pixel for pixel, the same drawing made on a memory bitmap.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "display/headless.h"
#include "gdi/dc.h"
#include "support/pdf_pages.h"
#include "support/print_fixture.h"
#include "win/gdi.h"
#include "win/print.h"
#include "win/user.h"

namespace print_test {
namespace {

// A drawing with lines, shapes, text and a stretched DIB that differs per
// page: what a view's OnPrint might draw.
void DrawSample(HDC dc, int width, int height, int page) {
  const int unit = width / 40;
  HPEN thick = CreatePen(PS_SOLID, unit / 2 + 1, RGB(200, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, thick);
  MoveToEx(dc, unit, unit, nullptr);
  LineTo(dc, width - unit, height - unit * page);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, width - unit, unit, nullptr);
  LineTo(dc, unit, height / 2);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 90, 0));
  HGDIOBJ oldBrush = SelectObject(dc, hatch);
  Rectangle(dc, unit * 2, unit * (3 + page), width / 2, height / 3);
  SelectObject(dc, GetStockObject(GRAY_BRUSH));
  Ellipse(dc, width / 2, height / 2, width - unit * 2, height - unit * 5);

  HFONT font = CreateFont(-unit * 2, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(0, 0, 160));
  SetBkMode(dc, TRANSPARENT);
  const std::string text = "Page " + std::to_string(page) + ": the quick brown fox";
  TextOut(dc, unit * 2, height / 2 + unit * page, text.c_str(), static_cast<int>(text.size()));

  // An 8 x 8 picture of 24 bits, stretched.
  struct {
    BITMAPINFOHEADER h;
    std::uint8_t bits[8 * 8 * 3];
  } dib{};
  dib.h.biSize = sizeof(BITMAPINFOHEADER);
  dib.h.biWidth = 8;
  dib.h.biHeight = 8;
  dib.h.biPlanes = 1;
  dib.h.biBitCount = 24;
  for (int i = 0; i < 64; ++i) {
    dib.bits[i * 3 + 0] = static_cast<std::uint8_t>(i * 4);
    dib.bits[i * 3 + 1] = static_cast<std::uint8_t>(255 - i * 3);
    dib.bits[i * 3 + 2] = static_cast<std::uint8_t>((i * 37 + page * 50) & 0xFF);
  }
  StretchDIBits(dc, width - unit * 12, unit * 2, unit * 9, unit * 7, 0, 0, 8, 8, dib.bits,
                reinterpret_cast<const BITMAPINFO*>(&dib.h), DIB_RGB_COLORS, SRCCOPY);

  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(font);
  DeleteObject(hatch);
  DeleteObject(thick);
}

// The same drawing on a memory bitmap compatible with the printer DC.
std::vector<std::uint32_t> DrawnInMemory(HDC printer, int width, int height, int page) {
  HDC mem = CreateCompatibleDC(printer);
  HBITMAP bitmap = CreateCompatibleBitmap(printer, width, height);
  HGDIOBJ old = SelectObject(mem, bitmap);
  PatBlt(mem, 0, 0, width, height, WHITENESS);
  DrawSample(mem, width, height, page);
  std::vector<std::uint32_t> pixels;
  win::gdi::DcRecord* rec = win::gdi::LookupDc(mem);
  if (const win::gdi::Surface* s = rec ? win::gdi::DcSurface(*rec) : nullptr) {
    pixels.assign(s->pixels(), s->pixels() + static_cast<std::size_t>(width) * height);
  }
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  return pixels;
}

void ExpectSamePixels(const PagePicture& printed, const std::vector<std::uint32_t>& drawn,
                      int width, int height, const std::string& what) {
  ASSERT_EQ(printed.width, width) << what;
  ASSERT_EQ(printed.height, height) << what;
  ASSERT_EQ(drawn.size(), printed.pixels.size()) << what;
  std::size_t differ = 0;
  std::size_t first = 0;
  std::size_t ink = 0;
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    if ((drawn[i] & 0xFFFFFF) != printed.pixels[i]) {
      if (differ++ == 0) first = i;
    }
    if ((drawn[i] & 0xFFFFFF) != 0xFFFFFF) ++ink;
  }
  EXPECT_GT(ink, drawn.size() / 100) << what << ": the drawing is missing";
  EXPECT_EQ(differ, 0u) << what << ": first at (" << first % width << ", " << first / width
                        << ") printed " << std::hex << printed.pixels[first] << " drawn "
                        << drawn[first];
}

using PdfRoundTrip = PrintTest;

TEST_F(PdfRoundTrip, PrintedPageEqualsTheSameDrawingOnABitmap) {
  struct Case {
    const char* paper;
    const char* orientation;
    int dpi;
    int width;
    int height;
  };
  const Case cases[] = {
      {"Letter", "Portrait", 300, 2550, 3300},
      {"A4", "Portrait", 300, 2480, 3508},
      {"A4", "Landscape", 150, 1754, 1240},
      {"Legal", "Portrait", 72, 612, 1008},
      {"A4", "Portrait", 96, 794, 1123},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.paper) + " " + c.orientation + " " + std::to_string(c.dpi);
    Settings(c.paper, c.orientation, c.dpi);
    HDC dc = PrinterDc();
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width) << what;
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height) << what;
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), c.dpi) << what;
    DOCINFO doc{sizeof(DOCINFO), "Sample", nullptr, nullptr, 0};
    ASSERT_GT(StartDoc(dc, &doc), 0) << what;
    ASSERT_GT(StartPage(dc), 0);
    DrawSample(dc, c.width, c.height, 1);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_TRUE(win::print::LastPrintJob().finished) << win::print::LastPrintJob().error;
    const std::vector<std::uint32_t> drawn = DrawnInMemory(dc, c.width, c.height, 1);
    DeleteDC(dc);

    std::string error;
    const std::vector<PagePicture> pages = RenderPdf(out_, c.dpi, Reader::Cairo, &error);
    ASSERT_EQ(pages.size(), 1u) << what << ": " << error;
    ExpectSamePixels(pages[0], drawn, c.width, c.height, what + " (pdftocairo)");
    if (c.dpi <= 96) {
      // Splash's pictures grow with the square of the resolution: only the
      // small pages are read at four times theirs.
      const std::vector<PagePicture> splash = RenderPdf(out_, c.dpi, Reader::SplashTimes4, &error);
      ASSERT_EQ(splash.size(), 1u) << what << ": " << error;
      ExpectSamePixels(splash[0], drawn, c.width, c.height, what + " (pdftoppm)");
    }
    EXPECT_EQ(FilesBesideSettings(dir_), 1) << what;  // the PDF, no temporary file
  }
}

// At the screen's resolution the printed page is the very picture the same
// drawing makes in a window on the screen.
TEST_F(PdfRoundTrip, PrintedPageEqualsTheSameDrawingInAWindowOnTheScreen) {
  Settings("Letter", "Portrait", 96);
  const int width = 816;
  const int height = 1056;
  win::SetScreenSize(1280, 1200);
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "PrintedPageWindow";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);  // white
  ASSERT_TRUE(RegisterClass(&wc));
  HWND wnd = CreateWindowEx(0, "PrintedPageWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                            nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(wnd);
  win::headless::DispatchPending();
  HDC screen = GetDC(wnd);
  DrawSample(screen, width, height, 2);
  ReleaseDC(wnd, screen);
  auto shown = win::headless::CaptureWindow(wnd);
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->width(), width);
  const std::vector<std::uint32_t> drawn(shown->pixels(),
                                         shown->pixels() + static_cast<std::size_t>(width) * height);
  DestroyWindow(wnd);

  HDC dc = PrinterDc();
  win::print::PrintLoop loop;
  loop.last = 1;
  loop.print = [&](HDC d, UINT) {
    DrawSample(d, width, height, 2);
    return true;
  };
  ASSERT_TRUE(win::print::PrintPages(dc, loop));
  DeleteDC(dc);
  std::string error;
  const std::vector<PagePicture> splash = RenderPdf(out_, 96, Reader::SplashTimes4, &error);
  ASSERT_EQ(splash.size(), 1u) << error;
  ExpectSamePixels(splash[0], drawn, width, height, "window (pdftoppm)");
}

}  // namespace
}  // namespace print_test
