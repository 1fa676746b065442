// Choosing a colour table by median cut over the 15-bit histogram: boxes of
// the colour cube are split at the median plane of their longest side until
// each has its share of colours; each leaf gives its mean colour.
#pragma once

#include <cstdint>

#include "win/types.h"

namespace pixolt {

struct MedianCutState {
  RGBQUAD* table;       // the result's colour table
  DWORD limit;          // entries that may be written
  DWORD written = 0;    // colours written so far
  DWORD steps = 0;      // boxes visited so far
  DWORD expectedSteps;  // for the percentage: 2 x colours - 1
};

// The box: five-bit red r0..r1, green g0..g1, blue b0..b1, holding `pixels`
// pixels, to be given `colours` colours.
void MedianCut(MedianCutState& state, const std::uint32_t* histogram, unsigned r0, unsigned r1,
               unsigned g0, unsigned g1, unsigned b0, unsigned b1, DWORD colours, std::uint64_t pixels);

}  // namespace pixolt
