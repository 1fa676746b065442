#include "pcx_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "common/dib_block.h"
#include "murvik_messages.h"
#include "win/types.h"

namespace murvik {
namespace {

// Run-length or plain bytes, handed out as a stream; runs carry across
// line ends and stop at whatever is asked, data that end early give zeros.
class PcxStream {
 public:
  PcxStream(const std::uint8_t* data, std::size_t size, bool runLength)
      : p_(data), end_(data + size), runLength_(runLength) {}

  // A run is at most 63 bytes: with more than that still to fill, one
  // cannot pass the end.
  static constexpr std::size_t kRunSlack = 64;

  void Fill(std::uint8_t* out, std::size_t n) {
    if (!runLength_) {
      std::size_t k = std::min(n, static_cast<std::size_t>(end_ - p_));
      std::memcpy(out, p_, k);
      p_ += k;
      if (k < n) std::memset(out + k, 0, n - k);
      return;
    }
    while (n) {
      if (run_) {
        std::size_t k = std::min(run_, n);
        std::memset(out, value_, k);
        out += k;
        n -= k;
        run_ -= k;
        continue;
      }
      // Far from the end of what is asked and of the data, a code is
      // decoded without a branch on its kind: eight bytes of its value are
      // stored and the output moves on by its count (1 for a literal).
      while (n >= kRunSlack && end_ - p_ >= 2) {
        const std::uint8_t b = p_[0];
        const bool isRun = b >= 0xC0;
        const std::size_t k = isRun ? (b & 0x3F) : 1;
        const std::uint8_t v = isRun ? p_[1] : b;
        const std::uint64_t eight = v * 0x0101010101010101ull;
        std::memcpy(out, &eight, 8);
        if (k > 8) std::memset(out, v, k);
        out += k;
        n -= k;
        p_ += isRun ? 2 : 1;
      }
      if (!n) break;
      if (p_ == end_) break;
      std::uint8_t b = *p_++;
      if (b < 0xC0) {
        *out++ = b;
        --n;
        continue;
      }
      if (p_ == end_) break;  // a count with no value after it
      run_ = b & 0x3F;
      value_ = *p_++;
    }
    if (n) std::memset(out, 0, n);
  }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
  bool runLength_;
  std::size_t run_ = 0;
  std::uint8_t value_ = 0;
};

// For one byte of a 1-bit plane: its eight pixels as four DIB bytes of two
// nibbles each, every nibble 0 or 1 (to be shifted to the plane's bit).
std::array<std::uint32_t, 256> MakeNibbleSpread() {
  std::array<std::uint32_t, 256> t{};
  for (int v = 0; v < 256; ++v) {
    std::uint32_t word = 0;
    for (int j = 0; j < 4; ++j) {
      std::uint32_t hi = (v >> (7 - 2 * j)) & 1;
      std::uint32_t lo = (v >> (6 - 2 * j)) & 1;
      word |= ((hi << 4) | lo) << (8 * j);  // byte j of the output, in memory order
    }
    t[v] = word;
  }
  return t;
}

void StoreLE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

// Three planes of a line as blue, green, red triples. Four bytes are stored
// for each pixel (the fourth is the next pixel's blue, stored after it),
// but for the last.
void InterleaveRgb(const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b, std::uint32_t width,
                   std::uint8_t* row) {
  if (width == 0) return;
  std::uint32_t x = 0;
  for (; x + 1 < width; ++x) {
    const std::uint32_t v = std::uint32_t{b[x]} | std::uint32_t{g[x]} << 8 | std::uint32_t{r[x]} << 16;
    std::memcpy(row + 3 * static_cast<std::size_t>(x), &v, 4);
  }
  row[3 * static_cast<std::size_t>(x) + 0] = b[x];
  row[3 * static_cast<std::size_t>(x) + 1] = g[x];
  row[3 * static_cast<std::size_t>(x) + 2] = r[x];
}

const char* ChooseLayout(const PcxHeader& h, PcxPlan& plan) {
  const int bpp = h.bitsPerPixel;
  const int planes = h.planes;
  plan.depth = bpp * planes;
  switch (plan.depth) {
    case 1:
      plan.layout = PcxLayout::kMono;
      return nullptr;
    case 4:
      if (bpp == 1 && planes == 4) plan.layout = PcxLayout::kPlanar16;
      else if (bpp == 4 && planes == 1) plan.layout = PcxLayout::kPacked16;
      else return msg::kBadColorFormat;  // two planes of two bits
      return nullptr;
    case 8:
      if (bpp != 8) return msg::kBadColorFormat;  // planes of fewer bits
      plan.layout = PcxLayout::kIndexed256;
      return nullptr;
    case 24:
      if (bpp != 8 || planes != 3) return msg::kBad24Bit;
      plan.layout = PcxLayout::kRgbPlanes;
      return nullptr;
    default:
      return msg::kBadColorFormat;
  }
}

void WriteColorTable(const PcxPlan& plan, plugins::ByteSpan file, std::uint8_t* table) {
  if (plan.colors == 0) return;
  const std::uint8_t* rgb = plan.header.colorMap;
  if (plan.layout == PcxLayout::kIndexed256) rgb = file.At(file.size() - kVgaPaletteSize + 1);
  if (plan.header.version == 3) rgb = DefaultPalette();
  for (std::uint32_t i = 0; i < plan.colors; ++i) {
    table[4 * i + 0] = rgb[3 * i + 2];
    table[4 * i + 1] = rgb[3 * i + 1];
    table[4 * i + 2] = rgb[3 * i + 0];
    table[4 * i + 3] = 0;
  }
}

}  // namespace

const std::uint8_t* DefaultPalette() {
  static const std::array<std::uint8_t, 768> palette = [] {
    std::array<std::uint8_t, 768> p{};
    static const std::uint8_t ega[16][3] = {
        {0, 0, 0},       {0, 0, 170},     {0, 170, 0},     {0, 170, 170},
        {170, 0, 0},     {170, 0, 170},   {170, 85, 0},    {170, 170, 170},
        {85, 85, 85},    {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
        {255, 85, 85},   {255, 85, 255},  {255, 255, 85},  {255, 255, 255}};
    std::size_t n = 0;
    for (auto& c : ega)
      for (std::uint8_t v : c) p[n++] = v;
    // Then a 6 x 6 x 6 cube and a grey ramp, for 256-colour pictures.
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) {
          p[n++] = static_cast<std::uint8_t>(r * 51);
          p[n++] = static_cast<std::uint8_t>(g * 51);
          p[n++] = static_cast<std::uint8_t>(b * 51);
        }
    for (int i = 0; n < p.size(); ++i) {
      auto grey = static_cast<std::uint8_t>(8 + i * 10);
      p[n++] = grey;
      p[n++] = grey;
      p[n++] = grey;
    }
    return p;
  }();
  return palette.data();
}

const char* PlanPcx(plugins::ByteSpan file, PcxPlan& plan) {
  plan = PcxPlan{};
  if (!file.Has(0, kPcxHeaderSize)) return msg::kReadFailed;
  plan.header = ParsePcxHeader(file.data());
  const PcxHeader& h = plan.header;
  if (!IsPcxManufacturer(h.manufacturer)) return msg::kNotPcx;
  plan.scr = h.manufacturer == kScrManufacturer;
  if (const char* bad = ChooseLayout(h, plan)) return bad;

  // Dimensions and line length come from the file: a window that ends
  // before it starts, or lines too short for the pixels, cannot be decoded.
  if (h.xmax < h.xmin || h.ymax < h.ymin) return msg::kDecodeFailed;
  plan.width = std::uint32_t{h.xmax} - h.xmin + 1;
  plan.height = std::uint32_t{h.ymax} - h.ymin + 1;
  plan.planeBytes = (std::size_t{plan.width} * h.bitsPerPixel + 7) / 8;
  if (plan.scr) {
    plan.planeStride = plan.planeBytes;
  } else {
    if (h.bytesPerLine < plan.planeBytes) return msg::kDecodeFailed;
    plan.planeStride = h.bytesPerLine;
  }
  plan.lineBytes = plan.planeStride * h.planes;

  std::size_t end = file.size();
  if (plan.layout == PcxLayout::kIndexed256) {
    if (end < kPcxHeaderSize + kVgaPaletteSize) return msg::kBadPaletteMarker;
    end -= kVgaPaletteSize;
  }
  plan.dataSize = end - kPcxHeaderSize;

  plan.colors = plan.depth == 24 ? 0 : (1u << plan.depth);
  plugins::DibLayout layout;
  if (!plugins::MakeDibLayout(plan.width, plan.height, static_cast<unsigned>(plan.depth), plan.colors, layout))
    return msg::kNoMemoryDib;
  plan.dibRowBytes = layout.rowBytes;
  plan.dibSize = layout.totalBytes;

  if (plan.layout == PcxLayout::kIndexed256 && file.data()[end] != kPaletteMarker)
    return msg::kBadPaletteMarker;
  return nullptr;
}

const char* DecodePcx(const PcxPlan& plan, plugins::ByteSpan file, std::uint8_t* dib) {
  plugins::DibLayout layout;
  plugins::MakeDibLayout(plan.width, plan.height, static_cast<unsigned>(plan.depth), plan.colors, layout);
  plugins::FillDibHeader(dib, layout, plugins::kDefaultPelsPerMeter, plugins::kDefaultPelsPerMeter,
                         plan.colors, 0);
  WriteColorTable(plan, file, dib + 40);

  std::unique_ptr<std::uint8_t[]> line(new (std::nothrow) std::uint8_t[plan.lineBytes + 8]);
  if (!line) return msg::kNoMemoryDecompress;

  static const std::array<std::uint32_t, 256> spread = MakeNibbleSpread();
  PcxStream stream(file.At(plan.dataOffset), plan.dataSize, plan.header.encoding == 1);
  std::uint8_t* bits = dib + 40 + std::size_t{plan.colors} * 4;
  const std::uint8_t* l = line.get();
  const std::size_t stride = plan.planeStride;

  for (std::uint32_t y = 0; y < plan.height; ++y) {
    stream.Fill(line.get(), plan.lineBytes);
    std::uint8_t* row = bits + std::size_t{plan.height - 1 - y} * plan.dibRowBytes;
    switch (plan.layout) {
      case PcxLayout::kMono:
      case PcxLayout::kPacked16:
      case PcxLayout::kIndexed256:
        std::memcpy(row, l, plan.planeBytes);
        break;
      case PcxLayout::kPlanar16:
        // Eight pixels of each plane make four DIB bytes; bit 0 plane first.
        for (std::size_t i = 0; i < plan.planeBytes; ++i) {
          std::uint32_t word = spread[l[i]] | spread[l[i + stride]] << 1 |
                               spread[l[i + 2 * stride]] << 2 | spread[l[i + 3 * stride]] << 3;
          StoreLE32(row + 4 * i, word);
        }
        break;
      case PcxLayout::kRgbPlanes: {
        const std::uint8_t* r = l;
        const std::uint8_t* g = l + stride;
        const std::uint8_t* b = l + 2 * stride;
        InterleaveRgb(r, g, b, plan.width, row);
        break;
      }
    }
  }
  return nullptr;
}

}  // namespace murvik
