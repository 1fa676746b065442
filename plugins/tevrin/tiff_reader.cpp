#include "tevrin/tiff_reader.h"

#include <algorithm>
#include <cstring>

#include "common/byte_span.h"
#include "common/dib_block.h"
#include "common/plugin_box.h"
#include "common/progress.h"
#include "common/scratch_block.h"
#include "common/tiff_tags.h"
#include "tevrin/tevrin_texts.h"
#include "tevrin/tiff_lzw.h"
#include "tevrin/tiff_packbits.h"

namespace tevrin {

namespace tiff = plugins::tiff;
namespace {

using plugins::ByteSpan;

void Warn(const char* message) { plugins::ShowWarning(kCaption, message); }

// One IFD entry: tag, type, count and where its 4-byte value field lies.
struct Entry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::uint64_t field = 0;
  bool present = false;
};

unsigned TypeSize(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 6: case 7: return 1;   // BYTE ASCII SBYTE UNDEFINED
    case 3: case 8: return 2;                   // SHORT SSHORT
    case 4: case 9: case 11: return 4;          // LONG SLONG FLOAT
    case 5: case 10: case 12: return 8;         // RATIONAL SRATIONAL DOUBLE
    default: return 0;
  }
}

class TiffFile {
 public:
  TiffFile(const std::uint8_t* data, std::size_t size, bool bigEndian)
      : span_(data, size), big_(bigEndian) {}

  const ByteSpan& span() const { return span_; }
  bool U16(std::uint64_t offset, std::uint16_t& out) const { return span_.U16(offset, big_, out); }
  bool U32(std::uint64_t offset, std::uint32_t& out) const { return span_.U32(offset, big_, out); }

  // Where the values of an entry start: in its field when they fit into 4
  // bytes, else at the offset the field holds. False when they are not all
  // inside the file.
  bool ValuesAt(const Entry& e, std::uint64_t& where) const {
    std::uint64_t bytes = std::uint64_t{TypeSize(e.type)} * e.count;
    if (bytes == 0) return false;
    if (bytes <= 4) {
      where = e.field;
    } else {
      std::uint32_t offset;
      if (!U32(e.field, offset)) return false;
      where = offset;
    }
    return span_.Has(where, bytes);
  }

  // Value `index` of a BYTE, SHORT or LONG entry.
  bool Value(const Entry& e, std::uint32_t index, std::uint32_t& out) const {
    if (!e.present || index >= e.count) return false;
    std::uint64_t where;
    if (!ValuesAt(e, where)) return false;
    switch (e.type) {
      case 1: {
        std::uint8_t v;
        if (!span_.U8(where + index, v)) return false;
        out = v;
        return true;
      }
      case 3: {
        std::uint16_t v;
        if (!U16(where + 2ull * index, v)) return false;
        out = v;
        return true;
      }
      case 4: return U32(where + 4ull * index, out);
      default: return false;
    }
  }

  // A RATIONAL as a floating value (0 for a zero denominator).
  double Rational(const Entry& e) const {
    std::uint64_t where;
    std::uint32_t num, den;
    if (e.type != tiff::kRational || !ValuesAt(e, where) || !U32(where, num) || !U32(where + 4, den) || den == 0)
      return 0;
    return static_cast<double>(num) / den;
  }

 private:
  ByteSpan span_;
  bool big_;
};

// The tags the reader takes, with their defaults.
struct Fields {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t bitsPerSample = 1;
  std::uint32_t samplesPerPixel = 1;
  std::uint32_t compression = 1;
  std::uint32_t rowsPerStrip = 0xFFFFFFFF;  // all rows
  std::uint32_t photometric = 0;
  std::uint32_t fillOrder = 1;
  std::uint32_t planar = 1;
  std::uint32_t resolutionUnit = 2;
  double xResolution = 0;
  double yResolution = 0;
  Entry stripOffsets;
  Entry stripByteCounts;
  Entry colorMap;
  bool tiled = false;
  bool extraSamples = false;
};

void ReadFields(const TiffFile& file, std::uint64_t ifd, std::uint16_t count, Fields& f) {
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint64_t at = ifd + 2 + 12ull * i;
    Entry e;
    std::uint32_t n = 0;
    file.U16(at, e.tag);
    file.U16(at + 2, e.type);
    file.U32(at + 4, n);
    e.count = n;
    e.field = at + 8;
    e.present = true;
    std::uint32_t v = 0;
    switch (e.tag) {
      case tiff::kImageWidth: if (file.Value(e, 0, v)) f.width = v; break;
      case tiff::kImageLength: if (file.Value(e, 0, v)) f.height = v; break;
      case tiff::kBitsPerSample:
        if (e.count == 1) {
          if (file.Value(e, 0, v)) f.bitsPerSample = v;
        } else {
          // Several samples: 8 when every one has 8 bits, else none we take.
          bool allEight = e.count <= 16;
          for (std::uint32_t k = 0; allEight && k < e.count; ++k)
            allEight = file.Value(e, k, v) && v == 8;
          f.bitsPerSample = allEight ? 8 : 0;
        }
        break;
      case tiff::kCompression: if (file.Value(e, 0, v)) f.compression = v; break;
      case tiff::kPhotometric: if (file.Value(e, 0, v)) f.photometric = v; break;
      case tiff::kFillOrder: if (file.Value(e, 0, v)) f.fillOrder = v; break;
      case tiff::kStripOffsets: f.stripOffsets = e; break;
      case tiff::kSamplesPerPixel: if (file.Value(e, 0, v)) f.samplesPerPixel = v; break;
      case tiff::kRowsPerStrip: if (file.Value(e, 0, v)) f.rowsPerStrip = v; break;
      case tiff::kStripByteCounts: f.stripByteCounts = e; break;
      case tiff::kXResolution: f.xResolution = file.Rational(e); break;
      case tiff::kYResolution: f.yResolution = file.Rational(e); break;
      case tiff::kPlanarConfiguration: if (file.Value(e, 0, v)) f.planar = v; break;
      case tiff::kResolutionUnit: if (file.Value(e, 0, v)) f.resolutionUnit = v; break;
      case tiff::kColorMap: f.colorMap = e; break;
      case tiff::kTileWidth: case tiff::kTileLength: f.tiled = true; break;
      case tiff::kExtraSamples: f.extraSamples = true; break;
      default: break;
    }
  }
}

enum class Model { kGrey, kPalette, kRgb };

// The DIB depth and colour model, or 0 after the colour model's message.
unsigned ChooseModel(const Fields& f, Model& model) {
  const std::uint32_t p = f.photometric;
  if ((p == 0 || p == 1) && f.samplesPerPixel == 1 &&
      (f.bitsPerSample == 1 || f.bitsPerSample == 4 || f.bitsPerSample == 8)) {
    model = Model::kGrey;
    return f.bitsPerSample;
  }
  if (p == 2 && f.samplesPerPixel == 3 && f.bitsPerSample == 8) {
    model = Model::kRgb;
    return 24;
  }
  if (p == 3 && f.samplesPerPixel == 1 && (f.bitsPerSample == 4 || f.bitsPerSample == 8)) {
    model = Model::kPalette;
    return f.bitsPerSample;
  }
  switch (p) {
    case 4: Warn(text::kMask); break;
    case 5: Warn(text::kCmyk); break;
    case 6: Warn(text::kYCbCr); break;
    case 8: Warn(text::kLab); break;
    default: Warn(text::kColorModel); break;
  }
  return 0;
}

// Pixels per metre from a resolution and its unit.
LONG PelsPerMeter(double resolution, std::uint32_t unit) {
  constexpr double kPerInch = 39.37007874015747;
  double v;
  if (unit == 2)
    v = resolution * kPerInch;
  else if (unit == 3)
    v = resolution * 100;
  else if (resolution == 0)
    return plugins::kDefaultPelsPerMeter;
  else
    v = resolution * kPerInch;
  if (!(v >= 0)) return 0;
  if (v > 2147483647.0) return 0x7FFFFFFF;
  return static_cast<LONG>(v);
}

// Checks the refusals of the first IFD, showing every one that applies.
bool Acceptable(const Fields& f) {
  bool ok = true;
  if (!f.stripOffsets.present || !f.stripByteCounts.present) {
    Warn(text::kNoData);
    ok = false;
  }
  switch (f.compression) {
    case 3: Warn(text::kFax3); ok = false; break;
    case 4: Warn(text::kFax4); ok = false; break;
    case 6: Warn(text::kJpeg); ok = false; break;
    default: break;
  }
  if (f.fillOrder != 1) {
    Warn(text::kFillOrder);
    ok = false;
  }
  if (f.planar != 1) {
    Warn(text::kPlanar);
    ok = false;
  }
  if (f.extraSamples) {
    Warn(text::kExtraSamples);
    ok = false;
  }
  if (f.tiled || (f.stripOffsets.present && f.stripOffsets.count == 0)) {
    Warn(text::kTiled);
    ok = false;
  }
  return ok;
}

// Stores `rows` decoded rows (of which `available` bytes are there) from
// picture row `top` into the bottom-up DIB.
void StoreRows(const std::uint8_t* src, std::size_t available, std::uint32_t top,
               std::uint32_t rows, std::size_t packedRow, bool rgb,
               const plugins::DibLayout& layout, std::uint8_t* bits) {
  for (std::uint32_t r = 0; r < rows; ++r) {
    std::size_t from = r * packedRow;
    if (from >= available) break;
    std::size_t n = std::min(packedRow, available - from);
    std::uint8_t* dst = bits + static_cast<std::size_t>(layout.height - 1 - (top + r)) * layout.rowBytes;
    const std::uint8_t* s = src + from;
    if (!rgb) {
      std::memcpy(dst, s, n);
      continue;
    }
    std::size_t pixels = n / 3;
    for (std::size_t x = 0; x < pixels; ++x, s += 3, dst += 3) {
      dst[0] = s[2];
      dst[1] = s[1];
      dst[2] = s[0];
    }
  }
}

}  // namespace

bool IsTiffSignature(const std::uint8_t* bytes, std::size_t count) {
  if (count < 4) return false;
  return std::memcmp(bytes, "II*\0", 4) == 0 || std::memcmp(bytes, "MM\0*", 4) == 0;
}

HGLOBAL ReadTiff(const std::uint8_t* data, std::size_t size, HGLOBAL block, HWND progressWindow) {
  if (size < 2 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M'))) {
    Warn(text::kByteOrder);
    return nullptr;
  }
  TiffFile file(data, size, data[0] == 'M');
  std::uint16_t magic;
  std::uint32_t ifd;
  if (!file.U16(2, magic) || !file.U32(4, ifd)) {
    Warn(text::kReadError);
    return nullptr;
  }
  if (magic != 42) {
    Warn(text::kMagic);
    return nullptr;
  }
  if (ifd == 0) {
    Warn(text::kNoIfd);
    return nullptr;
  }
  std::uint16_t entryCount;
  if (!file.U16(ifd, entryCount) || !file.span().Has(std::uint64_t{ifd} + 2, 12ull * entryCount)) {
    Warn(text::kReadError);
    return nullptr;
  }
  Fields f;
  ReadFields(file, ifd, entryCount, f);

  bool ok = Acceptable(f);
  Model model = Model::kGrey;
  unsigned bits = ChooseModel(f, model);
  if (!ok || bits == 0) return nullptr;

  if (f.width == 0 || f.height == 0) {
    Warn(text::kReadError);
    return nullptr;
  }
  const std::uint32_t colors = bits == 24 ? 0 : 1u << bits;
  plugins::DibLayout layout;
  if (!plugins::MakeDibLayout(f.width, f.height, bits, colors, layout)) {
    Warn(text::kNoMemoryDib);
    return nullptr;
  }
  // A palette picture needs its whole colour map in the file.
  std::uint64_t mapAt = 0;
  if (model == Model::kPalette &&
      (!f.colorMap.present || f.colorMap.type != 3 || f.colorMap.count != 3 * colors ||
       !file.ValuesAt(f.colorMap, mapAt))) {
    Warn(text::kReadError);
    return nullptr;
  }

  HGLOBAL dib = plugins::GrowDibBlock(block, layout.totalBytes);
  if (!dib) {
    Warn(text::kNoMemoryDib);
    return nullptr;
  }
  plugins::BlockLock lock(dib);
  std::uint8_t* out = lock.data();
  plugins::FillDibHeader(out, layout, PelsPerMeter(f.xResolution, f.resolutionUnit),
                         PelsPerMeter(f.yResolution, f.resolutionUnit), colors, 0);
  if (model == Model::kGrey) {
    const unsigned step = bits == 1 ? 255 : bits == 4 ? 17 : 1;
    for (std::uint32_t i = 0; i < colors; ++i) {
      auto level = static_cast<std::uint8_t>(f.photometric == 1 ? i * step : 255 - i * step);
      plugins::SetDibColor(out, i, level, level, level);
    }
  } else if (model == Model::kPalette) {
    for (std::uint32_t i = 0; i < colors; ++i) {
      std::uint16_t r = 0, g = 0, b = 0;
      file.U16(mapAt + 2ull * i, r);
      file.U16(mapAt + 2ull * (colors + i), g);
      file.U16(mapAt + 2ull * (2 * colors + i), b);
      plugins::SetDibColor(out, i, static_cast<std::uint8_t>(r >> 8), static_cast<std::uint8_t>(g >> 8),
                           static_cast<std::uint8_t>(b >> 8));
    }
  }

  // Strips: as many as the rows need and the file has. Rows per strip 0
  // says nothing; the rows are then shared evenly among the strips the file
  // lists (as every writer cuts them), so that no strip is left unread.
  const std::uint64_t listed =
      std::max<std::uint64_t>(1, std::min(f.stripOffsets.count, f.stripByteCounts.count));
  const std::uint32_t rowsPerStrip = std::min(
      f.rowsPerStrip == 0 ? static_cast<std::uint32_t>((std::uint64_t{f.height} + listed - 1) / listed)
                          : f.rowsPerStrip,
      f.height);
  const std::uint64_t needed = (std::uint64_t{f.height} + rowsPerStrip - 1) / rowsPerStrip;
  const std::uint64_t strips = std::min<std::uint64_t>(
      {needed, f.stripOffsets.count, f.stripByteCounts.count});
  const std::size_t packedRow = bits == 24 ? 3ull * f.width : plugins::PackedRowBytes(f.width, bits);
  const std::size_t stripBytes = packedRow * rowsPerStrip;
  std::uint8_t* bitsOut = out + layout.bitsOffset;

  plugins::ScratchBlock scratch;
  if (f.compression == 5 || f.compression == 32773) {
    if (!scratch.Allocate(stripBytes)) {
      Warn(text::kNoMemoryDecode);
      return nullptr;
    }
  }
  for (std::uint64_t s = 0; s < strips; ++s) {
    std::uint32_t offset = 0, count = 0;
    if (!file.Value(f.stripOffsets, static_cast<std::uint32_t>(s), offset) ||
        !file.Value(f.stripByteCounts, static_cast<std::uint32_t>(s), count) ||
        !file.span().Has(offset, count)) {
      Warn(text::kDecodeError);
      return nullptr;
    }
    const auto top = static_cast<std::uint32_t>(s * rowsPerStrip);
    const std::uint32_t rows = std::min(rowsPerStrip, f.height - top);
    const std::size_t want = packedRow * rows;
    const std::uint8_t* src = file.span().At(offset);
    std::size_t got = 0;
    switch (f.compression) {
      case 1:
        got = std::min<std::size_t>(count, want);
        break;
      case 5: {
        LzwDecodeResult r = DecodeTiffLzw(src, count, scratch.data(), want);
        if (!r.ok) {
          plugins::ShowWarningF(kCaption, text::kBadLzwCode, r.badCode);
          Warn(text::kDecodeError);
          return nullptr;
        }
        src = scratch.data();
        got = r.written;
        break;
      }
      case 32773:
        got = DecodePackBits(src, count, scratch.data(), want);
        src = scratch.data();
        break;
      case 2:
        Warn(text::kCcitt);
        return nullptr;
      default:
        Warn(text::kUnknownCompression);
        return nullptr;
    }
    StoreRows(src, got, top, rows, packedRow, model == Model::kRgb, layout, bitsOut);
    plugins::SendProgress(progressWindow, plugins::Percent(static_cast<std::int64_t>(s + 1),
                                                           static_cast<std::int64_t>(strips)));
  }
  return dib;
}

}  // namespace tevrin
