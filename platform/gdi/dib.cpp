#include "gdi/dib.h"

#include <bit>
#include <cstring>
#include <unordered_map>

#include "gdi/color.h"
#include "gdi/dc_internal.h"
#include "gdi/vector_width.h"

namespace win::gdi {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

// One channel of a bit-field pixel, scaled to 0..255.
std::uint32_t Channel(std::uint32_t px, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  std::uint32_t m = mask >> shift;
  std::uint32_t v = (px >> shift) & m;
  int n = std::popcount(m);
  if (n >= 8) return v >> (n - 8);
  // Repeat the bits to fill eight (5 bits abcde give abcdeabc).
  std::uint32_t out = 0;
  for (int s = 8 - n; s > -n; s -= n) out |= s >= 0 ? v << s : v >> -s;
  return out & 0xFF;
}

std::uint32_t ToField(std::uint32_t v8, std::uint32_t mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  std::uint32_t m = mask >> shift;
  std::uint32_t v = std::uint32_t((std::uint64_t(v8) * m + 127) / 255);
  return (v & m) << shift;
}

// 24-bit pixels as 0x00RRGGBB: four bytes read at a time but for the last
// pixel, whose fourth byte may lie past the bits.
ZEMRA_VECTOR_BODY void Widen24Body(const std::uint8_t* q, int n, std::uint32_t* out) {
  if (n <= 0) return;
  for (int i = 0; i + 1 < n; ++i) {
    std::uint32_t v;
    std::memcpy(&v, q + std::size_t(i) * 3, 4);
    out[i] = v & 0xFFFFFFu;
  }
  const std::uint8_t* last = q + std::size_t(n - 1) * 3;
  out[n - 1] = (std::uint32_t(last[2]) << 16) | (std::uint32_t(last[1]) << 8) | last[0];
}
ZEMRA_VECTOR_VERSIONS(Widen24, Widen24Body,
                      (const std::uint8_t* q, int n, std::uint32_t* out),
                      (q, n, out))

// Indexes through a table of all 256 entries.
ZEMRA_VECTOR_BODY void LookUp8Body(const std::uint8_t* q, int n, const std::uint32_t* lut, std::uint32_t* out) {
  for (int i = 0; i < n; ++i) out[i] = lut[q[i]];
}
ZEMRA_VECTOR_VERSIONS(LookUp8, LookUp8Body,
                      (const std::uint8_t* q, int n, const std::uint32_t* lut, std::uint32_t* out),
                      (q, n, lut, out))

}  // namespace

bool ParseDib(const BITMAPINFOHEADER* h, DibInfo& out) {
  if (!h) return false;
  out = DibInfo{};
  DWORD size = h->biSize;
  if (size != 40 && size != 52 && size != 56 && size != 108 && size != 124) return false;
  if (h->biPlanes != 1) return false;
  std::int64_t width = h->biWidth;
  std::int64_t height = h->biHeight;
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 1 || width > ZEMRA_GDI_MAX_SIDE || height < 1 || height > ZEMRA_GDI_MAX_SIDE) {
    return false;
  }
  int bits = h->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  DWORD comp = h->biCompression;
  switch (comp) {
    case BI_RGB: break;
    case BI_RLE8: if (bits != 8 || topDown) return false; break;
    case BI_RLE4: if (bits != 4 || topDown) return false; break;
    case BI_BITFIELDS: if (bits != 16 && bits != 32) return false; break;
    default: return false;
  }
  // Drawing may expand the picture to 4 bytes a pixel (or 2 for RLE).
  if (std::uint64_t(width) * std::uint64_t(height) * 4 > ZEMRA_GDI_MAX_BYTES) return false;
  std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
  std::uint64_t need = stride * std::uint64_t(height);
  if (need > ZEMRA_GDI_MAX_BYTES) return false;
  std::uint64_t imageBytes = need;
  if (comp == BI_RLE8 || comp == BI_RLE4) {
    if (h->biSizeImage == 0 || h->biSizeImage > ZEMRA_GDI_MAX_BYTES) return false;
    imageBytes = h->biSizeImage;
  } else if (h->biSizeImage != 0 && h->biSizeImage < need) {
    return false;  // the image size says the bits are shorter than the rows
  }
  std::size_t tableOffset = size;
  if (comp == BI_BITFIELDS) {
    const std::uint8_t* p = reinterpret_cast<const std::uint8_t*>(h) + 40;
    out.masks[0] = Le32(p);
    out.masks[1] = Le32(p + 4);
    out.masks[2] = Le32(p + 8);
    if (size == 40) tableOffset += 12;
    if (!out.masks[0] || !out.masks[1] || !out.masks[2]) return false;
  } else if (bits == 16) {
    out.masks[0] = 0x7C00;
    out.masks[1] = 0x03E0;
    out.masks[2] = 0x001F;
  } else if (bits == 32) {
    out.masks[0] = 0xFF0000;
    out.masks[1] = 0x00FF00;
    out.masks[2] = 0x0000FF;
  }
  int entries;
  if (bits <= 8) {
    std::uint32_t full = 1u << bits;
    entries = int(h->biClrUsed == 0 || h->biClrUsed > full ? full : h->biClrUsed);
  } else {
    if (h->biClrUsed > 256) return false;
    entries = int(h->biClrUsed);
  }
  out.width = int(width);
  out.height = int(height);
  out.topDown = topDown;
  out.bitCount = bits;
  out.compression = comp;
  out.headerSize = size;
  out.tableOffset = tableOffset;
  out.tableEntries = entries;
  out.stride = std::size_t(stride);
  out.imageBytes = std::size_t(imageBytes);
  return true;
}

std::size_t PackedBitsOffset(const DibInfo& dib) {
  return dib.tableOffset + std::size_t(dib.tableEntries) * 4;
}

void DecodeRow(const DibInfo& dib, const std::uint8_t* bits, int row, int x0, int n,
               const std::uint32_t* lut, int lutSize, std::uint32_t* out) {
  const std::uint8_t* p = bits + std::size_t(row) * dib.stride;
  auto index = [&](unsigned i) { return int(i) < lutSize ? lut[i] : 0u; };
  switch (dib.bitCount) {
    case 1:
      for (int i = 0; i < n; ++i) {
        int x = x0 + i;
        out[i] = index((p[x >> 3] >> (7 - (x & 7))) & 1);
      }
      return;
    case 4:
      for (int i = 0; i < n; ++i) {
        int x = x0 + i;
        std::uint8_t b = p[x >> 1];
        out[i] = index((x & 1) ? (b & 0x0F) : (b >> 4));
      }
      return;
    case 8:
      if (lutSize >= 256) {
        LookUp8(p + x0, n, lut, out);
        return;
      }
      for (int i = 0; i < n; ++i) out[i] = index(p[x0 + i]);
      return;
    case 16:
      for (int i = 0; i < n; ++i) {
        const std::uint8_t* q = p + std::size_t(x0 + i) * 2;
        std::uint32_t v = std::uint32_t(q[0]) | (std::uint32_t(q[1]) << 8);
        out[i] = (Channel(v, dib.masks[0]) << 16) | (Channel(v, dib.masks[1]) << 8) |
                 Channel(v, dib.masks[2]);
      }
      return;
    case 24:
      Widen24(p + std::size_t(x0) * 3, n, out);
      return;
    case 32:
      if (dib.masks[0] == 0xFF0000 && dib.masks[1] == 0xFF00 && dib.masks[2] == 0xFF) {
        for (int i = 0; i < n; ++i) out[i] = Le32(p + std::size_t(x0 + i) * 4) & 0xFFFFFFu;
      } else {
        for (int i = 0; i < n; ++i) {
          std::uint32_t v = Le32(p + std::size_t(x0 + i) * 4);
          out[i] = (Channel(v, dib.masks[0]) << 16) | (Channel(v, dib.masks[1]) << 8) |
                   Channel(v, dib.masks[2]);
        }
      }
      return;
    default:
      std::fill_n(out, n, 0u);
  }
}

std::vector<std::uint32_t> DibColorTable(const BITMAPINFO* info, const DibInfo& dib, UINT usage,
                                         const DcRecord* dc) {
  std::vector<std::uint32_t> lut(std::size_t(dib.tableEntries), 0u);
  if (dib.bitCount > 8) return lut;
  const std::uint8_t* t = reinterpret_cast<const std::uint8_t*>(info) + dib.tableOffset;
  if (usage == DIB_PAL_COLORS) {
    for (int i = 0; i < dib.tableEntries; ++i) {
      WORD idx = WORD(t[i * 2] | (t[i * 2 + 1] << 8));
      lut[i] = dc ? ResolveRgb(*dc, PALETTEINDEX(idx)) : 0u;
    }
  } else {
    for (int i = 0; i < dib.tableEntries; ++i) {
      const std::uint8_t* q = t + i * 4;
      lut[i] = (std::uint32_t(q[2]) << 16) | (std::uint32_t(q[1]) << 8) | q[0];
    }
  }
  return lut;
}

bool ExpandRle(const DibInfo& dib, const std::uint8_t* bits, std::vector<std::uint8_t>& indexes,
               std::vector<std::uint8_t>& written) {
  if (!bits || (dib.compression != BI_RLE8 && dib.compression != BI_RLE4)) return false;
  const std::size_t w = std::size_t(dib.width), h = std::size_t(dib.height);
  indexes.assign(w * h, 0);
  written.assign(w * h, 0);
  const bool four = dib.compression == BI_RLE4;
  std::size_t pos = 0, end = dib.imageBytes;
  std::size_t x = 0, y = 0;
  auto put = [&](std::uint8_t v) {
    if (x < w && y < h) {
      indexes[y * w + x] = v;
      written[y * w + x] = 1;
    }
    ++x;
  };
  while (pos + 2 <= end && y < h) {
    std::uint8_t count = bits[pos], value = bits[pos + 1];
    pos += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) {
        put(four ? std::uint8_t((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move
      if (pos + 2 > end) break;
      x += bits[pos];
      y += bits[pos + 1];
      pos += 2;
    } else {  // absolute run of `value` pixels, padded to an even byte count
      std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : value;
      if (pos + bytes > end) break;
      for (unsigned i = 0; i < value; ++i) {
        std::uint8_t b = bits[pos + (four ? i / 2 : i)];
        put(four ? std::uint8_t((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
      }
      pos += bytes + (bytes & 1);
    }
  }
  return true;
}

void EncodeRow(const DibInfo& dib, std::uint8_t* bits, int row, const std::uint32_t* px,
               const std::uint32_t* lut, int lutSize) {
  std::uint8_t* p = bits + std::size_t(row) * dib.stride;
  const int n = dib.width;
  if (dib.bitCount <= 8) {
    std::unordered_map<std::uint32_t, int> exact;
    for (int i = lutSize - 1; i >= 0; --i) exact[lut[i]] = i;  // the first index wins
    std::unordered_map<std::uint32_t, int> cache;
    auto nearest = [&](std::uint32_t c) {
      auto e = exact.find(c);
      if (e != exact.end()) return e->second;
      auto k = cache.find(c);
      if (k != cache.end()) return k->second;
      int best = 0;
      std::uint32_t bestD = 0xFFFFFFFFu;
      for (int i = 0; i < lutSize; ++i) {
        int dr = int((c >> 16) & 0xFF) - int((lut[i] >> 16) & 0xFF);
        int dg = int((c >> 8) & 0xFF) - int((lut[i] >> 8) & 0xFF);
        int db = int(c & 0xFF) - int(lut[i] & 0xFF);
        std::uint32_t d = std::uint32_t(dr * dr + dg * dg + db * db);
        if (d < bestD) {
          bestD = d;
          best = i;
        }
      }
      cache[c] = best;
      return best;
    };
    if (dib.bitCount == 8) {
      for (int x = 0; x < n; ++x) p[x] = std::uint8_t(nearest(px[x] & 0xFFFFFF));
    } else if (dib.bitCount == 4) {
      std::memset(p, 0, dib.stride);
      for (int x = 0; x < n; ++x) {
        int v = nearest(px[x] & 0xFFFFFF) & 0x0F;
        p[x >> 1] |= std::uint8_t((x & 1) ? v : (v << 4));
      }
    } else {
      std::memset(p, 0, dib.stride);
      for (int x = 0; x < n; ++x) {
        if (nearest(px[x] & 0xFFFFFF) & 1) p[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
      }
    }
    return;
  }
  for (int x = 0; x < n; ++x) {
    std::uint32_t c = px[x];
    std::uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    if (dib.bitCount == 24) {
      p[x * 3] = std::uint8_t(b);
      p[x * 3 + 1] = std::uint8_t(g);
      p[x * 3 + 2] = std::uint8_t(r);
    } else {
      std::uint32_t v = ToField(r, dib.masks[0]) | ToField(g, dib.masks[1]) | ToField(b, dib.masks[2]);
      if (dib.bitCount == 16) {
        p[x * 2] = std::uint8_t(v);
        p[x * 2 + 1] = std::uint8_t(v >> 8);
      } else {
        for (int k = 0; k < 4; ++k) p[x * 4 + k] = std::uint8_t(v >> (8 * k));
      }
    }
  }
}

}  // namespace win::gdi
