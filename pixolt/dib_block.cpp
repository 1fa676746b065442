#include "dib_block.h"

#include <algorithm>
#include <cstring>

namespace pixolt {

DWORD ColorCount(const BITMAPINFOHEADER& header) {
  if (header.biClrUsed != 0) return header.biClrUsed;
  if (header.biBitCount >= 24) return 0;
  if (header.biBitCount > 8) return 0;
  return DWORD{1} << header.biBitCount;
}

DWORD MaxColorCount(unsigned bitCount) { return bitCount <= 8 ? DWORD{1} << bitCount : 256; }

LockedDib::LockedDib(HGLOBAL handle) : handle_(handle) {
  if (!handle) return;
  std::size_t size = GlobalSize(handle);
  auto* data = static_cast<std::uint8_t*>(GlobalLock(handle));
  if (!data) return;
  data_ = data;
  size_ = size;
  std::memcpy(&header_, data_, std::min<std::size_t>(size_, sizeof header_));
}

LockedDib::~LockedDib() {
  if (data_) GlobalUnlock(handle_);
}

bool LockedDib::Valid() {
  if (!data_ || size_ < kInfoHeaderSize || header_.biSize != kInfoHeaderSize) return false;
  unsigned bits = header_.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  DWORD compression = header_.biCompression;
  if (!(compression == BI_RGB || (compression == BI_RLE8 && bits == 8) ||
        (compression == BI_RLE4 && bits == 4)))
    return false;
  if (header_.biWidth < 0 || header_.biHeight < 0 || header_.biWidth > kMaxSide ||
      header_.biHeight > kMaxSide)
    return false;
  DWORD colors = ColorCount(header_);
  if (colors > MaxColorCount(bits)) return false;
  std::uint64_t tableEnd = kInfoHeaderSize + std::uint64_t{4} * colors;
  if (tableEnd > size_) return false;
  std::uint64_t available = size_ - tableEnd;
  std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(header_.biWidth), bits);
  std::uint64_t bitsBytes;
  if (compression == BI_RGB) {
    bitsBytes = rowBytes * static_cast<std::uint64_t>(header_.biHeight);
    if (bitsBytes > available || bitsBytes > kMaxBitsBytes) return false;
  } else {
    // A stream never runs past the block, whatever its stored size says.
    bitsBytes = header_.biSizeImage != 0 ? std::min<std::uint64_t>(header_.biSizeImage, available)
                                         : available;
  }
  colors_ = colors;
  rowBytes_ = rowBytes;
  bitsBytes_ = bitsBytes;
  bitsOffset_ = static_cast<std::size_t>(tableEnd);
  return true;
}

NewBlock::NewBlock(std::uint64_t bytes) {
  if (bytes > kMaxBitsBytes + kInfoHeaderSize + 4 * 256) return;
  handle_ = GlobalAlloc(GHND, static_cast<DWORD_PTR>(bytes));
  if (!handle_) return;
  data_ = static_cast<std::uint8_t*>(GlobalLock(handle_));
  if (!data_) {
    GlobalFree(handle_);
    handle_ = nullptr;
    return;
  }
  size_ = bytes;
}

NewBlock::~NewBlock() {
  if (!handle_) return;
  GlobalUnlock(handle_);
  GlobalFree(handle_);
}

HGLOBAL NewBlock::Release() {
  HGLOBAL h = handle_;
  if (h) GlobalUnlock(h);
  handle_ = nullptr;
  data_ = nullptr;
  return h;
}

void FillHeader(BITMAPINFOHEADER& h, LONG width, LONG height, WORD bitCount, DWORD sizeImage,
                LONG xPels, LONG yPels, DWORD clrUsed, DWORD clrImportant) {
  h.biSize = kInfoHeaderSize;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = bitCount;
  h.biCompression = BI_RGB;
  h.biSizeImage = sizeImage;
  h.biXPelsPerMeter = xPels;
  h.biYPelsPerMeter = yPels;
  h.biClrUsed = clrUsed;
  h.biClrImportant = clrImportant;
}

}  // namespace pixolt
