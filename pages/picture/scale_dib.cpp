#include "pages/picture/scale_dib.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "core/dib_view.h"
#include "core/empty_dib.h"
#include "framework/app_services.h"
#include "gdi/vector_width.h"
#include "pages/picture/dither_table.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {

constexpr LONG kScaledXResolution = 39;

ZEMRA_WIDEST_VECTORS
void PackWords(const BYTE* row, int n, std::uint32_t* out) {
  for (int x = 0; x < n; ++x) {
    std::uint32_t v;
    std::memcpy(&v, row + 3 * static_cast<size_t>(x), 4);
    out[x] = v & 0xFFFFFF;
  }
}

// Source pixels packed as blue | green << 8 | red << 16, a row at a time:
// an 8-bit source goes through its colour table once per colour.
class SourcePixels {
 public:
  SourcePixels(const DibView& view, int bits) : view_(view), bits_(bits) {
    if (bits_ == 24) return;
    const int count = view_.colorCount();
    for (int i = 0; i < 256; ++i) {
      if (count <= 0) {
        colors_[i] = 0;
        continue;
      }
      // An index beyond the table takes its last colour.
      const RGBQUAD& c = view_.colors()[i < count ? i : count - 1];
      colors_[i] = std::uint32_t{c.rgbBlue} | std::uint32_t{c.rgbGreen} << 8 | std::uint32_t{c.rgbRed} << 16;
    }
  }
  // out[x] = the pixel at (x, y) for x < width.
  void PackRow(int y, int width, std::uint32_t* out) const {
    const BYTE* row = view_.row(y);
    if (bits_ == 8) {
      for (int x = 0; x < width; ++x) out[x] = colors_[row[x]];
      return;
    }
    // Four bytes at a time where the fourth is still inside the picture.
    int whole = width;
    if (y == view_.height() - 1 && DibRowBytes(width, 24) < 3 * static_cast<DWORD_PTR>(width) + 1) --whole;
    PackWords(row, whole, out);
    for (int x = whole; x < width; ++x)
      out[x] = std::uint32_t{row[3 * x]} | std::uint32_t{row[3 * x + 1]} << 8 | std::uint32_t{row[3 * x + 2]} << 16;
  }
  // Adds row y's channels to sums (blue, green, red per column).
  ZEMRA_WIDEST_VECTORS
  void Accumulate(int y, int width, std::uint32_t* sums) const {
    const BYTE* row = view_.row(y);
    if (bits_ == 24) {
      for (int i = 0; i < 3 * width; ++i) sums[i] += row[i];
      return;
    }
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colors_[row[x]];
      sums[3 * x] += c & 0xFF;
      sums[3 * x + 1] += (c >> 8) & 0xFF;
      sums[3 * x + 2] += c >> 16;
    }
  }

 private:
  const DibView& view_;
  int bits_;
  std::uint32_t colors_[256] = {};
};

// A 24-bit DIB whose rows the caller fills whole: only the header and the
// padding at the end of each row are cleared here, not the pixels that are
// about to be written.
HGLOBAL NewRgbDib(int width, int height, DWORD_PTR* rowBytes) {
  *rowBytes = DibRowBytes(width, 24);
  const DWORD_PTR image = *rowBytes * static_cast<DWORD_PTR>(height);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + image);
  if (!block) return nullptr;
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  std::memset(h, 0, sizeof *h);
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = 24;
  h->biSizeImage = static_cast<DWORD>(image);
  const DWORD_PTR used = 3 * static_cast<DWORD_PTR>(width);
  auto* rows = reinterpret_cast<BYTE*>(h + 1);
  if (used < *rowBytes)
    for (int y = 0; y < height; ++y) std::memset(rows + *rowBytes * static_cast<DWORD_PTR>(y) + used, 0, *rowBytes - used);
  GlobalUnlock(block);
  return block;
}

// The display's scale table, Scale(weight, v), is (v * weight) >> 7 once it
// is built: then the weights are computed rather than looked up, which lets
// the compiler work on several pixels at once. Before it is built it is
// all zeros, and is read as it stands.
bool ScaleTableIsProduct(const CDitherTable& table) {
  for (int w = 0; w < CDitherTable::kScaleRows; ++w)
    for (int v = 0; v < 256; ++v)
      if (table.Scale(w, v) != ((v * w) >> 7)) return false;
  return true;
}

// A source row gathered at the columns of the target: `near` at the
// nearest column of each target pixel and `next` at its neighbour.
struct GatheredRow {
  int row = -1;
  std::vector<std::uint32_t> near, next;
};

ZEMRA_WIDEST_VECTORS
void GatherColumns(const std::uint32_t* packed, const int* cxs, const int* nxs, int n, std::uint32_t* near,
                   std::uint32_t* next) {
  for (int x = 0; x < n; ++x) {
    near[x] = packed[cxs[x]];
    next[x] = packed[nxs[x]];
  }
}

// Target pixels packed as words into a row of three bytes each: four
// pixels make three words.
ZEMRA_WIDEST_VECTORS
void UnpackRow(const std::uint32_t* in, int n, BYTE* row) {
  int x = 0;
  for (; x + 4 <= n; x += 4) {
    const std::uint32_t a = in[x], b = in[x + 1], c = in[x + 2], d = in[x + 3];
    const std::uint32_t w0 = a | b << 24, w1 = b >> 8 | c << 16, w2 = c >> 16 | d << 8;
    BYTE* q = row + 3 * static_cast<size_t>(x);
    std::memcpy(q, &w0, 4);
    std::memcpy(q + 4, &w1, 4);
    std::memcpy(q + 8, &w2, 4);
  }
  for (; x < n; ++x) {
    row[3 * x] = static_cast<BYTE>(in[x]);
    row[3 * x + 1] = static_cast<BYTE>(in[x] >> 8);
    row[3 * x + 2] = static_cast<BYTE>(in[x] >> 16);
  }
}

// One target row of the bilinear blend: a, b the gathered rows of the
// nearest source row and its neighbour; wy the row's weight. A pixel whose
// four source pixels agree keeps their colour. Each channel is the sum of
// the four scaled channels, modulo 256.
template <bool kProduct>
inline void BlendRow(const CDitherTable& table, const GatheredRow& a, const GatheredRow& b, const int* wxs, int wy,
                     int dw, std::uint32_t* out) {
  const std::uint32_t* pp = a.near.data();
  const std::uint32_t* hh = a.next.data();
  const std::uint32_t* vv = b.near.data();
  const std::uint32_t* dd = b.next.data();
  const auto uy = static_cast<std::uint32_t>(wy);
  for (int x = 0; x < dw; ++x) {
    const std::uint32_t p = pp[x], h = hh[x], v = vv[x], d = dd[x];
    std::uint32_t t = 0;
    if constexpr (kProduct) {
      // (c * w) >> 7 for red and blue side by side in one word: each
      // product is below 2^15, so neither disturbs the other, and the
      // sums of four stay below 2^10.
      const auto ux = static_cast<std::uint32_t>(wxs[x]);
      const std::uint32_t wd = (ux * uy) >> 7, wv = (uy * (127 - ux)) >> 7, wh = (ux * (127 - uy)) >> 7;
      const std::uint32_t w0 = 127 - wh - wv - wd;
      auto rb = [](std::uint32_t c, std::uint32_t w) { return (((c & 0xFF00FF) * w) >> 7) & 0xFF00FF; };
      auto g = [](std::uint32_t c, std::uint32_t w) { return (((c >> 8) & 0xFF) * w) >> 7; };
      const std::uint32_t sumRb = rb(p, w0) + rb(h, wh) + rb(v, wv) + rb(d, wd);
      const std::uint32_t sumG = g(p, w0) + g(h, wh) + g(v, wv) + g(d, wd);
      t = (sumRb & 0xFF00FF) | (sumG & 0xFF) << 8;
    } else {
      const int wx = wxs[x];
      const int wd = table.Scale(wx, wy), wv = table.Scale(wy, 127 - wx), wh = table.Scale(wx, 127 - wy);
      const int w0 = 127 - wh - wv - wd;
      for (int shift = 0; shift < 24; shift += 8) {
        const int c = table.Scale(w0, (p >> shift) & 0xFF) + table.Scale(wh, (h >> shift) & 0xFF) +
                      table.Scale(wv, (v >> shift) & 0xFF) + table.Scale(wd, (d >> shift) & 0xFF);
        t |= static_cast<std::uint32_t>(c & 0xFF) << shift;
      }
    }
    out[x] = (p == h && p == v && p == d) ? p : t;
  }
}

ZEMRA_WIDEST_VECTORS
void BlendRowByProduct(const CDitherTable& table, const GatheredRow& a, const GatheredRow& b, const int* wxs,
                       int wy, int dw, std::uint32_t* out) {
  BlendRow<true>(table, a, b, wxs, wy, dw, out);
}

template <bool kProduct>
void Bilinear(const SourcePixels& src, int sw, int sh, BYTE* out, DWORD_PTR rowBytes, int dw, int dh) {
  const CDitherTable& table = TheMainWindow();
  auto offset = [](int i, int s, int d, int c) {
    return static_cast<int>(std::int64_t(i) * s * 128 / d - std::int64_t(c) * 128 - 64);
  };
  std::vector<int> cxs(dw), nxs(dw), wxs(dw);
  for (int x = 0; x < dw; ++x) {
    const int cx = static_cast<int>(std::int64_t(x) * sw / dw);
    const int fx = offset(x, sw, dw, cx);
    cxs[x] = cx;
    wxs[x] = fx < 0 ? -fx : fx;
    nxs[x] = fx >= 0 ? (cx + 1 < sw ? cx + 1 : sw - 1) : (cx > 0 ? cx - 1 : 0);
  }
  GatheredRow slots[2];
  for (GatheredRow& g : slots) g.near.resize(dw), g.next.resize(dw);
  std::vector<std::uint32_t> packed(sw);
  // The gathered row `row`, loaded into the slot that does not hold `keep`.
  auto gathered = [&](int row, int keep) -> const GatheredRow& {
    for (GatheredRow& g : slots)
      if (g.row == row) return g;
    GatheredRow& g = slots[0].row == keep ? slots[1] : slots[0];
    src.PackRow(row, sw, packed.data());
    GatherColumns(packed.data(), cxs.data(), nxs.data(), dw, g.near.data(), g.next.data());
    g.row = row;
    return g;
  };
  std::vector<std::uint32_t> blended(dw);
  for (int y = 0; y < dh; ++y) {
    const int cy = static_cast<int>(std::int64_t(y) * sh / dh);
    const int fy = offset(y, sh, dh, cy);
    int ny = cy;
    if (fy >= 0 && cy < sh - 1) ny = cy + 1;
    else if (fy < 0 && y >= 1 && cy >= 1) ny = cy - 1;
    const GatheredRow& a = gathered(cy, ny);
    const GatheredRow& b = gathered(ny, cy);
    const int wy = fy < 0 ? -fy : fy;
    if constexpr (kProduct) BlendRowByProduct(table, a, b, wxs.data(), wy, dw, blended.data());
    else BlendRow<false>(table, a, b, wxs.data(), wy, dw, blended.data());
    UnpackRow(blended.data(), dw, out + rowBytes * static_cast<DWORD_PTR>(y));
  }
}

// One target row of block means: out[i] = floor(sums[i] / counts[i]) for
// i < n, through a reciprocal (`inverses[i]` = 1 / counts[i]) whose
// quotient is off by at most one and then set right.
template <typename Sum, typename Real>
inline void DivideRow(const Sum* sums, const Sum* counts, const Real* inverses, int n, BYTE* out) {
  for (int i = 0; i < n; ++i) {
    const Sum s = sums[i], count = counts[i];
    Sum q = static_cast<Sum>(static_cast<Real>(s) * inverses[i]);
    q -= q * count > s ? 1 : 0;
    q += (q + 1) * count <= s ? 1 : 0;
    out[i] = static_cast<BYTE>(q);
  }
}

ZEMRA_WIDEST_VECTORS
void DivideRowNarrow(const std::uint32_t* sums, const std::uint32_t* counts, const float* inverses, int n,
                     BYTE* out) {
  DivideRow(sums, counts, inverses, n, out);
}

// Source column i goes to target column floor(i * dw / sw), so every source
// column and row lands in a target one and the last block is kept. A target
// pixel is the mean of its block, rounded down. `Sum` holds the sum of a
// block's channel; `Real` finds the quotient to within one.
template <typename Sum, typename Real>
void AreaAverage(const SourcePixels& src, int sw, int sh, BYTE* out, DWORD_PTR rowBytes, int dw, int dh) {
  // Shrinking in both directions, every target column takes at least one
  // source column: column x's block is [starts[x], starts[x + 1]).
  std::vector<int> starts(static_cast<size_t>(dw) + 1, sw);
  for (int i = sw - 1; i >= 0; --i) starts[static_cast<size_t>(std::int64_t(i) * dw / sw)] = i;
  const size_t n = 3 * static_cast<size_t>(dw);
  std::vector<std::uint32_t> sums(static_cast<size_t>(sw) * 3, 0);
  std::vector<Sum> blockSums(n), counts(n);
  std::vector<Real> inverses(n);
  int gathered = 0, written = 0, rowTarget = 0, countsFor = 0;
  auto writeRow = [&]() {
    if (countsFor != gathered) {
      for (int x = 0; x < dw; ++x) {
        const Sum count = static_cast<Sum>(gathered) * static_cast<Sum>(starts[x + 1] - starts[x]);
        for (int c = 0; c < 3; ++c) {
          counts[3 * x + c] = count;
          inverses[3 * x + c] = Real(1) / static_cast<Real>(count);
        }
      }
      countsFor = gathered;
    }
    for (int x = 0; x < dw; ++x) {
      Sum b = 0, g = 0, r = 0;
      for (int k = starts[x]; k < starts[x + 1]; ++k) {
        b += sums[3 * static_cast<size_t>(k)];
        g += sums[3 * static_cast<size_t>(k) + 1];
        r += sums[3 * static_cast<size_t>(k) + 2];
      }
      blockSums[3 * x] = b, blockSums[3 * x + 1] = g, blockSums[3 * x + 2] = r;
    }
    BYTE* row = out + rowBytes * static_cast<DWORD_PTR>(written);
    if constexpr (std::is_same_v<Sum, std::uint32_t>)
      DivideRowNarrow(blockSums.data(), counts.data(), inverses.data(), static_cast<int>(n), row);
    else
      DivideRow(blockSums.data(), counts.data(), inverses.data(), static_cast<int>(n), row);
    ++written;
    std::fill(sums.begin(), sums.end(), 0u);
    gathered = 0;
  };
  for (int y = 0; y < sh; ++y) {
    const int target = static_cast<int>(std::int64_t(y) * dh / sh);
    if (gathered > 0 && target != rowTarget) writeRow();
    rowTarget = target;
    src.Accumulate(y, sw, sums.data());
    ++gathered;
  }
  if (gathered > 0 && written < dh) writeRow();
}

// Blocks of up to 65536 pixels, as any display shrink has, sum below 2^24:
// 32-bit sums, exact as floats. Larger ones take 64 bits and doubles.
void AreaAverage(const SourcePixels& src, int sw, int sh, BYTE* out, DWORD_PTR rowBytes, int dw, int dh) {
  const std::uint64_t largestBlock = std::uint64_t(sw / dw + 1) * std::uint64_t(sh / dh + 1);
  if (largestBlock <= 65536)
    AreaAverage<std::uint32_t, float>(src, sw, sh, out, rowBytes, dw, dh);
  else
    AreaAverage<std::uint64_t, double>(src, sw, sh, out, rowBytes, dw, dh);
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
  if (width >= sw || height >= sh) {
    if (ScaleTableIsProduct(TheMainWindow()))
      Bilinear<true>(pixels, sw, sh, out, rowBytes, width, height);
    else
      Bilinear<false>(pixels, sw, sh, out, rowBytes, width, height);
  } else {
    AreaAverage(pixels, sw, sh, out, rowBytes, width, height);
  }
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
