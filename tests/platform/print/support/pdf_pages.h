// Reading printed PDF files back with poppler-utils, page by page, as pixel
// arrays at the printer's resolution.
//
// pdftocairo samples a page image drawn at 1:1 exactly. pdftoppm (Splash)
// does not: it filters every image enlarged less than four times, 1:1
// included, which moves edge pixels by a few levels; at four times the
// resolution it repeats each image pixel in a 4 x 4 block, so the block
// centres give the page back exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace print_test {

struct PagePicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top-down
  std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

enum class Reader {
  Cairo,         // pdftocairo at `dpi`
  SplashTimes4,  // pdftoppm at 4 x `dpi`, one pixel of each 4 x 4 block
};

// Every page of `pdf` at `dpi`, in page order. Empty with `error` set when
// the tool is missing, fails or writes nothing.
std::vector<PagePicture> RenderPdf(const std::string& pdf, int dpi, Reader reader,
                                   std::string* error);

// A PPM (P6, maxval 255) file; false when it is not one.
bool ReadPpm(const std::string& path, PagePicture* out);
// A PNG file as RGB; false when it cannot be read.
bool ReadPng(const std::string& path, PagePicture* out);

}  // namespace print_test
