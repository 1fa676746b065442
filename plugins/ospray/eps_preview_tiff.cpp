#include "eps_preview_tiff.h"

#include <algorithm>
#include <new>

#include "common/tiff_tags.h"

namespace ospray {

namespace tiff = plugins::tiff;
namespace {


struct Entry {
  std::uint16_t tag, type;
  std::uint32_t count, value;  // the value itself, or the offset of the values
};

class Buffer {
 public:
  explicit Buffer(std::vector<std::uint8_t>& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void Pad() {
    if (out_.size() & 1) U8(0);
  }
  std::uint32_t Size() const { return static_cast<std::uint32_t>(out_.size()); }
  void Put32At(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace

bool BuildPreviewTiff(const plugins::DibSource& dib, std::vector<std::uint8_t>& out) {
  try {
    out.clear();
    Buffer b(out);
    const unsigned bits = dib.bitCount;
    const auto width = static_cast<std::uint32_t>(dib.width);
    const auto height = static_cast<std::uint32_t>(dib.height);
    const auto rowBytes = static_cast<std::size_t>(plugins::PackedRowBytes(width, bits));
    const std::uint32_t rowsPerStrip =
        static_cast<std::uint32_t>(std::max<std::size_t>(1, 10 * 1024 / std::max<std::size_t>(1, rowBytes)));
    const std::uint32_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;

    b.U8('I');
    b.U8('I');
    b.U16(42);
    b.U32(0);  // the IFD offset, set at the end

    // Strips: rows from the top of the picture, without the DIB's padding;
    // 24-bit pixels turned from blue-green-red into red-green-blue.
    std::vector<std::uint32_t> offsets, counts;
    for (std::uint32_t s = 0; s < strips; ++s) {
      offsets.push_back(b.Size());
      std::uint32_t first = s * rowsPerStrip;
      std::uint32_t last = std::min(height, first + rowsPerStrip);
      for (std::uint32_t r = first; r < last; ++r) {
        const std::uint8_t* row = dib.Row(static_cast<LONG>(r));
        if (bits == 24) {
          for (std::uint32_t x = 0; x < width; ++x) {
            b.U8(row[3 * x + 2]);
            b.U8(row[3 * x + 1]);
            b.U8(row[3 * x]);
          }
        } else {
          out.insert(out.end(), row, row + rowBytes);
        }
      }
      counts.push_back(static_cast<std::uint32_t>((last - first) * rowBytes));
    }

    // Photometric: 1 bit black-on-white or white-on-black when the palette
    // is just that, the palette otherwise; RGB for 24 bits.
    std::uint16_t photometric = 3;
    if (bits == 24) {
      photometric = 2;
    } else if (bits == 1) {
      std::uint8_t r0, g0, b0, r1, g1, b1;
      dib.Color(0, r0, g0, b0);
      dib.Color(1, r1, g1, b1);
      bool black0 = (r0 | g0 | b0) == 0, white0 = (r0 & g0 & b0) == 255;
      bool black1 = (r1 | g1 | b1) == 0, white1 = (r1 & g1 & b1) == 255;
      if (black0 && white1) photometric = 1;
      if (white0 && black1) photometric = 0;
    }

    // Values that do not fit an entry.
    b.Pad();
    std::uint32_t bitsAt = 0;
    if (bits == 24) {
      bitsAt = b.Size();
      for (int i = 0; i < 3; ++i) b.U16(8);
    }
    std::uint32_t offsetsAt = offsets[0], countsAt = counts[0];
    if (strips > 1) {
      offsetsAt = b.Size();
      for (std::uint32_t v : offsets) b.U32(v);
      countsAt = b.Size();
      for (std::uint32_t v : counts) b.U32(v);
    }
    std::uint32_t resolutionAt = b.Size();
    b.U32(72);
    b.U32(1);
    std::uint32_t softwareAt = b.Size();
    static const char kSoftware[] = "Ospray.DLL V1.0";
    for (char c : kSoftware) b.U8(static_cast<std::uint8_t>(c));
    b.Pad();
    std::uint32_t mapAt = 0;
    const std::uint32_t mapEntries = photometric == 3 ? (1u << bits) : 0;
    if (mapEntries) {
      mapAt = b.Size();
      for (int channel = 0; channel < 3; ++channel)
        for (std::uint32_t i = 0; i < mapEntries; ++i) {
          std::uint8_t rgb[3];
          dib.Color(i, rgb[0], rgb[1], rgb[2]);
          b.U16(static_cast<std::uint16_t>(rgb[channel] * 257));
        }
    }

    std::vector<Entry> entries = {
        {tiff::kNewSubfileType, tiff::kLong, 1, 0},
        {tiff::kImageWidth, tiff::kLong, 1, width},
        {tiff::kImageLength, tiff::kLong, 1, height},
        {tiff::kBitsPerSample, tiff::kShort, bits == 24 ? 3u : 1u, bits == 24 ? bitsAt : bits},
        {tiff::kCompression, tiff::kShort, 1, 1},
        {tiff::kPhotometric, tiff::kShort, 1, photometric},
        {tiff::kStripOffsets, tiff::kLong, strips, offsetsAt},
        {tiff::kSamplesPerPixel, tiff::kShort, 1, bits == 24 ? 3u : 1u},
        {tiff::kRowsPerStrip, tiff::kLong, 1, rowsPerStrip},
        {tiff::kStripByteCounts, tiff::kLong, strips, countsAt},
        {tiff::kXResolution, tiff::kRational, 1, resolutionAt},
        {tiff::kYResolution, tiff::kRational, 1, resolutionAt},
        {tiff::kPlanarConfiguration, tiff::kShort, 1, 1},
        {tiff::kResolutionUnit, tiff::kShort, 1, 2},
        {tiff::kSoftware, tiff::kAscii, sizeof kSoftware, softwareAt},
    };
    if (mapEntries) entries.push_back({tiff::kColorMap, tiff::kShort, 3 * mapEntries, mapAt});

    b.Pad();
    b.Put32At(4, b.Size());
    b.U16(static_cast<std::uint16_t>(entries.size()));
    for (const Entry& e : entries) {
      b.U16(e.tag);
      b.U16(e.type);
      b.U32(e.count);
      if (e.type == tiff::kShort && e.count == 1) {
        b.U16(static_cast<std::uint16_t>(e.value));  // left-justified in the field
        b.U16(0);
      } else {
        b.U32(e.value);
      }
    }
    b.U32(0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace ospray
