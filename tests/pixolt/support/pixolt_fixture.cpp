#include "pixolt/support/pixolt_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/packed_dib.h"

namespace pixolt_test {

using testing_support::DibRowBytes;
using testing_support::DibTableEntries;
using testing_support::GetPixel;

Picture Render(HGLOBAL dib) {
  Picture pic;
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!p) return pic;
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  const std::size_t colors = DibTableEntries(h);
  const std::uint8_t* table = p + 40;
  const std::uint8_t* bits = table + 4 * colors;
  pic.width = h.biWidth;
  pic.height = h.biHeight;
  pic.px.resize(static_cast<std::size_t>(pic.width) * pic.height);
  std::size_t rb = DibRowBytes(h.biWidth, h.biBitCount);
  for (int y = 0; y < pic.height; ++y) {
    const std::uint8_t* row = bits + static_cast<std::size_t>(pic.height - 1 - y) * rb;
    for (int x = 0; x < pic.width; ++x) {
      Rgb c;
      if (h.biBitCount == 24) {
        c = Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
      } else {
        const std::uint32_t v = GetPixel(row, x, h.biBitCount);
        if (v < colors) c = Rgb{table[4 * v + 2], table[4 * v + 1], table[4 * v]};
      }
      pic.px[static_cast<std::size_t>(y) * pic.width + x] = c;
    }
  }
  GlobalUnlock(dib);
  return pic;
}

bool ParsePnm(const std::string& bytes, Picture& out) {
  std::size_t pos = 0;
  auto token = [&]() {
    std::string t;
    while (pos < bytes.size()) {
      char c = bytes[pos];
      if (c == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        if (!t.empty()) break;
        ++pos;
      } else {
        t += c;
        ++pos;
      }
    }
    return t;
  };
  std::string magic = token();
  if (magic != "P4" && magic != "P5" && magic != "P6") return false;
  out.width = std::atoi(token().c_str());
  out.height = std::atoi(token().c_str());
  int maxval = magic == "P4" ? 1 : std::atoi(token().c_str());
  if (out.width <= 0 || out.height <= 0 || maxval != (magic == "P4" ? 1 : 255)) return false;
  ++pos;  // the single blank after the header
  out.px.assign(static_cast<std::size_t>(out.width) * out.height, Rgb{});
  std::size_t need = magic == "P4"   ? static_cast<std::size_t>((out.width + 7) / 8) * out.height
                     : magic == "P5" ? out.px.size()
                                     : 3 * out.px.size();
  if (bytes.size() < pos + need) return false;
  const auto* d = reinterpret_cast<const std::uint8_t*>(bytes.data() + pos);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      Rgb& c = out.px[static_cast<std::size_t>(y) * out.width + x];
      if (magic == "P4") {
        bool black = (d[static_cast<std::size_t>(y) * ((out.width + 7) / 8) + x / 8] >> (7 - x % 8)) & 1;
        std::uint8_t v = black ? 0 : 255;
        c = Rgb{v, v, v};
      } else if (magic == "P5") {
        std::uint8_t v = d[static_cast<std::size_t>(y) * out.width + x];
        c = Rgb{v, v, v};
      } else {
        const std::uint8_t* q = d + 3 * (static_cast<std::size_t>(y) * out.width + x);
        c = Rgb{q[0], q[1], q[2]};
      }
    }
  }
  return true;
}

bool ReadPnm(const std::string& path, Picture& out) { return ParsePnm(ReadFile(path), out); }

double MeanColorError(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.px.empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.px.size(); ++i) {
    sum += std::abs(a.px[i].r - b.px[i].r) + std::abs(a.px[i].g - b.px[i].g) + std::abs(a.px[i].b - b.px[i].b);
  }
  return sum / static_cast<double>(a.px.size());
}

std::string FirstDifference(const Picture& a, const Picture& b) {
  std::ostringstream s;
  if (a.width != b.width || a.height != b.height) {
    s << "size " << a.width << "x" << a.height << " vs " << b.width << "x" << b.height;
    return s.str();
  }
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const Rgb &p = a.at(x, y), &q = b.at(x, y);
      if (!(p == q)) {
        s << "pixel (" << x << ", " << y << "): " << int(p.r) << "," << int(p.g) << "," << int(p.b) << " vs "
          << int(q.r) << "," << int(q.g) << "," << int(q.b);
        return s.str();
      }
    }
  }
  return "";
}

std::string DataPath(const std::string& relative) {
  return std::string(ZEMRA_SOURCE_DIR) + "/tests/data/pixolt/" + relative;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string RunTool(const std::string& command, bool* ok) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    if (ok) *ok = false;
    return out;
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
  int status = pclose(pipe);
  if (ok) *ok = status == 0;
  return out;
}

HGLOBAL MakeDib(int width, int height, int bits, const std::vector<Rgb>& colors,
                const std::function<std::uint32_t(int, int)>& value) {
  std::vector<std::uint32_t> table;
  for (const Rgb& c : colors) table.push_back(std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b);
  // `value` takes stored rows: y = 0 is the bottom row.
  return testing_support::CopyToBlock(testing_support::PackDib(width, height, bits, table, false, value));
}

std::uint32_t PixelAt(HGLOBAL dib, int x, int y) {
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  const std::uint8_t* row = p + 40 + 4 * DibTableEntries(h) + DibRowBytes(h.biWidth, h.biBitCount) * y;
  const std::uint32_t v = GetPixel(row, x, h.biBitCount);
  GlobalUnlock(dib);
  return v;
}

BITMAPINFOHEADER HeaderOf(HGLOBAL dib) {
  BITMAPINFOHEADER h{};
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (p && GlobalSize(dib) >= sizeof h) std::memcpy(&h, p, sizeof h);
  GlobalUnlock(dib);
  return h;
}

std::vector<Rgb> TableOf(HGLOBAL dib) {
  BITMAPINFOHEADER h = HeaderOf(dib);
  const std::size_t colors = DibTableEntries(h);
  std::vector<Rgb> out;
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  for (DWORD i = 0; i < colors; ++i) out.push_back(Rgb{p[40 + 4 * i + 2], p[40 + 4 * i + 1], p[40 + 4 * i]});
  GlobalUnlock(dib);
  return out;
}

std::string BlockBytes(HGLOBAL dib) {
  auto* p = static_cast<const char*>(GlobalLock(dib));
  std::string out(p, GlobalSize(dib));
  GlobalUnlock(dib);
  return out;
}

HGLOBAL EmptyBlock() { return GlobalAlloc(GHND, 44); }

HGLOBAL BlockOf(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GHND, bytes.size());
  std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

std::vector<std::string> Messages() {
  std::vector<std::string> out;
  for (const auto& box : win::MessageBoxLog()) {
    EXPECT_EQ(box.caption, "Pixolt.DLL");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.type & (MB_TASKMODAL | MB_ICONMASK), static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
    out.push_back(box.text);
  }
  return out;
}

void PixoltTest::SetUp() {
  setenv("ZEMRA_HEADLESS", "1", 0);
  win::ClearMessageBoxLog();
}

void PixoltTest::TearDown() {
  for (HGLOBAL h : owned_) GlobalFree(h);
  win::ClearMessageBoxLog();
}

}  // namespace pixolt_test
