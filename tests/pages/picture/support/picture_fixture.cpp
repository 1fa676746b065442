#include "pages/picture/support/picture_fixture.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "pages/load_target.h"
#include "plugins/common/plugin_exports.h"
#include "support/packed_dib.h"
#include "pages/picture/image_cache.h"
#include "pages/shell_link.h"
#include "store/cache/file_cache.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/module.h"

namespace pages_test {

void PictureTest::SetUp() {
  PagesTest::SetUp();
  previousDir_ = std::filesystem::current_path();
  std::filesystem::copy_file(std::string(ZEMRA_SOURCE_DIR) + "/data/format.dat", tmp_.file("format.dat"));
  std::filesystem::current_path(tmp_.path());
  win::SetModuleSearchDirectories({std::string(ZEMRA_BINARY_DIR) + "/bin"});
  // Pictures are named by their local files: the cache hands them back.
  TheFileCache().clear();
  SetShellLink(&pictureShell_);
  TheFileCache().setDownloader([this](const CString& key, CString& file) {
    auto it = served_.find(key.str());
    if (it != served_.end()) {
      file = it->second.c_str();
      return 1;
    }
    FILE* f = std::fopen(key, "rb");
    if (!f) return 0;
    std::fclose(f);
    file = key;
    return 1;
  });
  TheImageCache().FreeAll();
}

void PictureShell::PushLoad(LoadKind, const Ref<KXObject>&, LoadTarget* target, const char*) {
  loads.push_back(target);
}
void PictureShell::CancelLoads(LoadTarget* target) { cancelled.push_back(target); }
void PictureShell::RunCommandLine(const char* line, const Ref<KXObject>&) { lines.push_back(line ? line : ""); }
void PictureShell::ExecuteAnchorAction(const Ref<KXObject>& anchor) { actions.push_back(anchor); }

void PictureTest::TearDown() {
  TheImageCache().FreeAll();
  TheFileCache().clear();
  std::filesystem::current_path(previousDir_);
  win::SetDisplayBitsPerPixel(24);
  PagesTest::TearDown();
}

std::string PictureTest::Sample(const std::string& name) {
  const std::string target = tmp_.file(name);
  std::filesystem::copy_file(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/gallery/" + name + ".body", target,
                             std::filesystem::copy_options::overwrite_existing);
  return target;
}

std::string PictureTest::WriteBmp(const std::string& name, const std::vector<unsigned char>& dib) {
  BITMAPINFOHEADER h;
  std::memcpy(&h, dib.data(), sizeof h);
  DWORD entries = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0);
  if (h.biCompression == BI_BITFIELDS) entries += 3;
  const DWORD offset = 14 + 40 + 4 * entries;
  std::string bytes = "BM";
  auto put32 = [&](DWORD v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(v >> (8 * i)));
  };
  put32(static_cast<DWORD>(14 + dib.size()));
  put32(0);
  put32(offset);
  bytes.append(reinterpret_cast<const char*>(dib.data()), dib.size());
  return tmp_.write(name, bytes);
}

std::string PictureTest::WriteEps(const std::string& name, const std::vector<unsigned char>& dib) {
  HMODULE library = LoadLibrary("OSPRAY.DLL");
  if (!library) return "";
  auto write = reinterpret_cast<plugins::WriteExFn>(GetProcAddress(library, MAKEINTRESOURCE(plugins::kOrdFromDibEx)));
  const std::string path = tmp_.file(name);
  // The plug-in's write options record: colour, no preview, no frame.
  struct {
    std::int32_t version = 0x0100, level = 1, preview = 0, previewKind = 1, grey = 0, encoding = 1, frame = 0;
  } options;
  static_assert(sizeof options == 28);
  HGLOBAL block = testing_support::CopyToBlock(dib);
  const bool ok = write && write(path.c_str(), block, &options);
  GlobalFree(block);
  FreeLibrary(library);
  return ok ? path : "";
}

void PictureTest::UseDisplay(int bits) { ASSERT_TRUE(win::SetDisplayBitsPerPixel(bits)); }

BITMAPINFOHEADER HeaderOf(HGLOBAL dib) {
  BITMAPINFOHEADER h{};
  if (const void* p = GlobalLock(dib)) {
    std::memcpy(&h, p, sizeof h);
    GlobalUnlock(dib);
  }
  return h;
}

unsigned PixelOf(HGLOBAL dib, int x, int y) {
  const BITMAPINFOHEADER h = HeaderOf(dib);
  const auto* base = static_cast<const unsigned char*>(GlobalLock(dib));
  const DWORD entries = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? 1u << h.biBitCount : 0);
  const unsigned char* rows = base + h.biSize + 4 * entries;
  const size_t rowBytes = (static_cast<size_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
  const unsigned char* row = rows + rowBytes * static_cast<size_t>(h.biHeight - 1 - y);
  unsigned v;
  if (h.biBitCount == 24) {
    v = row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
  } else {
    const unsigned char* c = base + h.biSize + 4 * row[x];
    v = c[0] | c[1] << 8 | c[2] << 16;
  }
  GlobalUnlock(dib);
  return v;
}

}  // namespace pages_test

#include <cstdio>

namespace pages_test {

bool ReadPnmFrom(const std::string& command, ToolPicture* out) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return false;
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) bytes.append(buffer, n);
  if (pclose(pipe) != 0 || bytes.size() < 2 || bytes[0] != 'P') return false;
  const char kind = bytes[1];
  size_t pos = 2;
  auto number = [&]() {
    while (pos < bytes.size()) {
      if (bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else if (std::isspace(static_cast<unsigned char>(bytes[pos]))) {
        ++pos;
      } else {
        break;
      }
    }
    int v = 0;
    while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos]))) v = v * 10 + (bytes[pos++] - '0');
    return v;
  };
  out->width = number();
  out->height = number();
  const int maxval = kind == '4' ? 1 : number();
  ++pos;  // the one blank before the samples
  if (maxval != 1 && maxval != 255) return false;
  out->pixels.clear();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + pos;
  const size_t left = bytes.size() - pos;
  const size_t w = static_cast<size_t>(out->width), h = static_cast<size_t>(out->height);
  if (kind == '4') {
    const size_t rowBytes = (w + 7) / 8;
    if (left < rowBytes * h) return false;
    for (size_t y = 0; y < h; ++y)
      for (size_t x = 0; x < w; ++x)
        out->pixels.push_back((p[y * rowBytes + x / 8] >> (7 - x % 8)) & 1 ? 0x000000u : 0xFFFFFFu);
  } else if (kind == '5') {
    if (left < w * h) return false;
    for (size_t i = 0; i < w * h; ++i) out->pixels.push_back(p[i] * 0x010101u);
  } else if (kind == '6') {
    if (left < 3 * w * h) return false;
    for (size_t i = 0; i < w * h; ++i) out->pixels.push_back(p[3 * i] << 16 | p[3 * i + 1] << 8 | p[3 * i + 2]);
  } else {
    return false;
  }
  return true;
}

}  // namespace pages_test

namespace pages_test {

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  screen_ = GetDC(nullptr);
  memory_ = CreateCompatibleDC(screen_);
  bitmap_ = CreateCompatibleBitmap(screen_, width, height);
  old_ = SelectObject(memory_, bitmap_);
  cdc_.Attach(memory_);
}

Canvas::~Canvas() {
  cdc_.Detach();
  SelectObject(memory_, old_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
  ReleaseDC(nullptr, screen_);
}

unsigned Canvas::At(int x, int y) const {
  const COLORREF c = GetPixel(memory_, x, y);
  return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

std::unique_ptr<win::gdi::Surface> Canvas::Shot() const {
  auto surface = win::gdi::Surface::Create(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) surface->Row(y)[x] = At(x, y);
  return surface;
}

}  // namespace pages_test
