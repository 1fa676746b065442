// Helpers of the GDI tests: a fresh GDI state per test, memory canvases,
// and whole-picture comparisons that save PNGs of a failing picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include <filesystem>
#include <sstream>

#include "gdi/color.h"
#include "gdi/dc.h"
#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace gdi_test {

// A memory DC with a bitmap compatible with the display, filled with `fill`.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  win::gdi::Surface& surface() const;
  COLORREF At(int x, int y) const;  // the pixel as a COLORREF

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_;
  int height_;
};

// Compares every pixel with `expected` (a COLORREF per position). On a
// difference: fails with the first differences and saves the actual and
// expected pictures as PNGs under the temporary directory (named after the
// running test and `what`).
void ExpectPicture(const win::gdi::Surface& actual,
                   const std::function<COLORREF(int x, int y)>& expected, const std::string& what);

// Saves a surface as <temp>/zemra-gdi-failures/<test>-<what>.png; returns the path.
std::string SavePicture(const win::gdi::Surface& s, const std::string& what);

// Resets GDI (24-bit display) before each test.
class GdiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

inline Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  old_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, width, height};
  HBRUSH b = CreateSolidBrush(fill);
  FillRect(dc_, &all, b);
  DeleteObject(b);
  surface().TakeDamage();
}

inline Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

inline win::gdi::Surface& Canvas::surface() const {
  return *win::gdi::LookupBitmap(bitmap_)->surface;
}

inline COLORREF Canvas::At(int x, int y) const { return win::gdi::PixelToRgb(surface().At(x, y)); }

inline std::string SavePicture(const win::gdi::Surface& s, const std::string& what) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / "zemra-gdi-failures";
  std::error_code ec;
  fs::create_directories(dir, ec);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "picture";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  std::string path = (dir / (name + "-" + what + ".png")).string();
  win::gdi::WritePng(s, path);
  return path;
}

inline void ExpectPicture(const win::gdi::Surface& actual,
                          const std::function<COLORREF(int x, int y)>& expected,
                          const std::string& what) {
  int bad = 0;
  std::ostringstream msg;
  auto want = win::gdi::Surface::Create(actual.width(), actual.height());
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      COLORREF e = expected(x, y);
      want->Row(y)[x] = win::gdi::RgbToPixel(e);
      COLORREF a = win::gdi::PixelToRgb(actual.At(x, y));
      if (a != e && ++bad <= 5) {
        msg << " (" << x << "," << y << "): got 0x" << std::hex << a << " want 0x" << e << std::dec;
      }
    }
  }
  if (bad) {
    std::string a = SavePicture(actual, what + "-actual");
    SavePicture(*want, what + "-expected");
    ADD_FAILURE() << what << ": " << bad << " pixels differ;" << msg.str() << "; saved " << a;
  }
}

inline void GdiTest::SetUp() {
  win::ResetGdiState();
  win::SetDisplayBitsPerPixel(24);
}

inline void GdiTest::TearDown() { win::ResetGdiState(); }

}  // namespace gdi_test
