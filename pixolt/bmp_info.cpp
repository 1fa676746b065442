#include "bmp_info.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "dib_block.h"
#include "reasons.h"
#include "report.h"

namespace pixolt {
namespace {

constexpr char kOp[] = "ReadDIBInfo";
constexpr DWORD kCoreHeaderSize = 12;
constexpr std::uint64_t kFileHeaderSize = 14;
constexpr WORD kTypeBM = 0x4D42;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct FileHeader {
  WORD type = 0;
  DWORD offBits = 0;
};

bool ReadFileHeader(ByteSource& source, FileHeader& out) {
  std::uint8_t raw[kFileHeaderSize];
  if (source.Read(raw, sizeof raw) < sizeof raw) return false;
  out.type = U16(raw);
  out.offBits = U32(raw + 10);
  return true;
}

// Reads the information header. An OS/2 core header needs only its own 12
// bytes (a small OS/2 file may hold fewer than 40 after the file header).
// Answers the bytes of the header as stored (12 or the size field), 0 when
// too few bytes were there.
DWORD ReadInfoHeader(ByteSource& source, BITMAPINFOHEADER& h) {
  std::uint8_t raw[kInfoHeaderSize] = {};
  std::size_t got = source.Read(raw, sizeof raw);
  if (got >= kCoreHeaderSize && U32(raw) == kCoreHeaderSize) {
    h = BITMAPINFOHEADER{};
    h.biSize = kInfoHeaderSize;
    h.biWidth = U16(raw + 4);
    h.biHeight = U16(raw + 6);
    h.biPlanes = U16(raw + 8);
    h.biBitCount = U16(raw + 10);
    h.biXPelsPerMeter = kPelsPerMeter;
    h.biYPelsPerMeter = kPelsPerMeter;
    return kCoreHeaderSize;
  }
  if (got < sizeof raw) return 0;
  std::memcpy(&h, raw, sizeof h);
  return h.biSize;
}

// What the library can hold: 1, 4, 8 or 24 bits; RLE8 only at 8 bits and
// RLE4 only at 4; sides within the limits (a negative height is a top-down
// file, which cannot be compressed); no more colours than the bit count has.
bool Supported(const BITMAPINFOHEADER& h) {
  unsigned bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
  DWORD c = h.biCompression;
  if (!(c == BI_RGB || (c == BI_RLE8 && bits == 8) || (c == BI_RLE4 && bits == 4))) return false;
  std::int64_t height = h.biHeight;
  if (h.biWidth <= 0 || h.biWidth > kMaxSide || height == 0 || height > kMaxSide ||
      height < -kMaxSide)
    return false;
  if (height < 0 && c != BI_RGB) return false;
  return h.biClrUsed <= MaxColorCount(bits);
}

}  // namespace

HGLOBAL ReadDibInfo(ByteSource& source, HGLOBAL block, BmpLayout& layout) {
  FileHeader file;
  if (!ReadFileHeader(source, file)) {
    Report(kOp, "Fehler beim Lesen des BMP-Dateikopfs!");
    return nullptr;
  }
  if (file.type != kTypeBM) {
    Report(kOp, "Keine g\xfc" "ltige BMP-Datei!");
    return nullptr;
  }
  BITMAPINFOHEADER h{};
  DWORD stored = ReadInfoHeader(source, h);
  if (stored == 0) {
    Report(kOp, "Fehler beim Lesen des DIB-Informationsblocks!");
    return nullptr;
  }
  bool threeByteColors = stored == kCoreHeaderSize;
  if (threeByteColors && !source.Seek(kFileHeaderSize + kCoreHeaderSize)) {
    Report(kOp, "Fehler beim Lesen des DIB-Informationsblocks!");
    return nullptr;
  }
  if (h.biSize != kInfoHeaderSize || !Supported(h)) {
    Report(kOp, kUnknownFormat);
    return nullptr;
  }

  layout.topDown = h.biHeight < 0;
  layout.rows = static_cast<DWORD>(layout.topDown ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight);
  layout.rowBytes = RowBytes(static_cast<std::uint64_t>(h.biWidth), h.biBitCount);
  std::uint64_t computed = layout.rowBytes * layout.rows;
  if (h.biSizeImage == 0 || h.biCompression == BI_RGB) {
    // The sides are limited, so the computed size fits 32 bits.
    h.biSizeImage = static_cast<DWORD>(computed);
  }
  layout.imageSize = h.biSizeImage;
  if (h.biClrUsed == 0) h.biClrUsed = ColorCount(h);
  layout.colors = h.biClrUsed;
  // Stored bottom-up from here on.
  h.biHeight = static_cast<LONG>(layout.rows);

  DWORD_PTR infoBytes = kInfoHeaderSize + DWORD_PTR{4} * layout.colors;
  HGLOBAL grown = block ? GlobalReAlloc(block, infoBytes, GMEM_MOVEABLE | GMEM_ZEROINIT) : nullptr;
  if (!grown) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  auto* data = static_cast<std::uint8_t*>(GlobalLock(grown));
  if (!data) {
    Report(kOp, kNoMemory);
    return nullptr;
  }
  std::memcpy(data, &h, sizeof h);
  std::uint8_t* table = data + kInfoHeaderSize;
  std::size_t entryBytes = threeByteColors ? 3 : 4;
  std::size_t tableBytes = entryBytes * layout.colors;
  // What a short file does not hold stays 0.
  std::size_t got = source.Read(table, tableBytes);
  std::memset(table + got, 0, 4 * layout.colors - got);
  if (threeByteColors) {
    // Widened in place from the last entry to the first.
    for (DWORD i = layout.colors; i-- > 0;) {
      std::uint8_t b = table[3 * i], g = table[3 * i + 1], r = table[3 * i + 2];
      table[4 * i] = b;
      table[4 * i + 1] = g;
      table[4 * i + 2] = r;
      table[4 * i + 3] = 0;
    }
  }
  GlobalUnlock(grown);
  // An offset the source cannot reach leaves the pixels unread (0).
  layout.bitsUnreachable = file.offBits != 0 && !source.Seek(file.offBits);
  return grown;
}

BOOL LooksLikeBmp(ByteSource& source) {
  FileHeader file;
  if (!ReadFileHeader(source, file)) {
    Report("IsBMPFile", "Fehler beim Lesen des BMP-Dateikopfs!");
    return FALSE;
  }
  if (file.type != kTypeBM) return FALSE;
  BITMAPINFOHEADER h{};
  DWORD stored = ReadInfoHeader(source, h);
  if (stored == 0) {
    Report(kOp, "Fehler beim Lesen des DIB-Informationsblocks!");
    return FALSE;
  }
  return stored == kCoreHeaderSize || stored == kInfoHeaderSize;
}

HGLOBAL ReadDibBits(const char* op, ByteSource& source, HGLOBAL block, const BmpLayout& layout) {
  std::uint64_t tableEnd = kInfoHeaderSize + std::uint64_t{4} * layout.colors;
  std::uint64_t total = tableEnd + layout.imageSize;
  if (layout.imageSize > kMaxBitsBytes) {
    Report(op, kOutOfMemory);
    return nullptr;
  }
  // Not zero-filled: the pixels are read over it and what the file does
  // not hold is zeroed below.
  HGLOBAL grown = GlobalReAlloc(block, static_cast<DWORD_PTR>(total), GMEM_MOVEABLE);
  if (!grown) {
    Report(op, kOutOfMemory);
    return nullptr;
  }
  auto* data = static_cast<std::uint8_t*>(GlobalLock(grown));
  if (!data) {
    Report(op, kOutOfMemory);
    return nullptr;
  }
  std::uint8_t* bits = data + tableEnd;
  std::size_t size = static_cast<std::size_t>(layout.imageSize);
  std::size_t got = layout.bitsUnreachable ? 0 : source.Read(bits, size);
  std::memset(bits + got, 0, size - got);
  if (layout.topDown) {
    std::vector<std::uint8_t> swap(static_cast<std::size_t>(layout.rowBytes));
    for (DWORD top = 0, bottom = layout.rows - 1; layout.rows > 0 && top < bottom; ++top, --bottom) {
      std::uint8_t* a = bits + top * layout.rowBytes;
      std::uint8_t* b = bits + bottom * layout.rowBytes;
      std::memcpy(swap.data(), a, swap.size());
      std::memcpy(a, b, swap.size());
      std::memcpy(b, swap.data(), swap.size());
    }
  }
  GlobalUnlock(grown);
  return grown;
}

}  // namespace pixolt
