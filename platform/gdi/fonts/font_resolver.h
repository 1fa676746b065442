// From a LOGFONT to the face that draws it: the face name through our table
// of Windows names (or fontconfig for names we do not know), the style file
// for the weight and slant (simulated when the family has no such file), the
// character set realised, and the faces asked for characters the chosen one
// lacks.
#pragma once

#include <string>
#include <vector>

#include "gdi/fonts/font_face.h"
#include "win/gdi.h"

namespace win::gdi::fonts {

struct ResolvedFace {
  FontFace* face = nullptr;  // null: no font at all could be opened
  bool synthBold = false;
  bool synthItalic = false;
  std::string reportedName;   // GetTextFace
  BYTE pitchAndFamily = 0;    // LOGFONT form
  BYTE charset = ANSI_CHARSET;
  int fallbackSet = 0;        // 0 Latin, 1 Japanese first, 2 Korean first
  std::vector<FontFace*> fallbacks;
};

// The weight from which the bold face is chosen.
inline constexpr LONG kBoldFromWeight = FW_SEMIBOLD;

ResolvedFace ResolveFace(const LOGFONT& lf);

// The character set text is decoded with for a requested one: ANSI, OEM,
// SYMBOL, SHIFTJIS and HANGUL as asked; DEFAULT_CHARSET the face's own;
// anything else ANSI.
BYTE RealisedCharset(BYTE requested, BYTE faceCharset);

}  // namespace win::gdi::fonts
