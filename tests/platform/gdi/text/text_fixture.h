// Shared pieces of the text tests: a white 24-bit memory DC, fonts made from
// a short description, the bounding box of the ink, and golden pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "gdi/dc.h"
#include "gdi/surface.h"
#include "gdi/text/font_text_engine.h"
#include "support/golden.h"
#include "win/gdi.h"

namespace text_test {

inline constexpr COLORREF kWhite = RGB(255, 255, 255);

struct FontSpec {
  int height = -16;
  const char* face = "Arial";
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  BYTE charset = ANSI_CHARSET;
  BYTE pitchAndFamily = 0;
  int width = 0;
};

inline HFONT MakeFont(const FontSpec& s) {
  return CreateFont(s.height, s.width, 0, 0, s.weight, s.italic, s.underline, s.strikeOut,
                    s.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    s.pitchAndFamily, s.face);
}

inline std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// A memory DC on a white 24-bit bitmap, with a font of its own selected.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetGdiState();
    win::gdi::text::InstallFontTextEngine();
    Open(320, 120);
  }
  void TearDown() override { Close(); }

  void Open(int w, int h, int bitsPerPixel = 24) {
    Close();
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateBitmap(w, h, 1, UINT(bitsPerPixel), nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, w, h, WHITENESS);
    SetBkMode(dc_, TRANSPARENT);
  }
  void Close() {
    if (!dc_) return;
    HGDIOBJ stock = GetStockObject(SYSTEM_FONT);
    SelectObject(dc_, stock);
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
  // Selects a new font (the previous one made here is deleted).
  void Use(const FontSpec& s) {
    HFONT f = MakeFont(s);
    ASSERT_NE(f, nullptr);
    SelectObject(dc_, f);
    if (font_) DeleteObject(font_);
    font_ = f;
  }
  void Clear(COLORREF c = kWhite) {
    HBRUSH b = CreateSolidBrush(c);
    RECT all{0, 0, surface().width(), surface().height()};
    FillRect(dc_, &all, b);
    DeleteObject(b);
  }

  win::gdi::Surface& surface() {
    win::gdi::DcRecord* rec = win::gdi::LookupDc(dc_);
    return *win::gdi::DcSurface(*rec);
  }
  std::uint32_t Pixel(int x, int y) { return surface().At(x, y); }

  // The smallest rectangle holding every pixel that is not `background`
  // (0x00RRGGBB); all zero when there is none.
  RECT InkBox(std::uint32_t background = 0xFFFFFF) {
    return InkBoxIn(RECT{0, 0, 1 << 20, 1 << 20}, background);
  }
  RECT InkBoxIn(RECT area, std::uint32_t background = 0xFFFFFF) {
    win::gdi::Surface& s = surface();
    RECT box{0, 0, 0, 0};
    bool any = false;
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(s.height(), area.bottom); ++y) {
      for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(s.width(), area.right); ++x) {
        if (s.At(x, y) == background) continue;
        if (!any) box = RECT{x, y, x + 1, y + 1};
        any = true;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box;
  }
  int CountNot(std::uint32_t background, RECT area) {
    win::gdi::Surface& s = surface();
    int n = 0;
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(s.height(), area.bottom); ++y) {
      for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(s.width(), area.right); ++x) {
        if (s.At(x, y) != background) ++n;
      }
    }
    return n;
  }
  // How much ink: the sum over the area of how far each pixel is from white.
  long Darkness(RECT area) {
    win::gdi::Surface& s = surface();
    long sum = 0;
    for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(s.height(), area.bottom); ++y) {
      for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(s.width(), area.right); ++x) {
        sum += 255 - long((s.At(x, y) >> 8) & 0xFF);
      }
    }
    return sum;
  }
  TEXTMETRIC Metrics() {
    TEXTMETRIC tm{};
    EXPECT_TRUE(GetTextMetrics(dc_, &tm));
    return tm;
  }
  SIZE Extent(const char* text, int length = -1) {
    SIZE sz{};
    if (length < 0) length = int(std::strlen(text));
    EXPECT_TRUE(GetTextExtentPoint32(dc_, text, length, &sz));
    return sz;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HFONT font_ = nullptr;
};

// Compares a surface with tests/platform/gdi/text/golden/<name>.png.
inline void ExpectGolden(const win::gdi::Surface& s, const std::string& name) {
  testing_support::ExpectGolden(s, "tests/platform/gdi/text/golden/" + name + ".png");
}

}  // namespace text_test
