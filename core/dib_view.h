// A locked, checked view of a packed DIB handed in by a caller. Every header
// field the picture helpers rely on is checked against the block before any
// pixel is read, so a malformed or truncated DIB is refused instead of read
// past its end.
#pragma once

#include "win/types.h"

class DibView {
 public:
  // Locks `dib` and accepts it when it is an uncompressed, bottom-up DIB of
  // `bits` bits per pixel with a 40-byte header, a width and height in
  // 1..kMaxDibDimension, at most 256 colour-table entries and a block large
  // enough for the header, the colour table and every row.
  DibView(HGLOBAL dib, int bits);
  ~DibView();
  DibView(const DibView&) = delete;
  DibView& operator=(const DibView&) = delete;

  bool ok() const { return header_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  // The colour-table entries: biClrUsed, or 2^bits when that is 0 (none
  // for 24 bits).
  int colorCount() const { return colorCount_; }
  const RGBQUAD* colors() const { return colors_; }
  // Row y in memory order (0 = the bottom row of the picture).
  const BYTE* row(int y) const { return bits_ + static_cast<DWORD_PTR>(y) * rowBytes_; }

 private:
  HGLOBAL dib_ = nullptr;
  const BITMAPINFOHEADER* header_ = nullptr;
  const RGBQUAD* colors_ = nullptr;
  const BYTE* bits_ = nullptr;
  DWORD_PTR rowBytes_ = 0;
  int width_ = 0;
  int height_ = 0;
  int colorCount_ = 0;
};

// A locked view of a DIB made by CreateEmptyDib, for filling it.
class DibWriter {
 public:
  explicit DibWriter(HGLOBAL dib);
  ~DibWriter();
  DibWriter(const DibWriter&) = delete;
  DibWriter& operator=(const DibWriter&) = delete;

  bool ok() const { return header_ != nullptr; }
  RGBQUAD* colors() const { return colors_; }
  BYTE* row(int y) const { return bits_ + static_cast<DWORD_PTR>(y) * rowBytes_; }

 private:
  HGLOBAL dib_ = nullptr;
  BITMAPINFOHEADER* header_ = nullptr;
  RGBQUAD* colors_ = nullptr;
  BYTE* bits_ = nullptr;
  DWORD_PTR rowBytes_ = 0;
};
