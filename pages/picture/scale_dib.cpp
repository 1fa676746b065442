#include "pages/picture/scale_dib.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/dib_view.h"
#include "core/empty_dib.h"
#include "framework/app_services.h"
#include "pages/picture/dither_table.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

constexpr LONG kScaledXResolution = 39;

struct Bgr {
  BYTE b, g, r;
  bool operator==(const Bgr&) const = default;
};

// Reads pixels of an 8- or 24-bit source, colours through the table.
class SourcePixels {
 public:
  explicit SourcePixels(const DibView& view, int bits) : view_(view), bits_(bits) {}
  Bgr at(int x, int y) const {
    const BYTE* row = view_.row(y);
    if (bits_ == 24) return Bgr{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    const int count = view_.colorCount();
    if (count <= 0) return Bgr{0, 0, 0};
    int index = row[x];
    if (index >= count) index = count - 1;
    const RGBQUAD& c = view_.colors()[index];
    return Bgr{c.rgbBlue, c.rgbGreen, c.rgbRed};
  }

 private:
  const DibView& view_;
  int bits_;
};

HGLOBAL NewRgbDib(int width, int height, DWORD_PTR* rowBytes) {
  *rowBytes = DibRowBytes(width, 24);
  const DWORD_PTR image = *rowBytes * static_cast<DWORD_PTR>(height);
  HGLOBAL block = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + image);
  if (!block) return nullptr;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = 24;
  h->biSizeImage = static_cast<DWORD>(image);
  GlobalUnlock(block);
  return block;
}

void Bilinear(const SourcePixels& src, int sw, int sh, BYTE* out, DWORD_PTR rowBytes, int dw, int dh) {
  const CDitherTable& table = TheMainWindow();
  auto offset = [](int i, int s, int d, int c) {
    return static_cast<int>(std::int64_t(i) * s * 128 / d - std::int64_t(c) * 128 - 64);
  };
  std::vector<int> cxs(dw), nxs(dw), fxs(dw);
  for (int x = 0; x < dw; ++x) {
    const int cx = static_cast<int>(std::int64_t(x) * sw / dw);
    const int fx = offset(x, sw, dw, cx);
    cxs[x] = cx;
    fxs[x] = fx;
    nxs[x] = fx >= 0 ? (cx + 1 < sw ? cx + 1 : sw - 1) : (cx > 0 ? cx - 1 : 0);
  }
  for (int y = 0; y < dh; ++y) {
    const int cy = static_cast<int>(std::int64_t(y) * sh / dh);
    const int fy = offset(y, sh, dh, cy);
    int ny = cy;
    if (fy >= 0 && cy < sh - 1) ny = cy + 1;
    else if (fy < 0 && y >= 1 && cy >= 1) ny = cy - 1;
    BYTE* row = out + rowBytes * static_cast<DWORD_PTR>(y);
    const int wy = fy < 0 ? -fy : fy;
    for (int x = 0; x < dw; ++x) {
      const Bgr p = src.at(cxs[x], cy), h = src.at(nxs[x], cy), v = src.at(cxs[x], ny),
                d = src.at(nxs[x], ny);
      Bgr t = p;
      if (!(p == h && p == v && p == d)) {
        const int wx = fxs[x] < 0 ? -fxs[x] : fxs[x];
        const int wd = table.Scale(wx, wy), wv = table.Scale(wy, 127 - wx), wh = table.Scale(wx, 127 - wy);
        const int w0 = 127 - wh - wv - wd;
        auto mix = [&](BYTE a, BYTE b, BYTE c, BYTE e) {
          return static_cast<BYTE>((table.Scale(w0, a) + table.Scale(wh, b)) % 256 + table.Scale(wv, c) +
                                   table.Scale(wd, e));
        };
        t = Bgr{mix(p.b, h.b, v.b, d.b), mix(p.g, h.g, v.g, d.g), mix(p.r, h.r, v.r, d.r)};
      }
      row[3 * x] = t.b;
      row[3 * x + 1] = t.g;
      row[3 * x + 2] = t.r;
    }
  }
}

// Source column i goes to target column floor(i * dw / sw), so every source
// column and row lands in a target one and the last block is kept.
bool AreaAverage(const SourcePixels& src, int sw, int sh, BYTE* out, DWORD_PTR rowBytes, int dw, int dh) {
  std::vector<int> colTarget(static_cast<size_t>(sw) + 1);
  for (int i = 0; i <= sw; ++i) colTarget[i] = static_cast<int>(std::int64_t(i) * dw / sw);
  std::vector<std::uint32_t> sums(static_cast<size_t>(sw) * 3, 0);
  int gathered = 0, rowTarget = 0, written = 0;
  auto writeRow = [&]() {
    if (gathered == 0) return;
    if (written < dh) {
      BYTE* row = out + rowBytes * static_cast<DWORD_PTR>(written);
      int start = 0, x = 0;
      for (int i = 1; i <= sw; ++i) {
        if (i < sw && colTarget[i] == colTarget[start]) continue;
        if (x < dw) {
          const std::uint32_t cols = static_cast<std::uint32_t>(i - start);
          for (int c = 0; c < 3; ++c) {
            std::uint64_t s = 0;
            for (int k = start; k < i; ++k) s += sums[3 * k + c];
            row[3 * x + c] = static_cast<BYTE>(s / static_cast<std::uint64_t>(gathered) / cols);
          }
        }
        ++x;
        start = i;
      }
    }
    ++written;
    std::fill(sums.begin(), sums.end(), 0u);
    gathered = 0;
  };
  for (int y = 0; y <= sh; ++y) {
    const int target = static_cast<int>(std::int64_t(y) * dh / sh);
    if (gathered > 0 && target != rowTarget) writeRow();
    if (y == sh) break;
    rowTarget = target;
    for (int x = 0; x < sw; ++x) {
      const Bgr p = src.at(x, y);
      sums[3 * x] += p.b;
      sums[3 * x + 1] += p.g;
      sums[3 * x + 2] += p.r;
    }
    ++gathered;
  }
  return true;
}

}  // namespace

HGLOBAL ScaleDib(HGLOBAL source, int width, int height) {
  if (width < 1 || height < 1 || width > kMaxDibDimension || height > kMaxDibDimension) return nullptr;
  int bits = 24;
  {
    auto* h = source ? static_cast<const BITMAPINFOHEADER*>(GlobalLock(source)) : nullptr;
    if (!h) return nullptr;
    bits = GlobalSize(source) >= sizeof(BITMAPINFOHEADER) ? h->biBitCount : 0;
    GlobalUnlock(source);
  }
  if (bits != 8 && bits != 24) return nullptr;
  DibView view(source, bits);
  if (!view.ok()) return nullptr;
  DWORD_PTR rowBytes = 0;
  HGLOBAL result = NewRgbDib(width, height, &rowBytes);
  if (!result) {
    AppMessageBox("AFX_ERR_OUT_OF_MEM", MB_OK);
    return nullptr;
  }
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(result));
  header->biXPelsPerMeter = kScaledXResolution;
  BYTE* out = reinterpret_cast<BYTE*>(header + 1);
  const SourcePixels pixels(view, bits);
  const int sw = view.width(), sh = view.height();
  if (width >= sw || height >= sh)
    Bilinear(pixels, sw, sh, out, rowBytes, width, height);
  else
    AreaAverage(pixels, sw, sh, out, rowBytes, width, height);
  GlobalUnlock(result);
  return result;
}

HGLOBAL WidenDibTo24(HGLOBAL source) {
  if (!source || GlobalSize(source) < sizeof(BITMAPINFOHEADER)) return nullptr;
  const DWORD_PTR size = GlobalSize(source);
  const auto* base = static_cast<const BYTE*>(GlobalLock(source));
  if (!base) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, base, sizeof h);
  HGLOBAL result = nullptr;
  const bool fields = h.biCompression == BI_BITFIELDS;
  const bool shapeOk = h.biSize >= sizeof(BITMAPINFOHEADER) && h.biSize <= 1024 &&
                       (h.biBitCount == 16 || h.biBitCount == 32) &&
                       (h.biCompression == BI_RGB || fields) && h.biWidth >= 1 &&
                       h.biWidth <= kMaxDibDimension && h.biHeight >= 1 &&
                       h.biHeight <= kMaxDibDimension && h.biClrUsed <= 256;
  if (shapeOk) {
    // Masks follow a 40-byte header; then any colour table the writer kept.
    DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (h.biBitCount == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    DWORD_PTR offset = h.biSize;
    if (fields) {
      if (offset + 12 <= size) std::memcpy(masks, base + offset, 12);
      offset += 12;
    }
    offset += DWORD_PTR{h.biClrUsed} * 4;
    const int w = h.biWidth, ht = h.biHeight;
    const DWORD_PTR srcRow = DibRowBytes(w, h.biBitCount);
    if (offset + srcRow * static_cast<DWORD_PTR>(ht) <= size) {
      DWORD_PTR rowBytes = 0;
      result = NewRgbDib(w, ht, &rowBytes);
      if (result) {
        auto* out = static_cast<BYTE*>(GlobalLock(result)) + sizeof(BITMAPINFOHEADER);
        // A channel of a mask scaled to 8 bits.
        auto channel = [](DWORD px, DWORD mask) -> BYTE {
          if (!mask) return 0;
          int shift = 0;
          while (!((mask >> shift) & 1)) ++shift;
          const DWORD maxv = mask >> shift;
          const DWORD v = (px & mask) >> shift;
          return static_cast<BYTE>(maxv ? v * 255 / maxv : 0);
        };
        for (int y = 0; y < ht; ++y) {
          const BYTE* s = base + offset + srcRow * static_cast<DWORD_PTR>(y);
          BYTE* d = out + rowBytes * static_cast<DWORD_PTR>(y);
          for (int x = 0; x < w; ++x) {
            DWORD px;
            if (h.biBitCount == 16) px = DWORD{s[2 * x]} | DWORD{s[2 * x + 1]} << 8;
            else std::memcpy(&px, s + 4 * x, 4);
            d[3 * x] = channel(px, masks[2]);
            d[3 * x + 1] = channel(px, masks[1]);
            d[3 * x + 2] = channel(px, masks[0]);
          }
        }
        GlobalUnlock(result);
      }
    }
  }
  GlobalUnlock(source);
  return result;
}

namespace {

constexpr DWORD kBmpFileHeader = 14;
constexpr DWORD kMaxBmpFile = 256u * 1024 * 1024;

bool ReadWholeFile(const char* fileName, std::vector<BYTE>& out) {
  FILE* f = fileName ? win_fopen(fileName, "rb") : nullptr;
  if (!f) return false;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  bool ok = size > 0 && static_cast<unsigned long>(size) <= kMaxBmpFile;
  if (ok) {
    out.resize(static_cast<size_t>(size));
    ok = std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  return ok;
}

}  // namespace

int BmpFileBitCount(const char* fileName) {
  FILE* f = fileName ? win_fopen(fileName, "rb") : nullptr;
  if (!f) return 0;
  BYTE head[kBmpFileHeader + sizeof(BITMAPINFOHEADER)] = {};
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  if (n < sizeof head || head[0] != 'B' || head[1] != 'M') return 0;
  BITMAPINFOHEADER h;
  std::memcpy(&h, head + kBmpFileHeader, sizeof h);
  return h.biSize >= sizeof(BITMAPINFOHEADER) ? h.biBitCount : 0;
}

HGLOBAL ReadDeepBmpFile(const char* fileName) {
  std::vector<BYTE> file;
  if (!ReadWholeFile(fileName, file) || file.size() < kBmpFileHeader + sizeof(BITMAPINFOHEADER)) return nullptr;
  DWORD bitsOffset;
  std::memcpy(&bitsOffset, file.data() + 10, 4);
  BITMAPINFOHEADER h;
  std::memcpy(&h, file.data() + kBmpFileHeader, sizeof h);
  if ((h.biBitCount != 16 && h.biBitCount != 32) || h.biSize < sizeof h || h.biSize > 1024 ||
      h.biClrUsed > 256 || h.biWidth < 1 || h.biHeight < 1 || h.biWidth > kMaxDibDimension ||
      h.biHeight > kMaxDibDimension)
    return nullptr;
  // The packed form: the header, the masks when there are fields, then the
  // rows from where the file says they start.
  const DWORD masks = h.biCompression == BI_BITFIELDS ? 12 : 0;
  const DWORD_PTR rows = DibRowBytes(h.biWidth, h.biBitCount) * static_cast<DWORD_PTR>(h.biHeight);
  if (kBmpFileHeader + DWORD_PTR{h.biSize} + masks > file.size() || bitsOffset > file.size() ||
      file.size() - bitsOffset < rows)
    return nullptr;
  HGLOBAL packed = GlobalAlloc(GHND, sizeof h + masks + rows);
  if (!packed) return nullptr;
  auto* p = static_cast<BYTE*>(GlobalLock(packed));
  BITMAPINFOHEADER header = h;
  header.biSize = sizeof h;
  header.biClrUsed = 0;
  std::memcpy(p, &header, sizeof header);
  if (masks) std::memcpy(p + sizeof h, file.data() + kBmpFileHeader + h.biSize, masks);
  std::memcpy(p + sizeof h + masks, file.data() + bitsOffset, rows);
  GlobalUnlock(packed);
  HGLOBAL wide = WidenDibTo24(packed);
  GlobalFree(packed);
  return wide;
}
