// PNG files through libpng: the PNG module's whole work.
#include "gdi/png_module.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "win/gdi.h"

namespace win::gdi {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

bool WritePng(const Surface& surface, const std::string& path, std::string* error) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
  if (!f) {
    SetError(error, "cannot create " + path);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    SetError(error, "out of memory");
    return false;
  }
  std::vector<png_byte> row(std::size_t(surface.width()) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    SetError(error, "cannot write " + path);
    return false;
  }
  png_init_io(png, f.get());
  png_set_IHDR(png, info, png_uint_32(surface.width()), png_uint_32(surface.height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.height(); ++y) {
    const std::uint32_t* p = surface.Row(y);
    for (int x = 0; x < surface.width(); ++x) {
      row[std::size_t(x) * 3] = png_byte(p[x] >> 16);
      row[std::size_t(x) * 3 + 1] = png_byte(p[x] >> 8);
      row[std::size_t(x) * 3 + 2] = png_byte(p[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(f.get()) != 0) {
    SetError(error, "cannot write " + path);
    return false;
  }
  return true;
}

std::unique_ptr<Surface> ReadPng(const std::string& path, std::string* error) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    SetError(error, "cannot open " + path);
    return nullptr;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, "out of memory");
    return nullptr;
  }
  std::unique_ptr<Surface> out;
  std::vector<png_byte> row;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, "not a readable PNG: " + path);
    return nullptr;
  }
  png_init_io(png, f.get());
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  int depth = png_get_bit_depth(png, info);
  int type = png_get_color_type(png, info);
  // Everything becomes 8-bit RGB(A).
  if (depth == 16) png_set_strip_16(png);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  png_read_update_info(png, info);
  std::size_t channels = png_get_channels(png, info);
  if (w == 0 || h == 0 || w > ZEMRA_GDI_MAX_SIDE || h > ZEMRA_GDI_MAX_SIDE ||
      (channels != 3 && channels != 4)) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, "unsupported PNG: " + path);
    return nullptr;
  }
  out = Surface::Create(int(w), int(h), PixelFormat::Color, 0);
  if (!out) {
    png_destroy_read_struct(&png, &info, nullptr);
    SetError(error, "too large: " + path);
    return nullptr;
  }
  row.resize(std::size_t(w) * channels);
  for (png_uint_32 y = 0; y < h; ++y) {
    png_read_row(png, row.data(), nullptr);
    std::uint32_t* p = out->Row(int(y));
    for (png_uint_32 x = 0; x < w; ++x) {
      const png_byte* q = row.data() + std::size_t(x) * channels;
      p[x] = (std::uint32_t(q[0]) << 16) | (std::uint32_t(q[1]) << 8) | q[2];
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return out;
}

constexpr PngModule kModule{&WritePng, &ReadPng};

}  // namespace
}  // namespace win::gdi

extern "C" __attribute__((visibility("default"))) const win::gdi::PngModule* ZemraPngModule() {
  return &win::gdi::kModule;
}
