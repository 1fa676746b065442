#include "layout/pictures/picture_loader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/dib_dither.h"
#include "core/magic.h"
#include "pixolt.h"
#include "plugins/common/plugin_exports.h"
#include "text/draw/draw_styles.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

// A new DIB is started as a block this large; the readers grow it.
constexpr DWORD kStartBlock = 44;
constexpr int kNameBuffer = 128;

struct Settings {
  bool loaded = false;
  int depth = 0;
  int forcedDepth = 0;
  CString home;
  CString defaultImage;
};

Settings& settings() {
  static Settings s;
  return s;
}

HGLOBAL newBlock() { return GlobalAlloc(GHND, kStartBlock); }

// The header of a DIB block, copied; false when the block holds none.
bool headerOf(HGLOBAL dib, BITMAPINFOHEADER& out) {
  if (!dib || GlobalSize(dib) < sizeof(BITMAPINFOHEADER)) return false;
  const void* p = GlobalLock(dib);
  if (!p) return false;
  std::memcpy(&out, p, sizeof out);
  GlobalUnlock(dib);
  return out.biSize >= sizeof(BITMAPINFOHEADER);
}

// Replaces `dib` by `next` (freeing the old block) and returns it.
HGLOBAL replaceBy(HGLOBAL dib, HGLOBAL next) {
  if (next != dib && dib) GlobalFree(dib);
  return next;
}

// The format's name from format.dat for the first bytes; empty when none.
CString identify(const void* bytes, int size) {
  char name[kNameBuffer] = {0};
  CString table = PictureSettings::HomeDir() + "format.dat";
  if (!MatchMagic(table, bytes, size, name, kNameBuffer)) return CString();
  name[kNameBuffer - 1] = 0;
  return CString(name);
}

// Reads a read function's result into a new block; frees the block when
// the reader failed.
template <class Read>
HGLOBAL readInto(Read read) {
  HGLOBAL block = newBlock();
  if (!block) return nullptr;
  HGLOBAL dib = read(block);
  if (!dib && block) GlobalFree(block);
  return dib;
}

}  // namespace

void PictureSettings::Load() {
  Settings& s = settings();
  if (s.loaded) return;
  s.loaded = true;
  s.home = TextProfileString("TextViewer", "homeDir", ".") + "\\";
  s.defaultImage = TextProfileString("TextViewer", "DefaultImage", "default.bmp");
  if (s.forcedDepth) {
    s.depth = s.forcedDepth;
  } else {
    HDC dc = GetDC(nullptr);
    s.depth = dc ? GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) : 24;
    if (dc) ReleaseDC(nullptr, dc);
  }
}

CString PictureSettings::HomeDir() {
  Load();
  return settings().home;
}

CString PictureSettings::DefaultImage() {
  Load();
  return settings().defaultImage;
}

int PictureSettings::ScreenDepth() {
  Load();
  return settings().depth;
}

void PictureSettings::ForgetForTests(int depth) {
  settings().loaded = false;
  settings().forcedDepth = depth;
}

namespace PictureLoader {

HGLOBAL LoadFile(const char* fileName) {
  if (!fileName) return nullptr;
  HFILE file = _lopen(fileName, OF_READ);
  if (file == HFILE_ERROR) {
    MessageBox(nullptr, "AFX_ERR_OPEN_FILE", nullptr, MB_OK);
    return nullptr;
  }
  BYTE probe[kFileProbe];
  UINT got = _lread(file, probe, sizeof probe);
  _lclose(file);
  if (got == static_cast<UINT>(HFILE_ERROR) || got == 0) return nullptr;
  CString format = identify(probe, static_cast<int>(got));
  if (format.IsEmpty()) return nullptr;
  HGLOBAL dib = nullptr;
  if (format == "BMP")
    dib = readInto([&](HGLOBAL b) { return ReadDIB(fileName, b); });
  else if (format == "XBM")
    dib = readInto([&](HGLOBAL b) { return ReadXbm(fileName, b); });
  else
    dib = ConvertFile(fileName, format, nullptr);
  return FitToScreen(dib);
}

HGLOBAL LoadMemory(const void* data, LONG size, LONG& transparent) {
  transparent = -1;
  if (!data || size <= 0 || size > kMaxImageBytes) return nullptr;
  CString format = identify(data, size < kMemoryProbe ? static_cast<int>(size) : kMemoryProbe);
  if (format.IsEmpty()) return nullptr;
  HGLOBAL dib = nullptr;
  if (format == "BMP") {
    // The image's size bounds the reader: a file cut short is refused, not
    // read beyond its end.
    dib = readInto([&](HGLOBAL b) { return ReadMemDIBEx(data, static_cast<DWORD>(size), b); });
  } else if (format == "XBM") {
    dib = readInto([&](HGLOBAL b) { return ReadMemXbm(static_cast<const char*>(data), static_cast<DWORD>(size), b); });
    if (!dib) return nullptr;
    transparent = 0;  // the bitmap's background bit
  } else {
    dib = ConvertMemory(data, size, format, transparent);
  }
  return FitToScreen(dib, &transparent);
}

namespace {

// Widens a DIB of 1 or 4 bits to 8; chosen by the bits per pixel, so a
// picture whose colour table is shorter than its depth allows is widened
// all the same.
HGLOBAL widen(HGLOBAL dib, const BITMAPINFOHEADER& h) {
  if (h.biBitCount == 1) return replaceBy(dib, DIB1To8(dib));
  if (h.biBitCount == 4) return replaceBy(dib, DIB4To8(dib));
  return dib;
}

// On a palette screen: the picture in the dither palette; a transparent
// colour gets an entry of its own after the palette's, so it survives.
HGLOBAL dither(HGLOBAL dib, LONG* transparent) {
  BITMAPINFOHEADER h{};
  if (!headerOf(dib, h)) return replaceBy(dib, nullptr);
  HGLOBAL out = h.biBitCount == 24 ? DitherRgbToPalette(dib) : h.biBitCount == 8 ? DitherIndexedToPalette(dib) : nullptr;
  if (!out) {
    MessageBox(nullptr, "AFX_ERR_OUT_OF_MEM", nullptr, MB_OK);
    return replaceBy(dib, nullptr);
  }
  if (transparent && *transparent >= 0 && h.biBitCount == 8) {
    BITMAPINFOHEADER o{};
    const BYTE* src = static_cast<const BYTE*>(GlobalLock(dib));
    BYTE* dst = static_cast<BYTE*>(GlobalLock(out));
    bool kept = false;
    if (src && dst && headerOf(out, o)) {
      DWORD srcEntries = h.biClrUsed ? h.biClrUsed : 256;
      DWORD entries = o.biClrUsed ? o.biClrUsed : 256;
      const LONG rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
      const DWORD rowBytes = (static_cast<DWORD>(h.biWidth) + 3) & ~3u;
      const size_t srcBits = h.biSize + srcEntries * 4;
      const size_t dstBits = o.biSize + entries * 4;
      if (entries < 256 && static_cast<DWORD>(*transparent) < srcEntries &&
          srcBits + static_cast<size_t>(rowBytes) * rows <= GlobalSize(dib) &&
          dstBits + static_cast<size_t>(rowBytes) * rows <= GlobalSize(out)) {
        // The new entry sits right after the table: there is room for it
        // only when the table is shorter than 256 and the rows move by 4.
        // Rather than move rows, reuse the last entry that no pixel uses is
        // not known cheaply; the halftone table leaves room at its end.
        std::vector<bool> used(256, false);
        for (LONG y = 0; y < rows; ++y)
          for (LONG x = 0; x < h.biWidth; ++x) used[dst[dstBits + static_cast<size_t>(y) * rowBytes + x]] = true;
        DWORD free = entries;
        for (DWORD i = entries; i-- > 0;)
          if (!used[i]) {
            free = i;
            break;
          }
        if (free < entries) {
          std::memcpy(dst + o.biSize + free * 4, src + h.biSize + static_cast<DWORD>(*transparent) * 4, 4);
          for (LONG y = 0; y < rows; ++y)
            for (LONG x = 0; x < h.biWidth; ++x)
              if (src[srcBits + static_cast<size_t>(y) * rowBytes + x] == *transparent)
                dst[dstBits + static_cast<size_t>(y) * rowBytes + x] = static_cast<BYTE>(free);
          *transparent = static_cast<LONG>(free);
          kept = true;
        }
      }
    }
    if (src) GlobalUnlock(dib);
    if (dst) GlobalUnlock(out);
    if (!kept) *transparent = -1;
  }
  return replaceBy(dib, out);
}

}  // namespace

HGLOBAL FitToScreen(HGLOBAL dib, LONG* transparent) {
  BITMAPINFOHEADER h{};
  if (!headerOf(dib, h)) return replaceBy(dib, nullptr);
  // Compressed rows are expanded before anything reads them as pixels.
  if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
    dib = replaceBy(dib, RLEtoDIB(dib));
    if (!headerOf(dib, h)) return replaceBy(dib, nullptr);
  }
  dib = widen(dib, h);
  if (!headerOf(dib, h)) return replaceBy(dib, nullptr);
  const int depth = PictureSettings::ScreenDepth();
  if (depth == 4 || depth == 8) return dither(dib, transparent);
  return dib;
}

namespace {

HMODULE loadPlugin(const char* plugin) {
  CString path = PictureSettings::HomeDir() + plugin;
  HMODULE lib = LoadLibrary(path);
  if (!lib) MessageBox(nullptr, "AFX_ERR_LOAD_DLL", nullptr, MB_OK | MB_ICONEXCLAMATION);
  return lib;
}

FARPROC bind(HMODULE lib, WORD ordinal) {
  FARPROC proc = GetProcAddress(lib, MAKEINTRESOURCE(ordinal));
  if (!proc) {
    MessageBox(nullptr, "AFX_ERR_LOAD_DLL", nullptr, MB_OK | MB_ICONEXCLAMATION);
    FreeLibrary(lib);
  }
  return proc;
}

}  // namespace

HGLOBAL ConvertFile(const char* fileName, const char* plugin, HWND progress) {
  HMODULE lib = loadPlugin(plugin);
  if (!lib) return nullptr;
  auto read = reinterpret_cast<plugins::ReadFileFn>(bind(lib, plugins::kOrdToDib));
  if (!read) return nullptr;
  HGLOBAL block = newBlock();
  int result = -1;
  HGLOBAL dib = block ? read(fileName, 0, progress, block, 0, &result) : nullptr;
  if (!dib && block) GlobalFree(block);
  FreeLibrary(lib);
  return dib;
}

HGLOBAL ConvertMemory(const void* data, LONG size, const char* plugin, LONG& transparent) {
  HMODULE lib = loadPlugin(plugin);
  if (!lib) return nullptr;
  auto read = reinterpret_cast<plugins::ReadMemoryFn>(bind(lib, plugins::kOrdMemToDib));
  if (!read) return nullptr;
  HGLOBAL block = newBlock();
  int index = -1;
  HGLOBAL dib = block ? read(data, static_cast<DWORD>(size), block, &index) : nullptr;
  if (!dib && block) GlobalFree(block);
  transparent = dib ? index : -1;
  FreeLibrary(lib);
  return dib;
}

}  // namespace PictureLoader
