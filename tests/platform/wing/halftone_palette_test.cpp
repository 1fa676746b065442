// The halftone palette: the static colours at both ends, and every entry of
// the dither's colour cube on a slot holding its colour (or, where two cube
// colours share a slot, the colour nearest to it).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "win/wing.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb At(int index) {
  const RGBQUAD& q = win::HalftonePaletteColors()[index];
  return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

int Distance(Rgb a, Rgb b) {
  return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
}

Rgb CubeColor(int i) { return Rgb{i % 6 * 51, i / 6 % 6 * 51, i / 36 * 51}; }

TEST(HalftonePalette, StaticColoursAtBothEnds) {
  const Rgb expected[20] = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
  };
  for (int i = 0; i < 20; ++i) {
    const int index = i < 10 ? i : 236 + i;
    const Rgb c = At(index);
    EXPECT_EQ(c.r, expected[i].r) << index;
    EXPECT_EQ(c.g, expected[i].g) << index;
    EXPECT_EQ(c.b, expected[i].b) << index;
  }
  for (int i = 0; i < 256; ++i) EXPECT_EQ(win::HalftonePaletteColors()[i].rgbReserved, 0) << i;
}

TEST(HalftonePalette, EveryCubeEntryLandsOnItsColour) {
  const BYTE* cube = win::HalftoneCubeToPalette();
  std::multiset<int> uses;
  for (int i = 0; i < win::kHalftoneCubeSize; ++i) uses.insert(cube[i]);

  int shared = 0;
  for (int i = 0; i < win::kHalftoneCubeSize; ++i) {
    const Rgb want = CubeColor(i);
    const Rgb got = At(cube[i]);
    if (uses.count(cube[i]) == 1) {
      EXPECT_EQ(Distance(want, got), 0) << "cube " << i << " on slot " << int(cube[i]);
      continue;
    }
    // A shared slot holds one of its cube colours; every other maps to a
    // colour no farther than any in the palette.
    ++shared;
    int nearest = Distance(want, At(0));
    for (int k = 1; k < 256; ++k) nearest = std::min(nearest, Distance(want, At(k)));
    EXPECT_EQ(Distance(want, got), nearest) << "cube " << i << " on slot " << int(cube[i]);
    bool holdsOne = false;
    for (int j = 0; j < win::kHalftoneCubeSize; ++j)
      if (cube[j] == cube[i] && Distance(CubeColor(j), got) == 0) holdsOne = true;
    EXPECT_TRUE(holdsOne) << "slot " << int(cube[i]);
  }
  EXPECT_EQ(shared, 6);       // pure green and pure blue, each with two neighbours
  EXPECT_EQ(cube[0], 0);      // black
  EXPECT_EQ(cube[215], 255);  // white
}

}  // namespace
