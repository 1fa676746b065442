#include "pixolt/support/pixolt_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pixolt_test {

namespace {

std::size_t RowBytes(int width, int bits) { return ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4; }

}  // namespace

Picture Render(HGLOBAL dib) {
  Picture pic;
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!p) return pic;
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  DWORD colors = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0u);
  const std::uint8_t* table = p + 40;
  const std::uint8_t* bits = table + 4 * colors;
  pic.width = h.biWidth;
  pic.height = h.biHeight;
  pic.px.resize(static_cast<std::size_t>(pic.width) * pic.height);
  std::size_t rb = RowBytes(h.biWidth, h.biBitCount);
  for (int y = 0; y < pic.height; ++y) {
    const std::uint8_t* row = bits + static_cast<std::size_t>(pic.height - 1 - y) * rb;
    for (int x = 0; x < pic.width; ++x) {
      Rgb c;
      if (h.biBitCount == 24) {
        c = Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
      } else {
        unsigned v = h.biBitCount == 8   ? row[x]
                     : h.biBitCount == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 15u
                                         : (row[x / 8] >> (7 - x % 8)) & 1u;
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

bool HaveTool(const std::string& name) {
  std::string cmd = "command -v " + name + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
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
  std::size_t rb = RowBytes(width, bits);
  std::size_t size = 40 + 4 * colors.size() + rb * height;
  HGLOBAL h = GlobalAlloc(GHND, size);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  BITMAPINFOHEADER hd{};
  hd.biSize = 40;
  hd.biWidth = width;
  hd.biHeight = height;
  hd.biPlanes = 1;
  hd.biBitCount = static_cast<WORD>(bits);
  hd.biSizeImage = static_cast<DWORD>(rb * height);
  hd.biXPelsPerMeter = hd.biYPelsPerMeter = 2953;
  hd.biClrUsed = static_cast<DWORD>(colors.size());
  std::memcpy(p, &hd, sizeof hd);
  for (std::size_t i = 0; i < colors.size(); ++i) {
    p[40 + 4 * i] = colors[i].b;
    p[40 + 4 * i + 1] = colors[i].g;
    p[40 + 4 * i + 2] = colors[i].r;
  }
  std::uint8_t* b = p + 40 + 4 * colors.size();
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b + rb * y;
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | ((v & 1) << (7 - x % 8))); break;
        case 4: row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | ((v & 15) << (x % 2 ? 0 : 4))); break;
        case 8: row[x] = static_cast<std::uint8_t>(v); break;
        default:
          row[3 * x] = static_cast<std::uint8_t>(v);
          row[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          row[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
      }
    }
  }
  GlobalUnlock(h);
  return h;
}

std::uint32_t PixelAt(HGLOBAL dib, int x, int y) {
  auto* p = static_cast<const std::uint8_t*>(GlobalLock(dib));
  BITMAPINFOHEADER h;
  std::memcpy(&h, p, sizeof h);
  DWORD colors = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0u);
  const std::uint8_t* row = p + 40 + 4 * colors + RowBytes(h.biWidth, h.biBitCount) * y;
  std::uint32_t v;
  switch (h.biBitCount) {
    case 1: v = (row[x / 8] >> (7 - x % 8)) & 1u; break;
    case 4: v = (row[x / 2] >> (x % 2 ? 0 : 4)) & 15u; break;
    case 8: v = row[x]; break;
    default: v = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
  }
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
  DWORD colors = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0u);
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
