// Helpers of the image library's tests: DIB blocks built from a few lines,
// pictures rendered from DIBs and read from PNM files, the external oracle
// tools, and the message boxes the library showed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pixolt.h"
#include "support/tools.h"
#include "win/windows.h"

namespace pixolt_test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// Pixels, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> px;
  const Rgb& at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

// An uncompressed DIB (1, 4, 8 or 24 bits) as the user would see it.
Picture Render(HGLOBAL dib);
// Binary PBM, PGM or PPM (P4, P5, P6) of 8-bit samples.
bool ParsePnm(const std::string& bytes, Picture& out);
bool ReadPnm(const std::string& path, Picture& out);
// Mean over all pixels of the summed absolute channel differences.
double MeanColorError(const Picture& a, const Picture& b);
// Describes the first differing pixel ("" when equal).
std::string FirstDifference(const Picture& a, const Picture& b);

// tests/data/pixolt/<relative>.
std::string DataPath(const std::string& relative);
std::string ReadFile(const std::string& path);

using testing_support::HaveTool;
// Runs a shell command; its standard output, and whether it exited 0.
std::string RunTool(const std::string& command, bool* ok = nullptr);

// A DIB block: `colors` table entries (blue, green, red order taken from
// the Rgb), pixels from `value(x, storedRow)` (an index, or 0xRRGGBB at 24
// bits). biClrUsed is the table's size (0 for none).
HGLOBAL MakeDib(int width, int height, int bits, const std::vector<Rgb>& colors,
                const std::function<std::uint32_t(int, int)>& value);
// The pixel value at column x of stored row y (index or 0xRRGGBB).
std::uint32_t PixelAt(HGLOBAL dib, int x, int y);
BITMAPINFOHEADER HeaderOf(HGLOBAL dib);
std::vector<Rgb> TableOf(HGLOBAL dib);
// The whole block's bytes.
std::string BlockBytes(HGLOBAL dib);
// A 44-byte GHND block, as the client passes to the readers.
HGLOBAL EmptyBlock();
// A block holding these bytes.
HGLOBAL BlockOf(const std::string& bytes);

// Texts of the boxes shown since the fixture started (each also checked
// for the library's caption and style).
std::vector<std::string> Messages();

class PixoltTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Frees the block when the test ends.
  HGLOBAL Keep(HGLOBAL block) {
    if (block) owned_.push_back(block);
    return block;
  }

 private:
  std::vector<HGLOBAL> owned_;
};

}  // namespace pixolt_test
