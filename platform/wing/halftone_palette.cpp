#include <array>

#include "win/wing.h"

namespace win {

namespace {

// Where the ordered dither puts each cube colour. Four cube colours share a
// neighbour's index (two next to pure green, two next to pure blue), so 212
// indices are taken: 0, 29-232 and 249-255.
constexpr BYTE kCubeToPalette[kHalftoneCubeSize] = {
    0,   29,  30,  31,  32,  249, 33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,
    45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  250, 250, 57,  58,  59,  251,
    60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,
    78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  250, 90,  91,  92,  93,  94,
    95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 227,
    112, 113, 114, 115, 116, 117, 118, 119, 151, 120, 121, 122, 123, 124, 228, 125, 126, 229,
    133, 162, 135, 131, 132, 137, 166, 134, 140, 130, 136, 143, 138, 139, 174, 141, 142, 177,
    129, 144, 145, 146, 147, 148, 149, 150, 157, 152, 153, 154, 155, 156, 192, 158, 159, 160,
    161, 196, 163, 164, 165, 127, 199, 167, 168, 169, 170, 171, 172, 173, 207, 175, 176, 210,
    178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191, 224, 193, 194, 195,
    252, 252, 197, 198, 128, 253, 252, 200, 201, 202, 203, 204, 205, 206, 230, 208, 209, 231,
    211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 222, 254, 223, 232, 225, 226, 255,
};

struct Rgb {
  BYTE r, g, b;
};

// The static colours of the system palette: the first ten and the last ten.
constexpr Rgb kStaticLow[10] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr Rgb kStaticHigh[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

RGBQUAD quad(Rgb c) { return RGBQUAD{c.b, c.g, c.r, 0}; }

std::array<RGBQUAD, kHalftoneColors> build() {
  std::array<RGBQUAD, kHalftoneColors> colors{};
  std::array<bool, kHalftoneColors> taken{};
  for (int i = 0; i < 10; ++i) {
    colors[i] = quad(kStaticLow[i]);
    colors[246 + i] = quad(kStaticHigh[i]);
    taken[i] = taken[246 + i] = true;
  }
  // Each cube colour goes where the translation puts it. The static slots
  // it reaches (black, the primaries, white) already hold that colour; of
  // two cube colours sharing a slot the first in cube order keeps it.
  for (int i = 0; i < kHalftoneCubeSize; ++i) {
    BYTE index = kCubeToPalette[i];
    if (taken[index]) continue;
    colors[index] = quad(Rgb{static_cast<BYTE>(i % 6 * 51), static_cast<BYTE>(i / 6 % 6 * 51),
                             static_cast<BYTE>(i / 36 * 51)});
    taken[index] = true;
  }
  // The 32 slots no cube colour uses (10-28, 233-245) get a gray ramp
  // between the cube's gray steps, so that grays dither less coarsely when
  // the palette is used for plain nearest-colour drawing.
  constexpr int kFree = 32;
  int k = 1;
  for (int index = 0; index < kHalftoneColors; ++index) {
    if (taken[index]) continue;
    BYTE level = static_cast<BYTE>((255 * k + kFree / 2 + 1) / (kFree + 1));
    colors[index] = quad(Rgb{level, level, level});
    ++k;
  }
  return colors;
}

}  // namespace

const RGBQUAD* HalftonePaletteColors() {
  static const std::array<RGBQUAD, kHalftoneColors> colors = build();
  return colors.data();
}

const BYTE* HalftoneCubeToPalette() { return kCubeToPalette; }

}  // namespace win
