// Golden pictures: what a test drew, compared with a PNG kept in the source
// tree. The pictures hold for the pinned fonts, 96 dpi and anti-aliasing,
// and an X server's screenshot shows the very pixels the program sent, so
// every channel of every pixel must be equal: a part drawn in a wrong
// colour, however close, fails.
//
// ZEMRA_UPDATE_GOLDEN=1 writes the picture instead of comparing. A mismatch
// saves what was drawn beside the test binaries, for a look.
#pragma once

#include <string>

#include "gdi/surface.h"

namespace testing_support {

// `golden`: the picture's path below the source tree ("tests/platform/x11/
// golden/frame.png"); a failed comparison names what was drawn after it.
void ExpectGolden(const win::gdi::Surface& drawn, const std::string& golden);

// The font file behind "Arial" at 12 points: the pictures of text hold only
// for the pinned face (LiberationSans-Regular.ttf).
std::string ArialFontFile();

}  // namespace testing_support
