// The style files: "MAIN.STY" and every other "*.sty" file of the home
// directory, read into the style table at start-up and on a reload.
#pragma once

// Loads MAIN.STY, then every other style file of the current directory
// (names compared without regard to case, in name order). Only adds to the
// table: the caller empties it before a reload.
void LoadStyles();
// Loads one style file; a failure is logged ("cannot load style ...").
void LoadStyleFile(const char* fileName);

// A style file larger than this is not read.
inline constexpr long kMaxStyleFileBytes = 16L << 20;
