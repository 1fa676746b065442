#include "pdf_pages.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gdi/png_writer.h"

namespace print_test {
namespace {

// The next header number of a PPM file, skipping blanks and comments.
bool HeaderNumber(const std::string& data, std::size_t* pos, int* out) {
  while (*pos < data.size()) {
    const char c = data[*pos];
    if (c == '#') {
      while (*pos < data.size() && data[*pos] != '\n') ++*pos;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++*pos;
    } else {
      break;
    }
  }
  long value = 0;
  std::size_t digits = 0;
  while (*pos < data.size() && data[*pos] >= '0' && data[*pos] <= '9' && digits < 9) {
    value = value * 10 + (data[*pos] - '0');
    ++*pos;
    ++digits;
  }
  *out = static_cast<int>(value);
  return digits > 0;
}

}  // namespace

bool ReadPpm(const std::string& path, PagePicture* out) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > (1u << 30)) return false;
  std::string data(static_cast<std::size_t>(size), '\0');
  std::ifstream in(path, std::ios::binary);
  if (!in.read(data.data(), static_cast<std::streamsize>(data.size()))) return false;
  if (data.size() < 2 || data[0] != 'P' || data[1] != '6') return false;
  std::size_t pos = 2;
  int w = 0, h = 0, maxval = 0;
  if (!HeaderNumber(data, &pos, &w) || !HeaderNumber(data, &pos, &h) ||
      !HeaderNumber(data, &pos, &maxval) || maxval != 255 || w <= 0 || h <= 0) {
    return false;
  }
  ++pos;  // the one blank after maxval
  const std::size_t need = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3;
  if (pos > data.size() || data.size() - pos < need) return false;
  out->width = w;
  out->height = h;
  out->pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const auto* p = reinterpret_cast<const unsigned char*>(data.data() + pos);
  for (std::size_t i = 0; i < out->pixels.size(); ++i) {
    out->pixels[i] = (std::uint32_t{p[3 * i]} << 16) | (std::uint32_t{p[3 * i + 1]} << 8) | p[3 * i + 2];
  }
  return true;
}

bool ReadPng(const std::string& path, PagePicture* out) {
  const std::unique_ptr<win::gdi::Surface> picture = win::gdi::ReadPng(path);
  if (!picture) return false;
  out->width = picture->width();
  out->height = picture->height();
  out->pixels.clear();
  out->pixels.reserve(static_cast<std::size_t>(out->width) * static_cast<std::size_t>(out->height));
  for (int y = 0; y < out->height; ++y) {
    const std::uint32_t* row = picture->Row(y);
    out->pixels.insert(out->pixels.end(), row, row + out->width);
  }
  return true;
}

namespace {

// One pixel of each 4 x 4 block.
PagePicture QuarterSampled(const PagePicture& big) {
  PagePicture p;
  p.width = big.width / 4;
  p.height = big.height / 4;
  p.pixels.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      p.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
               static_cast<std::size_t>(x)] = big.At(4 * x + 1, 4 * y + 1);
    }
  }
  return p;
}

}  // namespace

std::vector<PagePicture> RenderPdf(const std::string& pdf, int dpi, Reader reader,
                                   std::string* error) {
  std::vector<PagePicture> pages;
  std::string dir = (std::filesystem::temp_directory_path() / "zemra-pdf-XXXXXX").string();
  if (!mkdtemp(dir.data())) {
    if (error) *error = "mkdtemp failed";
    return pages;
  }
  const bool cairo = reader == Reader::Cairo;
  const std::string tool = cairo ? "pdftocairo -png -r " + std::to_string(dpi)
                                 : "pdftoppm -r " + std::to_string(4 * dpi);
  const std::string command =
      tool + " '" + pdf + "' '" + dir + "/page' 2>'" + dir + "/stderr'";
  const int rc = std::system(command.c_str());
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() == (cairo ? ".png" : ".ppm")) files.push_back(entry.path().string());
  }
  // page-1 .. page-9, or page-01 .. with more pages: the same width within
  // one run, so names sort in page order.
  std::sort(files.begin(), files.end());
  for (const std::string& f : files) {
    PagePicture p;
    if (!(cairo ? ReadPng(f, &p) : ReadPpm(f, &p))) {
      if (error) *error = "cannot read " + f;
      pages.clear();
      break;
    }
    pages.push_back(cairo ? std::move(p) : QuarterSampled(p));
  }
  if (pages.empty() && error && error->empty()) {
    std::ifstream err(dir + "/stderr");
    std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    *error = tool + " (exit " + std::to_string(rc) + ") rendered nothing: " + text;
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return pages;
}

}  // namespace print_test
