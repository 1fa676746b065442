// The DIB handle as every operation of the library sees it: a locked view of
// a packed DIB whose header fields are checked against the block's real size
// before anything is read, and an owned new block for results.
#pragma once

#include <cstddef>
#include <cstdint>

#include "win/kernel.h"
#include "win/types.h"

namespace pixolt {

inline constexpr DWORD kInfoHeaderSize = 40;
inline constexpr LONG kPelsPerMeter = 2953;  // 75 dots per inch
// Largest picture side and pixel data the library makes or accepts; a
// header asking for more is refused before anything is allocated.
inline constexpr std::int64_t kMaxSide = 32768;
inline constexpr std::uint64_t kMaxBitsBytes = 256u * 1024u * 1024u;

// Bytes of one stored row: padded to whole 32-bit words.
inline std::uint64_t RowBytes(std::uint64_t width, unsigned bitCount) {
  return ((width * bitCount + 31) / 32) * 4;
}

// Entries of the colour table: biClrUsed, else 2^bits up to 8 bits, else 0.
DWORD ColorCount(const BITMAPINFOHEADER& header);

// The largest colour table a header may declare for its bit count.
DWORD MaxColorCount(unsigned bitCount);

// A DIB handle locked for the length of one call (unlocked when it goes).
class LockedDib {
 public:
  explicit LockedDib(HGLOBAL handle);
  ~LockedDib();
  LockedDib(const LockedDib&) = delete;
  LockedDib& operator=(const LockedDib&) = delete;

  // No handle, or one that is no live block.
  bool null() const { return data_ == nullptr; }
  // The first 40 bytes (zeros past the end of a shorter block).
  const BITMAPINFOHEADER& header() const { return header_; }
  bool os2() const { return header_.biSize != kInfoHeaderSize; }
  bool compressed() const { return header_.biCompression != 0; }
  unsigned bitCount() const { return header_.biBitCount; }
  LONG width() const { return header_.biWidth; }
  LONG height() const { return header_.biHeight; }

  // Whether the header describes a DIB the block really holds: a known bit
  // count and compression, non-negative sides within the limits, a colour
  // table the bit count allows, and (uncompressed) every row inside the
  // block. The accessors below may be used only after it said yes.
  bool Valid();

  DWORD colors() const { return colors_; }
  std::uint64_t rowBytes() const { return rowBytes_; }
  // Uncompressed: rows x row bytes; compressed: the stream's bytes.
  std::uint64_t bitsBytes() const { return bitsBytes_; }
  const RGBQUAD* table() const { return reinterpret_cast<const RGBQUAD*>(data_ + kInfoHeaderSize); }
  std::uint8_t* bits() const { return data_ + bitsOffset_; }
  std::uint8_t* row(std::uint64_t stored) const { return bits() + stored * rowBytes_; }
  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  HGLOBAL handle() const { return handle_; }

 private:
  HGLOBAL handle_;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  BITMAPINFOHEADER header_{};
  DWORD colors_ = 0;
  std::uint64_t rowBytes_ = 0;
  std::uint64_t bitsBytes_ = 0;
  std::size_t bitsOffset_ = 0;
};

// A new moveable, zero-filled block owned by the call until Release() hands
// it to the caller; freed when the call fails. Allocation is refused above
// the library's size limit.
class NewBlock {
 public:
  explicit NewBlock(std::uint64_t bytes);
  ~NewBlock();
  NewBlock(const NewBlock&) = delete;
  NewBlock& operator=(const NewBlock&) = delete;

  bool ok() const { return data_ != nullptr; }
  std::uint8_t* data() const { return data_; }
  BITMAPINFOHEADER& header() const { return *reinterpret_cast<BITMAPINFOHEADER*>(data_); }
  RGBQUAD* table() const { return reinterpret_cast<RGBQUAD*>(data_ + kInfoHeaderSize); }
  std::uint64_t size() const { return size_; }
  HGLOBAL Release();

 private:
  HGLOBAL handle_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::uint64_t size_ = 0;
};

// Fills a 40-byte header of an uncompressed DIB.
void FillHeader(BITMAPINFOHEADER& h, LONG width, LONG height, WORD bitCount, DWORD sizeImage,
                LONG xPels, LONG yPels, DWORD clrUsed, DWORD clrImportant);

}  // namespace pixolt
