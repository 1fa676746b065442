#include "tevrin/tiff_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/dib_block.h"
#include "common/file_io.h"
#include "common/owned_dib.h"
#include "common/plugin_box.h"
#include "common/progress.h"
#include "common/scratch_block.h"
#include "common/tiff_tags.h"
#include "pixolt.h"
#include "tevrin/tevrin_texts.h"
#include "tevrin/tiff_lzw.h"
#include "tevrin/tiff_packbits.h"

namespace tevrin {

namespace tiff = plugins::tiff;
namespace {

bool Fail(const char* message) {
  plugins::ShowWarning(kCaption, message);
  return false;
}

// The IFD, built in memory in tag order.
class Ifd {
 public:
  void Entry(std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    Put16(tag);
    Put16(type);
    Put32(count);
    if (type == 3 && count == 1) {
      Put16(static_cast<std::uint16_t>(value));
      Put16(0);
    } else {
      Put32(value);
    }
    ++entries_;
  }
  std::vector<std::uint8_t> Finish() const {
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(entries_));
    out.push_back(static_cast<std::uint8_t>(entries_ >> 8));
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    out.insert(out.end(), 4, 0);  // no next IFD
    return out;
  }

 private:
  void Put16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void Put32(std::uint32_t v) {
    Put16(static_cast<std::uint16_t>(v));
    Put16(static_cast<std::uint16_t>(v >> 16));
  }
  std::vector<std::uint8_t> bytes_;
  unsigned entries_ = 0;
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::string DateTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u:%02u:%02u %02u:%02u:%02u", t.wYear % 10000u, t.wMonth % 100u,
                t.wDay % 100u, t.wHour % 100u, t.wMinute % 100u, t.wSecond % 100u);
  return text;
}

bool IsColor(const plugins::DibSource& s, DWORD i, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t cr, cg, cb;
  s.Color(i, cr, cg, cb);
  return i < s.colorCount && cr == r && cg == g && cb == b;
}

// One picture row without the DIB's padding; 24-bit pixels turned from
// blue-green-red into red-green-blue.
void PackRow(const plugins::DibSource& s, LONG y, std::size_t bytes, std::uint8_t* out) {
  const std::uint8_t* row = s.Row(y);
  if (s.bitCount != 24) {
    std::memcpy(out, row, bytes);
    return;
  }
  for (LONG x = 0; x < s.width; ++x, row += 3, out += 3) {
    out[0] = row[2];
    out[1] = row[1];
    out[2] = row[0];
  }
}

}  // namespace

bool WriteTiff(const char* fileName, HGLOBAL dib, const TiffWriteOptions& options,
               const WriteProgress& progress) {
  // The source: expanded when it is RLE, widened when a 1-bit picture has
  // colours; such copies are freed on every way out.
  plugins::OwnedDib expanded, widened;
  HGLOBAL source = dib;
  {
    plugins::BlockLock lock(dib);
    if (!lock || lock.size() < sizeof(BITMAPINFOHEADER)) return Fail(text::kNoDib);
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data());
    if (h->biSize != plugins::kDibHeaderSize) return Fail(text::kOs2);
    if (h->biCompression != 0) {
      expanded.Reset(RLEtoDIB(dib));
      if (!expanded.get()) return Fail(text::kRleError);
      source = expanded.get();
    }
  }
  std::uint32_t photometric = 0;
  {
    plugins::BlockLock lock(source);
    plugins::DibSource view;
    if (plugins::ViewDib(lock.data(), lock.size(), view) != plugins::DibCheck::kOk) return Fail(text::kBitmapError);
    if (view.bitCount == 1) {
      if (IsColor(view, 0, 0, 0, 0) && IsColor(view, 1, 255, 255, 255)) {
        photometric = 1;
      } else if (IsColor(view, 0, 255, 255, 255) && IsColor(view, 1, 0, 0, 0)) {
        photometric = 0;
      } else {
        plugins::ShowWarning(kCaption, text::kColored1Bit);
        widened.Reset(DIB1To4(source));
        if (!widened.get()) return Fail(text::kBitmapError);
        photometric = 3;
      }
    } else {
      photometric = view.bitCount == 24 ? 2 : 3;
    }
  }
  if (widened.get()) source = widened.get();
  plugins::BlockLock lock(source);
  plugins::DibSource s;
  if (plugins::ViewDib(lock.data(), lock.size(), s) != plugins::DibCheck::kOk) return Fail(text::kBitmapError);
  const unsigned bits = s.bitCount;

  plugins::FileWriter file;
  if (!file.Create(fileName)) return Fail(text::kCannotCreate);
  const std::uint8_t header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
  if (!file.Write(header, sizeof header)) return Fail(text::kHeaderWriteError);

  const std::size_t rowBytes = bits == 24 ? 3ull * s.width : plugins::PackedRowBytes(s.width, bits);
  const auto height = static_cast<std::uint32_t>(s.height);
  std::uint64_t perStrip = std::uint64_t{options.stripSizeKb} * 1024 / rowBytes;
  const auto rowsPerStrip = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(perStrip, 1, height));
  const std::uint32_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
  const std::size_t rawBytes = rowBytes * rowsPerStrip;

  bool failed = false;
  bool writeData = true;
  std::uint32_t compression = options.compression;
  if (compression == kCompressionCcitt && bits == 1) {
    plugins::ShowWarning(kCaption, text::kCcitt);
    compression = kCompressionNone;
    writeData = false;
    failed = true;
  } else if (compression != kCompressionNone && compression != kCompressionLzw &&
             compression != kCompressionPackBits) {
    plugins::ShowWarning(kCaption, text::kUnknownCompression);
    compression = kCompressionNone;
    writeData = false;
    failed = true;
  }
  plugins::ScratchBlock raw, packed, children, places;
  if (!raw.Allocate(rawBytes, true) || !places.Allocate(8ull * strips, true)) return Fail(text::kNoMemoryConvert);
  auto* offsets = reinterpret_cast<std::uint32_t*>(places.data());
  std::uint32_t* counts = offsets + strips;
  // Room for the worst case of either coding: PackBits rows of one byte
  // need two, an incompressible LZW stream its codes of 9 to 12 bits.
  const std::size_t packedBytes =
      compression == kCompressionLzw ? TiffLzwWorstCase(rawBytes) : rowsPerStrip * PackBitsRowWorstCase(rowBytes);
  if (writeData && compression != kCompressionNone && !packed.Allocate(packedBytes))
    return Fail(text::kNoMemoryDecode);
  if (writeData && compression == kCompressionLzw && !children.Allocate(kLzwChildTableBytes))
    return Fail(text::kNoMemoryLzw);

  for (std::uint32_t strip = 0; writeData && strip < strips; ++strip) {
    const std::uint32_t top = strip * rowsPerStrip;
    const std::uint32_t rows = std::min(rowsPerStrip, height - top);
    for (std::uint32_t r = 0; r < rows; ++r) {
      PackRow(s, static_cast<LONG>(top + r), rowBytes, raw.data() + r * rowBytes);
      if (progress) progress(plugins::Percent(top + r, height));
    }
    const std::uint8_t* data = raw.data();
    std::size_t length = rows * rowBytes;
    if (compression == kCompressionPackBits) {
      std::size_t at = 0;
      for (std::uint32_t r = 0; r < rows; ++r)
        at += EncodePackBitsRow(raw.data() + r * rowBytes, rowBytes, packed.data() + at, packed.size() - at);
      data = packed.data();
      length = at;
    } else if (compression == kCompressionLzw) {
      length = EncodeTiffLzw(raw.data(), length, packed.data(), packed.size(),
                             reinterpret_cast<std::uint32_t*>(children.data()));
      data = packed.data();
    }
    offsets[strip] = static_cast<std::uint32_t>(file.position());
    counts[strip] = static_cast<std::uint32_t>(length);
    if (!file.Write(data, length) || file.position() > 0xFFFFFFFFull) {
      failed = true;
      break;
    }
  }

  // The IFD at an even offset, its values after it.
  if (file.position() % 2) file.WriteU8(0);
  const std::uint64_t ifdAt = file.position();
  const bool hasMap = bits == 4 || bits == 8;
  const unsigned entries = hasMap ? 20 : 19;
  std::uint64_t valueAt = ifdAt + 2 + 12ull * entries + 4;
  std::vector<std::uint8_t> values;
  auto place = [&](std::size_t bytes) {
    auto at = static_cast<std::uint32_t>(valueAt + values.size());
    values.resize(values.size() + bytes);
    return at;
  };
  Ifd ifd;
  ifd.Entry(tiff::kNewSubfileType, tiff::kLong, 1, 0);
  ifd.Entry(tiff::kSubfileType, tiff::kShort, 1, 1);
  ifd.Entry(tiff::kImageWidth, tiff::kLong, 1, static_cast<std::uint32_t>(s.width));
  ifd.Entry(tiff::kImageLength, tiff::kLong, 1, height);
  if (bits == 24) {
    std::uint32_t at = place(0);
    Put16(values, 8);
    Put16(values, 8);
    Put16(values, 8);
    ifd.Entry(tiff::kBitsPerSample, tiff::kShort, 3, at);
  } else {
    ifd.Entry(tiff::kBitsPerSample, tiff::kShort, 1, bits);
  }
  ifd.Entry(tiff::kCompression, tiff::kShort, 1, compression);
  ifd.Entry(tiff::kPhotometric, tiff::kShort, 1, photometric);
  ifd.Entry(tiff::kFillOrder, tiff::kShort, 1, 1);
  std::uint32_t offsetsAt = offsets[0], countsAt = counts[0];
  if (strips > 1) {
    offsetsAt = place(0);
    for (std::uint32_t i = 0; i < strips; ++i) Put32(values, offsets[i]);
    countsAt = place(0);
    for (std::uint32_t i = 0; i < strips; ++i) Put32(values, counts[i]);
  }
  ifd.Entry(tiff::kStripOffsets, tiff::kLong, strips, offsetsAt);
  ifd.Entry(tiff::kOrientation, tiff::kShort, 1, 1);
  ifd.Entry(tiff::kSamplesPerPixel, tiff::kShort, 1, bits == 24 ? 3 : 1);
  // A SHORT holds rows per strip up to 65535; taller strips need a LONG.
  ifd.Entry(tiff::kRowsPerStrip, rowsPerStrip > 0xFFFF ? tiff::kLong : tiff::kShort, 1, rowsPerStrip);
  ifd.Entry(tiff::kStripByteCounts, tiff::kLong, strips, countsAt);
  std::uint32_t xAt = place(0);
  Put32(values, static_cast<std::uint32_t>(std::max<LONG>(s.header->biXPelsPerMeter, 0)));
  Put32(values, 100);
  std::uint32_t yAt = place(0);
  Put32(values, static_cast<std::uint32_t>(std::max<LONG>(s.header->biYPelsPerMeter, 0)));
  Put32(values, 100);
  ifd.Entry(tiff::kXResolution, tiff::kRational, 1, xAt);
  ifd.Entry(tiff::kYResolution, tiff::kRational, 1, yAt);
  ifd.Entry(tiff::kPlanarConfiguration, tiff::kShort, 1, 1);
  ifd.Entry(tiff::kResolutionUnit, tiff::kShort, 1, 3);
  std::uint32_t softwareAt = place(18);
  std::memcpy(values.data() + (softwareAt - valueAt), "Tevrin.DLL V1.0", 15);
  ifd.Entry(tiff::kSoftware, tiff::kAscii, 18, softwareAt);
  std::string now = DateTime();
  std::uint32_t dateAt = place(20);
  std::memcpy(values.data() + (dateAt - valueAt), now.c_str(), std::min<std::size_t>(now.size(), 19));
  ifd.Entry(tiff::kDateTime, tiff::kAscii, 20, dateAt);
  if (hasMap) {
    const unsigned n = 1u << bits;
    std::uint32_t mapAt = place(0);
    for (int channel = 0; channel < 3; ++channel) {
      for (unsigned i = 0; i < n; ++i) {
        std::uint8_t rgb[3];
        s.Color(i, rgb[0], rgb[1], rgb[2]);
        Put16(values, std::uint32_t{rgb[channel]} << 8);
      }
    }
    ifd.Entry(tiff::kColorMap, tiff::kShort, 3 * n, mapAt);
  }
  std::vector<std::uint8_t> ifdBytes = ifd.Finish();
  std::uint8_t ifdOffset[4] = {static_cast<std::uint8_t>(ifdAt), static_cast<std::uint8_t>(ifdAt >> 8),
                               static_cast<std::uint8_t>(ifdAt >> 16), static_cast<std::uint8_t>(ifdAt >> 24)};
  if (!file.Write(ifdBytes.data(), ifdBytes.size()) || !file.Write(values.data(), values.size()) ||
      !file.Seek(4) || !file.Write(ifdOffset, 4) || !file.Close())
    failed = true;
  if (failed) return Fail(text::kWriteError);
  return true;
}

}  // namespace tevrin
