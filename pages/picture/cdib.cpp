#include "pages/picture/cdib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "plugins/common/plugin_exports.h"
#include "core/dib_dither.h"
#include "core/dib_stretch.h"
#include "core/dib_view.h"
#include "core/empty_dib.h"
#include "core/magic.h"
#include "core/message_boxes.h"
#include "framework/app_services.h"
#include "pages/picture/dither_table.h"
#include "pages/picture/scale_dib.h"
#include "pixolt.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"
#include "win/wing.h"

IMPLEMENT_DYNCREATE(CDib, CObject)

namespace {

constexpr UINT kStrOutOfMemory = 4;
constexpr DWORD_PTR kReaderBlock = 44;
constexpr LONG kPixelsPerMetre = 2953;
// The plug-in colour word: white, and the flag that asks for the
// transparent colour to be replaced.
constexpr DWORD kReplaceTransparentFlag = 0x80000000u;

struct HeaderInfo {
  bool ok = false;
  BITMAPINFOHEADER h{};
};

HeaderInfo ReadHeader(HGLOBAL block) {
  HeaderInfo info;
  if (!block || GlobalSize(block) < sizeof(BITMAPINFOHEADER)) return info;
  if (const void* p = GlobalLock(block)) {
    std::memcpy(&info.h, p, sizeof info.h);
    GlobalUnlock(block);
    info.ok = info.h.biSize >= sizeof(BITMAPINFOHEADER);
  }
  return info;
}

DWORD TableEntries(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed) return h.biClrUsed;
  return h.biBitCount <= 8 ? DWORD{1} << h.biBitCount : 0;
}

// Replaces `*block` by `next` (freeing the old block) when `next` was made.
bool ReplaceBlock(HGLOBAL* block, HGLOBAL next) {
  if (!next) return false;
  GlobalFree(*block);
  *block = next;
  return true;
}

bool EndsWithDll(const char* name) {
  const size_t n = std::strlen(name);
  if (n < 4) return false;
  const char* tail = name + n - 4;
  return tail[0] == '.' && (tail[1] | 0x20) == 'd' && (tail[2] | 0x20) == 'l' && (tail[3] | 0x20) == 'l';
}

}  // namespace

CDib::CDib() = default;

CDib::~CDib() {
  Forget();
  if (extra1) GlobalFree(extra1);
  if (extra2) GlobalFree(extra2);
  std::free(bufferInfo);
  std::free(bufferBits);
}

// Drops the picture, its display copy and palette: a display copy that is
// the picture itself must not outlive it.
void CDib::Forget() {
  if (displayDib && displayDib != dib) GlobalFree(displayDib);
  displayDib = nullptr;
  if (dib) GlobalFree(dib);
  dib = nullptr;
  if (palette) DeleteObject(palette);
  palette = nullptr;
}

int CDib::Load(const char* fileName, HWND progressWindow) {
  Forget();
  transparentIndex = -1;
  if (!fileName || !*fileName) return 0;
  HGLOBAL loaded = nullptr;
  const int bmpBits = BmpFileBitCount(fileName);
  if (bmpBits == 16 || bmpBits == 32) {
    // Deep bitmaps are read here: the image library reads up to 24 bits.
    loaded = ReadDeepBmpFile(fileName);
    if (!loaded) return 0;
  } else if (IsBMPFile(fileName)) {
    HGLOBAL block = GlobalAlloc(GHND, kReaderBlock);
    if (!block) return 0;
    loaded = ReadDIB(fileName, block);
    if (!loaded) {
      GlobalFree(block);
      return 0;
    }
  } else {
    char format[kMagicResultSize] = {};
    if (!IdentifyFileFormat(fileName, format, sizeof format) || !format[0]) return 0;
    if (std::strcmp(format, "XBM") == 0) {
      HGLOBAL block = GlobalAlloc(GHND, kReaderBlock);
      if (!block) return 0;
      loaded = ReadXbm(fileName, block);
      if (!loaded) {
        GlobalFree(block);
        return 0;
      }
      const HeaderInfo info = ReadHeader(loaded);
      if (info.ok && TableEntries(info.h) >= 1 &&
          GlobalSize(loaded) >= info.h.biSize + sizeof(RGBQUAD)) {
        auto* base = static_cast<BYTE*>(GlobalLock(loaded));
        auto* entry0 = reinterpret_cast<RGBQUAD*>(base + info.h.biSize);
        entry0->rgbBlue = entry0->rgbGreen = entry0->rgbRed = 255;
        GlobalUnlock(loaded);
      }
    } else if (EndsWithDll(format)) {
      std::int32_t transparent = -1;
      loaded = LoadWithConverter(fileName, format, progressWindow, &transparent);
      transparentIndex = transparent;
    } else {
      // A format the client reads otherwise (sound, video) is no picture.
      return 0;
    }
  }
  if (!loaded) return 0;

  HeaderInfo info = ReadHeader(loaded);
  if (!info.ok) {
    GlobalFree(loaded);
    return 0;
  }
  if ((info.h.biCompression == BI_RLE8 || info.h.biCompression == BI_RLE4) &&
      !ReplaceBlock(&loaded, RLEtoDIB(loaded))) {
    GlobalFree(loaded);
    return 0;
  }
  info = ReadHeader(loaded);
  // Deep pictures are held as true colour: the display code reads 8 and
  // 24 bits only.
  if ((info.h.biBitCount == 16 || info.h.biBitCount == 32) && !ReplaceBlock(&loaded, WidenDibTo24(loaded))) {
    GlobalFree(loaded);
    return 0;
  }
  info = ReadHeader(loaded);
  dib = loaded;
  width = info.h.biWidth;
  height = info.h.biHeight;
  colorCount = TableEntries(info.h);
  if (info.h.biBitCount == 1) ReplaceBlock(&dib, DIB1To8(dib));
  else if (info.h.biBitCount == 4) ReplaceBlock(&dib, DIB4To8(dib));
  const HeaderInfo held = ReadHeader(dib);
  if (held.h.biBitCount != 8 && held.h.biBitCount != 24) {
    Forget();
    return 0;
  }
  return 1;
}

HGLOBAL CDib::LoadWithConverter(const char* fileName, const char* plugin, HWND progressWindow,
                                std::int32_t* transparent) {
  CString path;
  if (!GetAppHomeDir(path)) path.Empty();
  path += plugin;
  HMODULE library = LoadLibrary(path);
  if (!library) {
    ShowMessageId(kStrInformation);
    return nullptr;
  }
  auto read = reinterpret_cast<plugins::ReadFileFn>(GetProcAddress(library, MAKEINTRESOURCE(plugins::kOrdToDib)));
  if (!read) {
    ShowMessageId(kStrInformation);
    FreeLibrary(library);
    return nullptr;
  }
  HGLOBAL block = GlobalAlloc(GHND, kReaderBlock);
  HGLOBAL result = nullptr;
  if (block) {
    const DWORD color = RGB(255, 255, 255) | (replaceTransparent ? kReplaceTransparentFlag : 0);
    int index = -1;
    result = read(fileName, 0, progressWindow, block, color, &index);
    *transparent = index;
    if (result != block) GlobalFree(block);
  }
  FreeLibrary(library);
  return result;
}

int CDib::ConvertDepth(HWND window, int fit, int halftone, int fitWidth, int fitHeight) {
  if (!dib) return 0;
  MainWindow& display = TheMainWindow();
  const int depth = display.ColorDepth();
  const bool fitting = fit && fitWidth > 0 && fitHeight > 0;
  const SIZE size = GetSize();
  if (depth >= 1 && depth <= 8) {
    if (halftone) {
      SetPalette(WinGCreateHalftonePalette());
      auto dither = [this](HGLOBAL picture) {
        return colorCount == 0 ? DitherRgbToPalette(picture) : DitherIndexedToPalette(picture);
      };
      if (!fitting) {
        width = size.cx;
        height = size.cy;
        SetDisplayDib(dither(dib));
      } else if (size.cx > fitWidth && size.cy > fitHeight) {
        width = fitWidth;
        height = fitHeight;
        HGLOBAL scaled = colorCount == 0 ? StretchDib24(dib, fitWidth, fitHeight) : StretchDib8(dib, fitWidth, fitHeight);
        SetDisplayDib(scaled ? dither(scaled) : nullptr);
        if (scaled) GlobalFree(scaled);
      } else if (!(size.cx <= width && size.cy <= height && displayDib)) {
        width = size.cx;
        height = size.cy;
        SetDisplayDib(dither(dib));
      }
    } else if (!fitting) {
      width = size.cx;
      height = size.cy;
      SetDisplayDib(DiffuseToDitherPalette(dib, window, display));
    } else {
      width = fitWidth;
      height = fitHeight;
      HGLOBAL scaled = ScaleDib(dib, fitWidth, fitHeight);
      SetDisplayDib(scaled ? DiffuseToDitherPalette(scaled, window, display) : nullptr);
      if (scaled) GlobalFree(scaled);
    }
  } else if (depth > 8) {
    // 15, 16, 24 and 32 bits all show the picture as it is.
    if (fitting && !halftone) {
      width = fitWidth;
      height = fitHeight;
      SetDisplayDib(ScaleDib(dib, fitWidth, fitHeight));
    } else {
      width = size.cx;
      height = size.cy;
      SetDisplayDib(dib);
    }
  }
  if (!palette) {
    RebuildPalette();
    if (window) SendMessage(window, kMsgPaletteMade, reinterpret_cast<WPARAM>(window), 0);
  }
  return 1;
}

HGLOBAL CDib::DiffuseToDitherPalette(HGLOBAL source, HWND progressWindow, const CDitherTable& table) {
  const LOGPALETTE* pal = table.LogPalette();
  if (!source || !pal || !table.ColorLookup()) return nullptr;
  const HeaderInfo info = ReadHeader(source);
  if (!info.ok || (info.h.biBitCount != 8 && info.h.biBitCount != 24)) return nullptr;
  const int bits = info.h.biBitCount;
  DibView view(source, bits);
  if (!view.ok()) return nullptr;
  const int w = view.width(), h = view.height();
  const int entries = pal->palNumEntries;
  const DWORD_PTR rowBytes = DibRowBytes(w, 8);
  // The rows follow the colour table the header announces, where every
  // packed-DIB reader looks for them.
  HGLOBAL result = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * entries + rowBytes * h);
  if (!result) {
    ShowMessageId(kStrOutOfMemory);
    return nullptr;
  }
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(result));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = w;
  header->biHeight = h;
  header->biPlanes = 1;
  header->biBitCount = 8;
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(rowBytes * h);
  header->biXPelsPerMeter = header->biYPelsPerMeter = kPixelsPerMetre;
  header->biClrUsed = static_cast<DWORD>(entries);
  auto* colors = reinterpret_cast<RGBQUAD*>(header + 1);
  for (int i = 0; i < entries; ++i)
    colors[i] = RGBQUAD{pal->palPalEntry[i].peBlue, pal->palPalEntry[i].peGreen, pal->palPalEntry[i].peRed, 0};
  BYTE* out = reinterpret_cast<BYTE*>(colors + entries);
  if (progressWindow) SendMessage(progressWindow, kMsgConversionStarted, 0, reinterpret_cast<LPARAM>(result));

  std::vector<int> cur, below;
  try {
    cur.assign(static_cast<size_t>(w) * 3, 0);
    below.assign(static_cast<size_t>(w) * 3, 0);
  } catch (const std::bad_alloc&) {
    GlobalUnlock(result);
    GlobalFree(result);
    ShowMessageId(kStrOutOfMemory);
    return nullptr;
  }
  const int tableCount = view.colorCount();
  for (int y = h - 1; y >= 0; --y) {
    const BYTE* src = view.row(y);
    BYTE* dst = out + rowBytes * static_cast<DWORD_PTR>(y);
    const bool hasBelow = y > 0;
    for (int x = 0; x < w; ++x) {
      int b, g, r;
      if (bits == 24) {
        b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
      } else if (tableCount > 0) {
        // An index beyond the table takes its last colour.
        const RGBQUAD& c = view.colors()[std::min<int>(src[x], tableCount - 1)];
        b = c.rgbBlue, g = c.rgbGreen, r = c.rgbRed;
      } else {
        b = g = r = 0;
      }
      int* px = &cur[3 * static_cast<size_t>(x)];
      const int comp[3] = {std::clamp(b + px[0], 0, 255), std::clamp(g + px[1], 0, 255),
                           std::clamp(r + px[2], 0, 255)};
      const BYTE index = table.Nearest(comp[2], comp[1], comp[0]);
      dst[x] = index;
      const PALETTEENTRY& e = pal->palPalEntry[std::min<int>(index, entries - 1)];
      const int err[3] = {comp[0] - e.peBlue, comp[1] - e.peGreen, comp[2] - e.peRed};
      for (int c = 0; c < 3; ++c) {
        if (x + 1 < w) cur[3 * (x + 1) + c] += table.ErrorShare(CDitherTable::kSevenSixteenths, err[c]);
        if (!hasBelow) continue;
        below[3 * x + c] += table.ErrorShare(CDitherTable::kFiveSixteenths, err[c]);
        if (x > 0) below[3 * (x - 1) + c] += table.ErrorShare(CDitherTable::kThreeSixteenths, err[c]);
        if (x + 1 < w) below[3 * (x + 1) + c] += table.ErrorShare(CDitherTable::kOneSixteenth, err[c]);
      }
    }
    cur.swap(below);
    std::fill(below.begin(), below.end(), 0);
    if (progressWindow && y % kProgressRows == 0)
      SendMessage(progressWindow, kMsgConversionRows, static_cast<WPARAM>(h - y), reinterpret_cast<LPARAM>(result));
  }
  GlobalUnlock(result);
  return result;
}

int CDib::Draw(CDC* dc, const RECT& destination, const RECT& source, HGLOBAL handle, HPALETTE pal) {
  if (!handle || !dc) return 0;
  const HeaderInfo info = ReadHeader(handle);
  if (!info.ok) return 0;
  const auto* base = static_cast<const BYTE*>(GlobalLock(handle));
  const auto* bmi = reinterpret_cast<const BITMAPINFO*>(base);
  const BYTE* bits = base + info.h.biSize + sizeof(RGBQUAD) * GetColorsInPalette(&info.h);
  HDC hdc = dc->GetSafeHdc();
  HPALETTE previous = nullptr;
  if (pal) {
    previous = SelectPalette(hdc, pal, TRUE);
    RealizePalette(hdc);
  }
  SetStretchBltMode(hdc, COLORONCOLOR);
  // Source rows count from the bottom of the picture itself, whatever size
  // it is shown at.
  const int pictureHeight = info.h.biHeight;
  const int dw = destination.right - destination.left, dh = destination.bottom - destination.top;
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  int result;
  if (dw == sw && dh == sh) {
    result = SetDIBitsToDevice(hdc, destination.left, destination.top, static_cast<DWORD>(dw),
                               static_cast<DWORD>(dh), source.left, pictureHeight - source.bottom, 0,
                               static_cast<UINT>(pictureHeight), bits, bmi, DIB_RGB_COLORS);
  } else {
    result = StretchDIBits(hdc, destination.left, destination.top, dw, dh, source.left,
                           pictureHeight - source.bottom, sw, sh, bits, bmi, DIB_RGB_COLORS, SRCCOPY);
  }
  GlobalUnlock(handle);
  if (pal) SelectPalette(hdc, previous, FALSE);
  return result;
}

SIZE CDib::GetSize() const { return SIZE{GetDIBWidth(dib), GetDIBHeight(dib)}; }

void CDib::RebuildPalette() { SetPalette(displayDib ? CreateDIBPalette(displayDib) : nullptr); }

void CDib::SetDisplayDib(HGLOBAL handle) {
  if (displayDib && displayDib != dib && displayDib != handle) GlobalFree(displayDib);
  displayDib = handle;
}

void CDib::SetPalette(HPALETTE newPalette) {
  if (palette && palette != newPalette) DeleteObject(palette);
  palette = newPalette;
}

DWORD CDib::DisplaySize() const {
  const HeaderInfo info = ReadHeader(displayDib);
  if (!info.ok) return 0;
  if (info.h.biSizeImage) return info.h.biSizeImage;
  // Files may leave the image size 0 for uncompressed rows: the rows
  // still weigh what they weigh.
  if (info.h.biWidth < 1 || info.h.biHeight < 1) return 0;
  return static_cast<DWORD>(DibRowBytes(info.h.biWidth, info.h.biBitCount) * static_cast<DWORD_PTR>(info.h.biHeight));
}

BOOL CDib::CreateBuffer(int w, int h, int depth) {
  if (depth != 8) return 0;
  std::free(bufferInfo);
  std::free(bufferBits);
  bufferInfo = nullptr;
  bufferBits = nullptr;
  auto* info = static_cast<BITMAPINFOHEADER*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)));
  if (!info) return 0;
  info->biSize = sizeof(BITMAPINFOHEADER);
  info->biWidth = w;
  info->biHeight = h;
  info->biPlanes = 1;
  info->biBitCount = 8;
  if (w > 0 && h > 0) {
    if (w > kMaxDibDimension || h > kMaxDibDimension) {
      std::free(info);
      return 0;
    }
    bufferBits = static_cast<BYTE*>(std::calloc(DibRowBytes(w, 8) * static_cast<size_t>(h), 1));
    if (!bufferBits) {
      std::free(info);
      return 0;
    }
  }
  bufferInfo = info;
  return 1;
}

BOOL CDib::ResizeBuffer(int w, int h) {
  if (!bufferInfo) return 0;
  std::free(bufferBits);
  bufferBits = nullptr;
  if (w < 1 || h < 1 || w > kMaxDibDimension || h > kMaxDibDimension) return 0;
  bufferBits = static_cast<BYTE*>(std::malloc(DibRowBytes(w, 8) * static_cast<size_t>(h)));
  if (!bufferBits) return 0;
  bufferInfo->biWidth = w;
  bufferInfo->biHeight = h;
  return 1;
}
