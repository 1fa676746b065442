// Helpers of the plug-in tests: the committed oracle files, pictures as
// plain RGB, DIBs made and taken apart, and the reference tools (netpbm,
// libtiff-tools, giflib-tools) run on files the plug-ins wrote.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win/types.h"

#include "support/tools.h"

namespace plugin_test {

// tests/data/plugins/<relative>.
std::string DataPath(const std::string& relative);
// The names of the files in tests/data/plugins/<dir> ending in `suffix`
// (without the suffix), sorted.
std::vector<std::string> DataFiles(const std::string& dir, const std::string& suffix);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);

// A picture as 8-bit red, green, blue, rows from the top.
struct Rgb {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  bool operator==(const Rgb&) const = default;
};
// A P6 file of maxval 255 (the oracles), or P4/P5/P6 of any maxval scaled
// to 255; an empty picture when the file cannot be read.
Rgb ReadPnm(const std::vector<std::uint8_t>& bytes);
Rgb ReadPnmFile(const std::string& path);
// A DIB (1, 4, 8 or 24 bits) expanded through its colour table.
Rgb DibToRgb(HGLOBAL dib);
// "" when equal, else where and how they differ; `tolerance` allows that
// much difference per channel.
std::string Compare(const Rgb& expected, const Rgb& actual, int tolerance = 0);

// A fresh reader block: 44 zero bytes, moveable (GHND).
HGLOBAL NewReaderBlock();
// A DIB of the given depth; `pixel(x, y)` gives the colour index (or, for
// 24 bits, 0xRRGGBB) of the pixel at x, y from the top left. `palette`
// holds 0xRRGGBB entries (its size becomes biClrUsed).
HGLOBAL MakeDib(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                const std::function<std::uint32_t(int, int)>& pixel);

// A hidden top-level window that keeps the percentages of every progress
// message (0x62C) sent to it.
class ProgressRecorder {
 public:
  ProgressRecorder();
  ~ProgressRecorder();
  ProgressRecorder(const ProgressRecorder&) = delete;
  ProgressRecorder& operator=(const ProgressRecorder&) = delete;
  HWND window() const { return window_; }
  const std::vector<int>& percents() const;

 private:
  HWND window_ = nullptr;
};

// Runs a shell command; its standard output, or nullopt-like empty with
// ok false when it failed.
bool Run(const std::string& command, std::string* output = nullptr);
using testing_support::HaveTool;

// The directory the plug-in modules are built into.
std::string ModuleDirectory();

}  // namespace plugin_test
