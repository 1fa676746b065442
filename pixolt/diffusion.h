// The error diffusion shared by the dithers and the dithered colour
// reduction: after a pixel of a 24-bit working DIB got a colour, its error
// goes 3/8 to the right neighbour, 3/8 to the same column of the next
// stored row and 1/4 diagonally, each share truncated toward zero and each
// sum clamped to 0..255.
#pragma once

#include <cstdint>

namespace pixolt {

class Diffuser {
 public:
  // `bits` of the working DIB, `rowBytes` apart, `width` x `height` pixels.
  Diffuser(std::uint8_t* bits, std::uint64_t rowBytes, std::uint64_t width, std::uint64_t height)
      : bits_(bits), rowBytes_(rowBytes), width_(width), height_(height) {}

  std::uint8_t* pixel(std::uint64_t x, std::uint64_t y) const { return bits_ + y * rowBytes_ + 3 * x; }

  // The pixel at (x, y) was given (blue, green, red).
  void Spread(std::uint64_t x, std::uint64_t y, int blue, int green, int red) const {
    const std::uint8_t* p = pixel(x, y);
    int e[3] = {p[0] - blue, p[1] - green, p[2] - red};
    bool right = x + 1 < width_;
    bool up = y + 1 < height_;
    if (right) Add(pixel(x + 1, y), e, 3, 8);
    if (up) Add(pixel(x, y + 1), e, 3, 8);
    if (right && up) Add(pixel(x + 1, y + 1), e, 1, 4);
  }

 private:
  static void Add(std::uint8_t* p, const int* e, int mul, int div) {
    for (int c = 0; c < 3; ++c) {
      int v = p[c] + e[c] * mul / div;
      p[c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
    }
  }

  std::uint8_t* bits_;
  std::uint64_t rowBytes_, width_, height_;
};

// The 15-bit colour cell of a pixel and the cell's representative colour.
inline unsigned Cell(unsigned red, unsigned green, unsigned blue) {
  return (red / 8) * 1024 + (green / 8) * 32 + blue / 8;
}
inline unsigned CellRed(unsigned cell) { return (cell >> 10) * 8; }
inline unsigned CellGreen(unsigned cell) { return ((cell >> 5) & 31) * 8; }
inline unsigned CellBlue(unsigned cell) { return (cell & 31) * 8; }
inline constexpr unsigned kCells = 32768;

}  // namespace pixolt
