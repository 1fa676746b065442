// Reading packed device-independent bitmaps: header checks, colour tables,
// row decoding, RLE expansion, and writing rows back (GetDIBits, the DIB
// driver).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gdi/dc.h"
#include "win/gdi.h"

namespace win::gdi {

struct DibInfo {
  int width = 0;
  int height = 0;        // rows (positive)
  bool topDown = false;  // negative biHeight
  int bitCount = 0;      // 1, 4, 8, 16, 24, 32
  DWORD compression = BI_RGB;
  std::size_t headerSize = 0;   // biSize
  std::size_t tableOffset = 0;  // from the header start: colour table (after bit-field masks)
  int tableEntries = 0;         // colour-table entries present
  std::size_t stride = 0;       // bytes per uncompressed row
  std::size_t imageBytes = 0;   // bytes the bits must hold (RLE: biSizeImage)
  std::uint32_t masks[3] = {0, 0, 0};  // 16 and 32 bits: red, green, blue
};

// Checks a header (biSize 40, 52, 56, 108 or 124; planes 1; a known bit
// count and compression; sides up to ZEMRA_GDI_MAX_SIDE; the pixel bytes,
// and the picture at 4 bytes a pixel, up to ZEMRA_GDI_MAX_BYTES; RLE only with 8 or 4 bits and a non-zero image
// size; an uncompressed image size, when given, at least the rows need).
// False when anything is off.
bool ParseDib(const BITMAPINFOHEADER* h, DibInfo& out);

// Row `row` (0 = the first stored row) of an uncompressed DIB, columns
// [x0, x0 + n), as 0x00RRGGBB through `lut` (the colour table as pixels,
// `lutSize` entries; indexes past it give black).
void DecodeRow(const DibInfo& dib, const std::uint8_t* bits, int row, int x0, int n,
               const std::uint32_t* lut, int lutSize, std::uint32_t* out);

// The colour table as pixels: RGBQUADs (DIB_RGB_COLORS) or palette indexes
// into the DC's selected palette (DIB_PAL_COLORS).
std::vector<std::uint32_t> DibColorTable(const BITMAPINFO* info, const DibInfo& dib, UINT usage,
                                         const DcRecord* dc);

// Expands an RLE8 or RLE4 image to one byte per pixel, stored-row order, and
// marks the pixels it wrote (`written`, same layout). Reads at most
// dib.imageBytes bytes. False for a stream that breaks off before its end
// mark is found is still accepted (what was decoded stays); false only for
// a bad argument.
bool ExpandRle(const DibInfo& dib, const std::uint8_t* bits, std::vector<std::uint8_t>& indexes,
               std::vector<std::uint8_t>& written);

// Encodes 0x00RRGGBB pixels into row `row` of an uncompressed DIB; below 16
// bits each pixel becomes the nearest colour-table entry (exact ones first).
void EncodeRow(const DibInfo& dib, std::uint8_t* bits, int row, const std::uint32_t* pixels,
               const std::uint32_t* lut, int lutSize);

// The colour table GetDIBits gives for a depth below 16 bits (and the
// meaning of palette-depth device-bitmap bits): black and white; the 16 VGA
// colours; at 8 bits the system palette on an 8-bit display, else the static
// colours, a 6x6x6 cube and a grey ramp.
std::vector<std::uint32_t> DeviceColorTable(int bits);

// The start of the bits of a packed DIB (header, masks, colour table, bits).
std::size_t PackedBitsOffset(const DibInfo& dib);

}  // namespace win::gdi
