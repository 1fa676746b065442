#include "picture_oracle.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/packed_dib.h"
#include "win/kernel.h"
#include "win/user.h"

namespace plugin_test {

std::string DataPath(const std::string& relative) {
  return std::string(ZEMRA_SOURCE_DIR) + "/tests/data/plugins/" + relative;
}

std::vector<std::string> DataFiles(const std::string& dir, const std::string& suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(DataPath(dir), ec)) {
    std::string n = e.path().filename().string();
    if (n.size() > suffix.size() && n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(n.substr(0, n.size() - suffix.size()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
  auto b = ReadBytes(path);
  return std::string(b.begin(), b.end());
}

namespace {

// Reads the next header number of a PNM file, skipping blanks and comments.
bool Number(const std::vector<std::uint8_t>& b, std::size_t& pos, int& out) {
  while (pos < b.size()) {
    if (b[pos] == '#') {
      while (pos < b.size() && b[pos] != '\n') ++pos;
    } else if (std::isspace(b[pos])) {
      ++pos;
    } else {
      break;
    }
  }
  if (pos >= b.size() || !std::isdigit(b[pos])) return false;
  long v = 0;
  while (pos < b.size() && std::isdigit(b[pos]) && v < 100000000) v = v * 10 + (b[pos++] - '0');
  out = static_cast<int>(v);
  return true;
}

}  // namespace

Rgb ReadPnm(const std::vector<std::uint8_t>& b) {
  Rgb out;
  if (b.size() < 3 || b[0] != 'P' || (b[1] != '4' && b[1] != '5' && b[1] != '6')) return out;
  const char kind = static_cast<char>(b[1]);
  std::size_t pos = 2;
  int w, h, maxval = 1;
  if (!Number(b, pos, w) || !Number(b, pos, h)) return out;
  if (kind != '4' && !Number(b, pos, maxval)) return out;
  ++pos;  // the single blank after the header
  if (maxval <= 0 || maxval > 255 || w <= 0 || h <= 0) return out;
  std::size_t row = kind == '4' ? (w + 7) / 8 : kind == '5' ? w : 3 * std::size_t(w);
  if (pos + row * h > b.size()) return out;
  out.width = w;
  out.height = h;
  out.pixels.resize(std::size_t(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* r = b.data() + pos + row * y;
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = &out.pixels[(std::size_t(y) * w + x) * 3];
      if (kind == '4') {
        std::uint8_t v = (r[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;  // 1 is black
        p[0] = p[1] = p[2] = v;
      } else if (kind == '5') {
        p[0] = p[1] = p[2] = static_cast<std::uint8_t>((r[x] * 255 + maxval / 2) / maxval);
      } else {
        for (int c = 0; c < 3; ++c)
          p[c] = static_cast<std::uint8_t>((r[3 * x + c] * 255 + maxval / 2) / maxval);
      }
    }
  }
  return out;
}

Rgb ReadPnmFile(const std::string& path) { return ReadPnm(ReadBytes(path)); }

Rgb DibToRgb(HGLOBAL dib) {
  Rgb out;
  if (!dib) return out;
  auto* base = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!base) return out;
  BITMAPINFOHEADER h;
  std::memcpy(&h, base, sizeof h);
  int bits = h.biBitCount;
  const std::uint8_t* table = base + h.biSize;
  const std::uint8_t* pixels = table + 4 * testing_support::DibTableEntries(h);
  std::size_t rowBytes = testing_support::DibRowBytes(h.biWidth, bits);
  out.width = h.biWidth;
  out.height = h.biHeight;
  out.pixels.resize(std::size_t(out.width) * out.height * 3);
  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* r = pixels + rowBytes * (out.height - 1 - y);
    for (int x = 0; x < out.width; ++x) {
      std::uint8_t* p = &out.pixels[(std::size_t(y) * out.width + x) * 3];
      if (bits == 24) {
        p[0] = r[3 * x + 2];
        p[1] = r[3 * x + 1];
        p[2] = r[3 * x];
        continue;
      }
      const std::uint8_t* e = table + 4 * testing_support::GetPixel(r, x, bits);
      p[0] = e[2];
      p[1] = e[1];
      p[2] = e[0];
    }
  }
  GlobalUnlock(dib);
  return out;
}

std::string Compare(const Rgb& expected, const Rgb& actual, int tolerance) {
  std::ostringstream s;
  if (expected.width != actual.width || expected.height != actual.height) {
    s << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
      << expected.height;
    return s.str();
  }
  for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
    if (std::abs(int(expected.pixels[i]) - int(actual.pixels[i])) > tolerance) {
      std::size_t px = i / 3;
      s << "pixel " << px % expected.width << "," << px / expected.width << " channel " << i % 3
        << ": " << int(actual.pixels[i]) << ", expected " << int(expected.pixels[i]);
      return s.str();
    }
  }
  return "";
}

HGLOBAL NewReaderBlock() { return GlobalAlloc(GHND, 44); }

HGLOBAL MakeDib(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                const std::function<std::uint32_t(int, int)>& pixel) {
  return testing_support::CopyToBlock(testing_support::PackDib(width, height, bits, palette, true, pixel));
}

namespace {
std::vector<int>& Recorded() {
  static std::vector<int> percents;
  return percents;
}
LRESULT CALLBACK RecorderProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == 0x62C && lp == 0) {
    Recorded().push_back(static_cast<int>(wp));
    return 0;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}
}  // namespace

ProgressRecorder::ProgressRecorder() {
  WNDCLASS cls{};
  cls.lpfnWndProc = RecorderProc;
  cls.lpszClassName = "PluginProgressRecorder";
  WNDCLASS existing;
  if (!GetClassInfo(nullptr, cls.lpszClassName, &existing)) RegisterClass(&cls);
  Recorded().clear();
  window_ = CreateWindow(cls.lpszClassName, "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}
ProgressRecorder::~ProgressRecorder() {
  if (window_) DestroyWindow(window_);
}
const std::vector<int>& ProgressRecorder::percents() const { return Recorded(); }

bool Run(const std::string& command, std::string* output) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return false;
  std::string out;
  char buf[65536];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int status = pclose(p);
  if (output) *output = out;
  return status == 0;
}

std::string ModuleDirectory() { return std::string(ZEMRA_BINARY_DIR) + "/bin"; }

}  // namespace plugin_test
