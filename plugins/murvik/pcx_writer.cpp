#include "pcx_writer.h"

#include <cstring>
#include <new>

#include "murvik_messages.h"
#include "pcx_header.h"
#include "pcx_reader.h"

namespace murvik {
namespace {

// Growing a vector without letting an exception escape into a C caller.
bool TryResize(std::vector<std::uint8_t>& v, std::uint64_t n) {
  if (n > plugins::kMaxDibBytes * 4) return false;
  try {
    v.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// One picture line, top line first, planes one after the other.
void CollectLine(const plugins::DibSource& dib, LONG y, std::uint32_t bpl, std::uint8_t* line) {
  const std::uint8_t* row = dib.Row(y);
  const auto width = static_cast<std::uint32_t>(dib.width);
  switch (dib.bitCount) {
    case 1:
    case 8:
      std::memcpy(line, row, bpl);  // bpl never exceeds the padded DIB row
      break;
    case 4: {
      // Bit p of every pixel into plane p; pixels past the width are 0.
      for (std::uint32_t i = 0; i < bpl; ++i) {
        std::uint8_t planes[4] = {};
        for (int k = 0; k < 8; ++k) {
          std::uint32_t x = i * 8 + k;
          if (x >= width) break;
          int nibble = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F;
          for (int p = 0; p < 4; ++p)
            if (nibble & (1 << p)) planes[p] |= static_cast<std::uint8_t>(0x80 >> k);
        }
        for (int p = 0; p < 4; ++p) line[p * bpl + i] = planes[p];
      }
      break;
    }
    case 24:
      // Red, green, blue planes; an odd width leaves one zero byte each.
      for (std::uint32_t x = 0; x < width; ++x) {
        line[x] = row[3 * x + 2];
        line[bpl + x] = row[3 * x + 1];
        line[2 * bpl + x] = row[3 * x + 0];
      }
      break;
  }
}

std::size_t EncodeLine(const std::uint8_t* in, std::size_t n, std::uint8_t* out) {
  std::uint8_t* o = out;
  std::size_t i = 0;
  while (i < n) {
    std::uint8_t v = in[i];
    std::size_t run = 1;
    while (i + run < n && run < 63 && in[i + run] == v) ++run;
    if (run == 1 && v < 0xC0) {
      *o++ = v;
    } else {
      *o++ = static_cast<std::uint8_t>(0xC0 | run);
      *o++ = v;
    }
    i += run;
  }
  return static_cast<std::size_t>(o - out);
}

}  // namespace

std::uint32_t PcxBytesPerLine(int bits, std::uint32_t width) {
  if (bits == 1 || bits == 4) return 2 * ((width + 15) / 16);
  return 2 * ((width + 1) / 2);
}

const char* EncodePcx(const plugins::DibSource& dib, const PcxWriteOptions& options, std::vector<std::uint8_t>& out,
                      const PcxProgress& progress) {
  auto report = [&](int percent) {
    if (progress) progress(percent);
  };
  PcxHeader h;
  h.manufacturer = kPcxManufacturer;
  h.version = static_cast<std::uint8_t>(options.pcxVersion);
  h.encoding = static_cast<std::uint8_t>(options.runLength);
  // PCX holds 16-bit coordinates.
  const auto width = static_cast<std::uint32_t>(dib.width);
  const auto height = static_cast<std::uint32_t>(dib.height);
  const int bits = dib.bitCount;
  if (width > 0x10000 || height > 0x10000) return msg::kUnknownDibFormat;
  h.xmax = static_cast<std::uint16_t>(width - 1);
  h.ymax = static_cast<std::uint16_t>(height - 1);
  h.hres = 640;
  h.vres = 480;
  h.paletteInfo = 1;
  switch (bits) {
    case 1: h.bitsPerPixel = 1; h.planes = 1; break;
    case 4: h.bitsPerPixel = 1; h.planes = 4; break;
    case 8: h.bitsPerPixel = 8; h.planes = 1; break;
    case 24: h.bitsPerPixel = 8; h.planes = 3; break;
    default: return msg::kUnknownDibFormat;
  }
  const std::uint32_t bpl = PcxBytesPerLine(bits, width);
  if (bpl > 0xFFFF) return msg::kUnknownDibFormat;
  h.bytesPerLine = static_cast<std::uint16_t>(bpl);
  if (bits <= 4) {
    for (std::uint32_t i = 0; i < (1u << bits); ++i)
      dib.Color(i, h.colorMap[3 * i], h.colorMap[3 * i + 1], h.colorMap[3 * i + 2]);
  }

  const std::uint64_t lineBytes = std::uint64_t{h.planes} * bpl;
  // Only the picture's lines: a 256-colour palette must follow the last
  // one, where other readers look for its marker.
  const std::uint64_t lines = height;
  std::vector<std::uint8_t> raw;
  if (!TryResize(raw, lines * lineBytes)) return msg::kNoMemoryPcxBitmap;
  const bool rle = options.runLength != 0;
  for (std::uint32_t y = 0; y < height; ++y) {
    CollectLine(dib, static_cast<LONG>(y), bpl, raw.data() + y * lineBytes);
    report(static_cast<int>(std::uint64_t{y} * (rle ? 50 : 100) / height));
  }

  std::vector<std::uint8_t> packed;
  const std::uint8_t* body = raw.data();
  std::size_t bodySize = raw.size();
  if (rle) {
    if (!TryResize(packed, raw.size() * 2)) return msg::kNoMemoryDecompress;
    std::size_t n = 0;
    for (std::uint64_t i = 0; i < lines; ++i) {
      n += EncodeLine(raw.data() + i * lineBytes, lineBytes, packed.data() + n);
      report(static_cast<int>(50 + i * 50 / lines));
    }
    body = packed.data();
    bodySize = n;
  }

  std::uint64_t total = kPcxHeaderSize + bodySize + (bits == 8 ? kVgaPaletteSize : 0);
  if (!TryResize(out, total)) return msg::kNoMemoryPcxBitmap;
  StorePcxHeader(h, out.data());
  std::memcpy(out.data() + kPcxHeaderSize, body, bodySize);
  if (bits == 8) {
    std::uint8_t* pal = out.data() + kPcxHeaderSize + bodySize;
    std::memset(pal, 0, kVgaPaletteSize);
    pal[0] = kPaletteMarker;
    // The used colours, then black up to 256.
    for (std::uint32_t i = 0; i < 256; ++i) dib.Color(i, pal[1 + 3 * i], pal[2 + 3 * i], pal[3 + 3 * i]);
  }
  return nullptr;
}

}  // namespace murvik
