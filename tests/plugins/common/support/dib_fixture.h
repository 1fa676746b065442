// Pictures for the converter tests as packed bytes: DIBs made from a pixel
// rule, DIBs in global blocks, netpbm pictures pixel by pixel (what the
// oracle tools write), and running those tools. The PCX and EPS tests use
// it; it reads and runs through the helpers of picture_oracle.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/tools.h"
#include "win/types.h"

namespace convert_test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A packed DIB (header, table, bottom-up rows). `palette` is the colour
// table (ignored for 24 bits); `pixel(x, y)` gives, for y counted from the
// top, the index (1, 4, 8 bits) or 0xRRGGBB (24 bits).
std::vector<std::uint8_t> MakeDib(int width, int height, int bits, const std::vector<Rgb>& palette,
                                  const std::function<std::uint32_t(int x, int y)>& pixel);
// A palette of n distinct colours.
std::vector<Rgb> TestPalette(int n);

// The colour of pixel (x, y from the top) of a packed DIB.
Rgb DibPixel(const std::vector<std::uint8_t>& dib, int x, int y);
// The index (or packed colour for 24 bits) of a pixel.
std::uint32_t DibIndex(const std::vector<std::uint8_t>& dib, int x, int y);
const BITMAPINFOHEADER& DibHeader(const std::vector<std::uint8_t>& dib);

// Global blocks: a copy of bytes in a new GHND block, and the bytes of one.
HGLOBAL ToBlock(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> FromBlock(HGLOBAL block);
// A fresh 44-byte GHND block, as the client passes to a reader.
HGLOBAL EmptyReaderBlock();

// A netpbm picture as RGB (P4, P5, P6, any maxval up to 255, scaled to 255).
struct Pnm {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // rows from the top
  const Rgb& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
bool ReadPnm(const std::string& bytes, Pnm& out);
// Writes a P6 picture of a DIB (what the tools take as their source).
std::string DibToPpm(const std::vector<std::uint8_t>& dib);

// Runs a shell command; its exit status (-1 when it could not run).
int RunCommand(const std::string& command);
using testing_support::HaveTool;

// Whole files.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// The directory the plug-in modules are built into.
std::string ModuleDirectory();

}  // namespace convert_test
