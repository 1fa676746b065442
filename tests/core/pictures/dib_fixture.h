// Small packed DIBs in global memory for the picture tests: built from rows
// of pixels, read back pixel by pixel, freed with the test.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "win/kernel.h"
#include "win/types.h"
#include "win/user.h"

namespace pictures_testing {

struct Rgb {
  BYTE r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline DWORD RowBytes(int width, int bits) {
  return static_cast<DWORD>((width * bits + 31) / 32 * 4);
}

// A DIB whose header the test may spoil before use.
class TestDib {
 public:
  // `pixels` in memory order (row 0 first), `width` per row: three bytes
  // (b, g, r) for 24 bits, one index for 8 bits.
  TestDib(int bits, int width, int height, const std::vector<BYTE>& pixels,
          const std::vector<RGBQUAD>& colors = {}, DWORD extraBytes = 0) {
    const DWORD row = RowBytes(width, bits);
    const DWORD size = 40 + 4 * static_cast<DWORD>(colors.size()) + row * height + extraBytes;
    handle_ = GlobalAlloc(GHND, size);
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle_));
    h->biSize = 40;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = static_cast<WORD>(bits);
    h->biSizeImage = row * height;
    h->biClrUsed = static_cast<DWORD>(colors.size());
    BYTE* base = reinterpret_cast<BYTE*>(h);
    if (!colors.empty()) std::memcpy(base + 40, colors.data(), colors.size() * 4);
    BYTE* bitsStart = base + 40 + colors.size() * 4;
    const int bytes = bits / 8;
    for (int y = 0; y < height; ++y)
      for (int i = 0; i < width * bytes; ++i)
        bitsStart[y * row + i] = pixels[static_cast<size_t>(y * width * bytes + i)];
    GlobalUnlock(handle_);
  }
  ~TestDib() {
    if (handle_) GlobalFree(handle_);
  }
  TestDib(const TestDib&) = delete;
  TestDib& operator=(const TestDib&) = delete;

  HGLOBAL get() const { return handle_; }
  // Changes the header through a callback, for the refusal tests.
  template <typename F>
  void Spoil(F change) {
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle_));
    change(*h);
    GlobalUnlock(handle_);
  }

 private:
  HGLOBAL handle_ = nullptr;
};

// Frees a result handle at the end of the test.
class Owned {
 public:
  explicit Owned(HGLOBAL h) : h_(h) {}
  ~Owned() {
    if (h_) GlobalFree(h_);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  HGLOBAL get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

  BITMAPINFOHEADER Header() const {
    BITMAPINFOHEADER h;
    std::memcpy(&h, GlobalLock(h_), sizeof h);
    GlobalUnlock(h_);
    return h;
  }
  std::vector<RGBQUAD> Colors() const {
    BITMAPINFOHEADER h = Header();
    std::vector<RGBQUAD> colors(h.biClrUsed);
    const BYTE* base = static_cast<const BYTE*>(GlobalLock(h_));
    std::memcpy(colors.data(), base + 40, colors.size() * 4);
    GlobalUnlock(h_);
    return colors;
  }
  // The bytes of pixel (x, y) in memory order: 3 for 24 bits, 1 for 8 bits.
  std::vector<BYTE> Pixel(int x, int y) const {
    BITMAPINFOHEADER h = Header();
    const int bytes = h.biBitCount / 8;
    const BYTE* base = static_cast<const BYTE*>(GlobalLock(h_));
    const BYTE* p = base + 40 + h.biClrUsed * 4 + y * RowBytes(h.biWidth, h.biBitCount) + x * bytes;
    std::vector<BYTE> out(p, p + bytes);
    GlobalUnlock(h_);
    return out;
  }

 private:
  HGLOBAL h_;
};

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { win::ResetUserState(); }
  void TearDown() override { win::ResetUserState(); }
};

}  // namespace pictures_testing
