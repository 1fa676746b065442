// Builds packed DIBs for the tests: any depth, either row order, colour
// tables of RGB entries or palette indexes, and the pixel each position
// should show.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "win/gdi.h"

namespace gdi_test {

struct TestDib {
  std::vector<std::uint8_t> block;  // header, colour table, bits
  int width = 0, height = 0, bits = 0;
  bool topDown = false;
  std::vector<std::uint32_t> values;  // per pixel (top row first): index or 0x00RRGGBB
  std::vector<RGBQUAD> table;

  BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(block.data()); }
  BITMAPINFOHEADER& header() { return *reinterpret_cast<BITMAPINFOHEADER*>(block.data()); }
  std::size_t tableBytes() const { return table.size() * (palIndexes ? 2 : 4); }
  std::uint8_t* pixelBits() { return block.data() + 40 + tableBytes(); }
  std::size_t stride() const { return ((std::size_t(width) * bits + 31) / 32) * 4; }
  bool palIndexes = false;

  // The colour a pixel should show (DIB_RGB_COLORS), 0x00BBGGRR.
  COLORREF ColorAt(int x, int y) const {
    std::uint32_t v = values[std::size_t(y) * width + x];
    if (bits <= 8) {
      const RGBQUAD& q = table[v];
      return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
};

// `value(x, y)` gives the index (<= 8 bits) or the 0x00RRGGBB colour (more
// bits; 16-bit colours are cut to 5 bits per channel first).
inline TestDib MakeDib(int width, int height, int bits, bool topDown,
                       const std::function<std::uint32_t(int, int)>& value,
                       const std::vector<RGBQUAD>& table = {}, bool palIndexes = false) {
  TestDib d;
  d.width = width;
  d.height = height;
  d.bits = bits;
  d.topDown = topDown;
  d.table = table;
  d.palIndexes = palIndexes;
  std::size_t stride = d.stride();
  d.block.assign(40 + d.tableBytes() + stride * height, 0);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = topDown ? -height : height;
  h.biPlanes = 1;
  h.biBitCount = WORD(bits);
  h.biCompression = BI_RGB;
  h.biSizeImage = DWORD(stride * height);
  h.biClrUsed = DWORD(table.size());
  std::memcpy(d.block.data(), &h, 40);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (palIndexes) {
      d.block[40 + i * 2] = std::uint8_t(i);
      d.block[40 + i * 2 + 1] = std::uint8_t(i >> 8);
    } else {
      std::memcpy(d.block.data() + 40 + i * 4, &table[i], 4);
    }
  }
  d.values.resize(std::size_t(width) * height);
  for (int y = 0; y < height; ++y) {
    int stored = topDown ? y : height - 1 - y;
    std::uint8_t* row = d.pixelBits() + std::size_t(stored) * stride;
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = value(x, y);
      if (bits == 16) {
        std::uint32_t r = (v >> 19) & 31, g = (v >> 11) & 31, b = (v >> 3) & 31;
        std::uint16_t w = std::uint16_t(r << 10 | g << 5 | b);
        row[x * 2] = std::uint8_t(w);
        row[x * 2 + 1] = std::uint8_t(w >> 8);
        v = ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
      } else if (bits == 24 || bits == 32) {
        int n = bits / 8;
        row[x * n] = std::uint8_t(v);
        row[x * n + 1] = std::uint8_t(v >> 8);
        row[x * n + 2] = std::uint8_t(v >> 16);
      } else if (bits == 8) {
        row[x] = std::uint8_t(v);
      } else if (bits == 4) {
        row[x / 2] |= std::uint8_t((x & 1) ? (v & 15) : (v << 4));
      } else {
        if (v & 1) row[x / 8] |= std::uint8_t(0x80 >> (x & 7));
      }
      d.values[std::size_t(y) * width + x] = v;
    }
  }
  return d;
}

inline std::vector<RGBQUAD> RampTable(int n) {
  std::vector<RGBQUAD> t(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    t[i] = RGBQUAD{BYTE(i * 7 + 3), BYTE(255 - i * 5), BYTE(i * 13 % 256), 0};
  }
  return t;
}

}  // namespace gdi_test
