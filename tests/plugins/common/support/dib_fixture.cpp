#include "dib_fixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "picture_oracle.h"
#include "support/packed_dib.h"
#include "win/kernel.h"

namespace convert_test {

using testing_support::DibRowBytes;
using testing_support::DibTableEntries;

// Every entry the bit count can index, the palette's first and zeros after.
std::vector<std::uint8_t> MakeDib(int width, int height, int bits, const std::vector<Rgb>& palette,
                                  const std::function<std::uint32_t(int x, int y)>& pixel) {
  std::vector<std::uint32_t> table(bits <= 8 ? std::size_t{1} << bits : 0, 0);
  for (std::size_t i = 0; i < table.size() && i < palette.size(); ++i)
    table[i] = std::uint32_t{palette[i].r} << 16 | std::uint32_t{palette[i].g} << 8 | palette[i].b;
  return testing_support::PackDib(width, height, bits, table, true, pixel);
}

std::vector<Rgb> TestPalette(int n) {
  std::vector<Rgb> p;
  for (int i = 0; i < n; ++i)
    p.push_back({static_cast<std::uint8_t>(i * 37 + 11), static_cast<std::uint8_t>(255 - i * 13),
                 static_cast<std::uint8_t>(i * 101 + 7)});
  return p;
}

const BITMAPINFOHEADER& DibHeader(const std::vector<std::uint8_t>& dib) {
  return *reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
}

std::uint32_t DibIndex(const std::vector<std::uint8_t>& dib, int x, int y) {
  const BITMAPINFOHEADER& h = DibHeader(dib);
  int bits = h.biBitCount;
  const std::uint8_t* rows = dib.data() + 40 + 4 * DibTableEntries(h);
  const std::uint8_t* r = rows + (h.biHeight - 1 - y) * DibRowBytes(h.biWidth, bits);
  return testing_support::GetPixel(r, x, bits);
}

Rgb DibPixel(const std::vector<std::uint8_t>& dib, int x, int y) {
  std::uint32_t v = DibIndex(dib, x, y);
  if (DibHeader(dib).biBitCount == 24)
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  const std::uint8_t* e = dib.data() + 40 + 4 * v;
  return {e[2], e[1], e[0]};
}

HGLOBAL ToBlock(const std::vector<std::uint8_t>& bytes) { return testing_support::CopyToBlock(bytes); }

std::vector<std::uint8_t> FromBlock(HGLOBAL block) {
  std::vector<std::uint8_t> out;
  if (!block) return out;
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(block));
  if (p) out.assign(p, p + GlobalSize(block));
  GlobalUnlock(block);
  return out;
}

HGLOBAL EmptyReaderBlock() { return plugin_test::NewReaderBlock(); }

bool ReadPnm(const std::string& bytes, Pnm& out) {
  const plugin_test::Rgb picture = plugin_test::ReadPnm(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  if (picture.width == 0) return false;
  out.width = picture.width;
  out.height = picture.height;
  out.pixels.clear();
  for (std::size_t i = 0; i + 2 < picture.pixels.size(); i += 3)
    out.pixels.push_back(Rgb{picture.pixels[i], picture.pixels[i + 1], picture.pixels[i + 2]});
  return true;
}

std::string DibToPpm(const std::vector<std::uint8_t>& dib) {
  const BITMAPINFOHEADER& h = DibHeader(dib);
  std::ostringstream o;
  o << "P6\n" << h.biWidth << " " << h.biHeight << "\n255\n";
  for (int y = 0; y < h.biHeight; ++y)
    for (int x = 0; x < h.biWidth; ++x) {
      Rgb c = DibPixel(dib, x, y);
      o << static_cast<char>(c.r) << static_cast<char>(c.g) << static_cast<char>(c.b);
    }
  return o.str();
}

int RunCommand(const std::string& command) {
  int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string ReadFile(const std::string& path) { return plugin_test::ReadText(path); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ModuleDirectory() { return plugin_test::ModuleDirectory(); }

}  // namespace convert_test
