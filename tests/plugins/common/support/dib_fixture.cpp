#include "dib_fixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "win/kernel.h"

namespace convert_test {
namespace {
std::size_t RowBytes(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }
std::size_t TableEntries(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed) return h.biClrUsed;
  return h.biBitCount <= 8 ? (1u << h.biBitCount) : 0;
}
}  // namespace

std::vector<std::uint8_t> MakeDib(int width, int height, int bits, const std::vector<Rgb>& palette,
                                  const std::function<std::uint32_t(int x, int y)>& pixel) {
  std::size_t colors = bits <= 8 ? (1u << bits) : 0;
  std::size_t row = RowBytes(width, bits);
  std::vector<std::uint8_t> dib(40 + 4 * colors + row * height, 0);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits);
  h.biSizeImage = static_cast<DWORD>(row * height);
  h.biXPelsPerMeter = h.biYPelsPerMeter = 2953;
  h.biClrUsed = static_cast<DWORD>(colors);
  std::memcpy(dib.data(), &h, sizeof h);
  for (std::size_t i = 0; i < colors && i < palette.size(); ++i) {
    dib[40 + 4 * i] = palette[i].b;
    dib[41 + 4 * i] = palette[i].g;
    dib[42 + 4 * i] = palette[i].r;
  }
  std::uint8_t* rows = dib.data() + 40 + 4 * colors;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* r = rows + (height - 1 - y) * row;
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = pixel(x, y);
      switch (bits) {
        case 1: if (v & 1) r[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8)); break;
        case 4: r[x / 2] |= static_cast<std::uint8_t>((v & 15) << ((x & 1) ? 0 : 4)); break;
        case 8: r[x] = static_cast<std::uint8_t>(v); break;
        case 24:
          r[3 * x] = static_cast<std::uint8_t>(v);
          r[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          r[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
          break;
      }
    }
  }
  return dib;
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
  const std::uint8_t* rows = dib.data() + 40 + 4 * TableEntries(h);
  const std::uint8_t* r = rows + (h.biHeight - 1 - y) * RowBytes(h.biWidth, bits);
  switch (bits) {
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (r[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
    case 8: return r[x];
    default: return std::uint32_t{r[3 * x]} | r[3 * x + 1] << 8 | r[3 * x + 2] << 16;
  }
}

Rgb DibPixel(const std::vector<std::uint8_t>& dib, int x, int y) {
  std::uint32_t v = DibIndex(dib, x, y);
  if (DibHeader(dib).biBitCount == 24)
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  const std::uint8_t* e = dib.data() + 40 + 4 * v;
  return {e[2], e[1], e[0]};
}

HGLOBAL ToBlock(const std::vector<std::uint8_t>& bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  if (void* p = GlobalLock(h)) {
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(h);
  }
  return h;
}

std::vector<std::uint8_t> FromBlock(HGLOBAL block) {
  std::vector<std::uint8_t> out;
  if (!block) return out;
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(block));
  if (p) out.assign(p, p + GlobalSize(block));
  GlobalUnlock(block);
  return out;
}

HGLOBAL EmptyReaderBlock() { return GlobalAlloc(GHND, 44); }

bool ReadPnm(const std::string& bytes, Pnm& out) {
  std::size_t pos = 0;
  auto skip = [&] {
    while (pos < bytes.size()) {
      if (bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else if (std::isspace(static_cast<unsigned char>(bytes[pos]))) {
        ++pos;
      } else {
        break;
      }
    }
  };
  auto number = [&](int& v) {
    skip();
    if (pos >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[pos]))) return false;
    v = 0;
    while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos]))) v = v * 10 + (bytes[pos++] - '0');
    return true;
  };
  if (bytes.size() < 2 || bytes[0] != 'P') return false;
  char kind = bytes[1];
  pos = 2;
  int maxval = 1;
  if (!number(out.width) || !number(out.height)) return false;
  if (kind != '1' && kind != '4' && !number(maxval)) return false;
  if (maxval <= 0 || maxval > 255) return false;
  ++pos;  // the single blank after the header of the binary forms
  auto scale = [&](int v) { return static_cast<std::uint8_t>(v * 255 / maxval); };
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, Rgb{});
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      Rgb& p = out.pixels[static_cast<std::size_t>(y) * out.width + x];
      if (kind == '6' || kind == '5') {
        std::size_t n = kind == '6' ? 3 : 1;
        if (pos + n > bytes.size()) return false;
        auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[pos + i]); };
        p = kind == '6' ? Rgb{scale(at(0)), scale(at(1)), scale(at(2))} : Rgb{scale(at(0)), scale(at(0)), scale(at(0))};
        pos += n;
      } else if (kind == '4') {
        std::size_t rowBytes = (out.width + 7) / 8;
        std::size_t at = pos + y * rowBytes + x / 8;
        if (at >= bytes.size()) return false;
        bool black = (static_cast<std::uint8_t>(bytes[at]) >> (7 - x % 8)) & 1;
        std::uint8_t v = black ? 0 : 255;
        p = {v, v, v};
      } else {
        return false;  // the plain forms are not needed here
      }
    }
  }
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

bool HaveTool(const std::string& name) { return RunCommand("command -v " + name + " >/dev/null 2>&1") == 0; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ModuleDirectory() { return std::string(ZEMRA_BINARY_DIR) + "/bin"; }

}  // namespace convert_test
