// The start and end positions an anchor's "Position" text gives a sound or
// a film: for a sound two numbers of seconds ("1.5 3"), for a film "Rect:"
// and frame numbers separated by "," (the first the start, the last the
// end). A position that cannot be read or is negative is left out.
#pragma once

#include <optional>

#include "win/types.h"

struct MediaRange {
  std::optional<LONG> from;
  std::optional<LONG> to;
};

// Milliseconds.
MediaRange ReadSoundPosition(const char* text);
// Frames.
MediaRange ReadMoviePosition(const char* text);
