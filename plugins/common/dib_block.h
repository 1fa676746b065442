// The DIB handle as the plug-ins fill and read it: a moveable global block
// holding a packed DIB (40-byte header, colour table, bottom-up rows padded
// to 4 bytes). Readers grow the 44-byte block the caller passes in; writers
// read the caller's DIB and leave it as it was.
#pragma once

#include <cstdint>
#include <cstring>

#include "win/kernel.h"
#include "win/types.h"

namespace plugins {

// A global block holds at most 1 GiB; no DIB may need more.
inline constexpr std::uint64_t kMaxDibBytes = std::uint64_t{1} << 30;
// 75 dots per inch, what a reader writes when the file says nothing.
inline constexpr LONG kDefaultPelsPerMeter = 2953;
inline constexpr DWORD kDibHeaderSize = 40;

// Bytes of one stored row: width x bits rounded up to 32 bits.
inline constexpr std::uint64_t DibRowBytes(std::uint64_t width, unsigned bits) {
  return (width * bits + 31) / 32 * 4;
}
// Bytes of one row without the padding.
inline constexpr std::uint64_t PackedRowBytes(std::uint64_t width, unsigned bits) {
  return (width * bits + 7) / 8;
}

// Where everything of a DIB lies, computed from sizes a file claims.
struct DibLayout {
  LONG width = 0;
  LONG height = 0;
  WORD bits = 0;
  DWORD colors = 0;      // colour-table entries
  DWORD rowBytes = 0;    // padded
  DWORD bitsOffset = 0;  // 40 + 4 x colors
  DWORD imageBytes = 0;  // rowBytes x height
  DWORD totalBytes = 0;  // bitsOffset + imageBytes
};

// False when no DIB can hold the picture: a dimension below 1 or above
// 2^31 - 1, a depth other than 1, 4, 8 and 24, more than 256 colours, or
// more bytes than a global block holds. Products are formed in 64 bits, so
// sizes from a file cannot overflow.
inline bool MakeDibLayout(std::int64_t width, std::int64_t height, unsigned bits,
                          std::uint32_t colors, DibLayout& out) {
  if (width < 1 || height < 1 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return false;
  if (colors > 256) return false;
  std::uint64_t row = DibRowBytes(static_cast<std::uint64_t>(width), bits);
  if (row > kMaxDibBytes) return false;
  std::uint64_t image = row * static_cast<std::uint64_t>(height);
  std::uint64_t offset = kDibHeaderSize + 4ull * colors;
  if (image > kMaxDibBytes || offset + image > kMaxDibBytes) return false;
  out.width = static_cast<LONG>(width);
  out.height = static_cast<LONG>(height);
  out.bits = static_cast<WORD>(bits);
  out.colors = colors;
  out.rowBytes = static_cast<DWORD>(row);
  out.bitsOffset = static_cast<DWORD>(offset);
  out.imageBytes = static_cast<DWORD>(image);
  out.totalBytes = static_cast<DWORD>(offset + image);
  return true;
}

// Grows the caller's block to `bytes` as the readers' contract says
// (GlobalReAlloc, GMEM_MOVEABLE | GMEM_ZEROINIT, which zeroes the growth)
// and zeroes what the block held before, so nothing the caller left in it
// shows through. Returns the block's handle after the call, or null (the
// block is then unchanged).
inline HGLOBAL GrowDibBlock(HGLOBAL block, std::uint64_t bytes) {
  if (!block || bytes > kMaxDibBytes) return nullptr;
  const std::uint64_t before = GlobalSize(block);
  HGLOBAL grown = GlobalReAlloc(block, static_cast<DWORD_PTR>(bytes), GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!grown) return nullptr;
  if (void* p = GlobalLock(grown)) {
    std::memset(p, 0, static_cast<std::size_t>(before < bytes ? before : bytes));
    GlobalUnlock(grown);
  }
  return grown;
}

// Writes the information header of a reader's DIB (1 plane, uncompressed).
inline void FillDibHeader(std::uint8_t* block, const DibLayout& layout, LONG xPelsPerMeter,
                          LONG yPelsPerMeter, DWORD clrUsed, DWORD clrImportant) {
  BITMAPINFOHEADER h{};
  h.biSize = kDibHeaderSize;
  h.biWidth = layout.width;
  h.biHeight = layout.height;
  h.biPlanes = 1;
  h.biBitCount = layout.bits;
  h.biCompression = 0;
  h.biSizeImage = layout.imageBytes;
  h.biXPelsPerMeter = xPelsPerMeter;
  h.biYPelsPerMeter = yPelsPerMeter;
  h.biClrUsed = clrUsed;
  h.biClrImportant = clrImportant;
  std::memcpy(block, &h, sizeof h);
}

// Sets colour-table entry `index` (red, green, blue given in that order).
inline void SetDibColor(std::uint8_t* block, std::uint32_t index, std::uint8_t red,
                        std::uint8_t green, std::uint8_t blue) {
  std::uint8_t* e = block + kDibHeaderSize + 4 * index;
  e[0] = blue;
  e[1] = green;
  e[2] = red;
  e[3] = 0;
}

// A global block locked for the lifetime of the object.
class BlockLock {
 public:
  explicit BlockLock(HGLOBAL block)
      : block_(block), data_(block ? static_cast<std::uint8_t*>(GlobalLock(block)) : nullptr),
        size_(data_ ? static_cast<std::size_t>(GlobalSize(block)) : 0) {}
  ~BlockLock() {
    if (data_) GlobalUnlock(block_);
  }
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HGLOBAL block_;
  std::uint8_t* data_;
  std::size_t size_;
};

// A caller's DIB as the writers read it, after its header, colour table
// and rows were checked against the block's size.
struct DibSource {
  const BITMAPINFOHEADER* header = nullptr;
  const std::uint8_t* colors = nullptr;  // colorCount entries of blue, green, red, 0
  DWORD colorCount = 0;
  const std::uint8_t* bits = nullptr;
  LONG width = 0;
  LONG height = 0;        // rows, always positive
  bool topDown = false;   // a negative biHeight stores the top row first
  WORD bitCount = 0;
  DWORD rowBytes = 0;

  // Row `r` counted from the top of the picture.
  const std::uint8_t* Row(LONG r) const {
    LONG stored = topDown ? r : height - 1 - r;
    return bits + static_cast<std::size_t>(stored) * rowBytes;
  }
  // Colour-table entry i as red, green, blue (zeros beyond the table).
  void Color(DWORD i, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const {
    if (i >= colorCount) {
      red = green = blue = 0;
      return;
    }
    red = colors[4 * i + 2];
    green = colors[4 * i + 1];
    blue = colors[4 * i];
  }
};

enum class DibCheck {
  kOk,
  kNoDib,        // no block, or too small for a header
  kNotWindows,   // a header size other than 40 (an OS/2 bitmap)
  kCompressed,   // RLE: expand it first
  kBadShape,     // a depth, size or colour table the block cannot hold
};

// The colour-table length of a header: biClrUsed, or 2^bits for up to 8
// bits when it is 0, none for 24 bits.
inline std::uint64_t DibColorCount(const BITMAPINFOHEADER& h) {
  if (h.biClrUsed != 0) return h.biClrUsed;
  return h.biBitCount <= 8 ? (std::uint64_t{1} << h.biBitCount) : 0;
}

// Checks a locked DIB block of `size` bytes and fills `out`.
inline DibCheck ViewDib(const std::uint8_t* block, std::size_t size, DibSource& out) {
  if (!block || size < sizeof(BITMAPINFOHEADER)) return DibCheck::kNoDib;
  const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(block);
  if (h->biSize != kDibHeaderSize) return DibCheck::kNotWindows;
  if (h->biCompression != 0) return DibCheck::kCompressed;
  unsigned bits = h->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return DibCheck::kBadShape;
  std::int64_t height = h->biHeight;
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (h->biWidth < 1 || height < 1) return DibCheck::kBadShape;
  std::uint64_t colors = DibColorCount(*h);
  std::uint64_t row = DibRowBytes(static_cast<std::uint64_t>(h->biWidth), bits);
  std::uint64_t offset = kDibHeaderSize + 4 * colors;
  if (colors > (kMaxDibBytes / 4) || row > kMaxDibBytes) return DibCheck::kBadShape;
  std::uint64_t image = row * static_cast<std::uint64_t>(height);
  if (offset > size || image > size - offset) return DibCheck::kBadShape;
  out.header = h;
  out.colors = block + kDibHeaderSize;
  out.colorCount = static_cast<DWORD>(colors);
  out.bits = block + offset;
  out.width = h->biWidth;
  out.height = static_cast<LONG>(height);
  out.topDown = topDown;
  out.bitCount = static_cast<WORD>(bits);
  out.rowBytes = static_cast<DWORD>(row);
  return DibCheck::kOk;
}

}  // namespace plugins
