// An opened font file (one face of it) with the design metrics that Windows
// derives text metrics from. Faces are opened once and kept for the process.
#pragma once

#include <cstdint>
#include <string>

#include "gdi/fonts/freetype_library.h"
#include "win/types.h"

namespace win::gdi::fonts {

// Design units of the face (units per em).
struct DesignMetrics {
  int unitsPerEm = 2048;
  int winAscent = 0;   // OS/2 usWinAscent (hhea ascender without OS/2)
  int winDescent = 0;  // OS/2 usWinDescent, positive below the baseline
  int hheaAscender = 0;
  int hheaDescender = 0;  // negative below the baseline
  int hheaLineGap = 0;
  int avgCharWidth = 0;  // OS/2 xAvgCharWidth
  int maxAdvance = 0;    // hhea advanceWidthMax
  int underlinePosition = 0;   // top of the underline, negative below the baseline
  int underlineThickness = 0;
  int strikeoutPosition = 0;   // top of the strike-out line above the baseline
  int strikeoutSize = 0;
  int weightClass = 400;
  bool bold = false;    // the face itself is bold / italic (style flags)
  bool italic = false;
  bool fixedPitch = false;
  BYTE family = 0;      // FF_ROMAN, FF_SWISS, FF_MODERN or FF_DONTCARE
  bool symbolMap = false;  // characters are looked up at 0xF000 + code
};

class FontFace {
 public:
  // The face at `index` of the file; null when it cannot be opened or is
  // not a scalable font. Kept open for the process.
  static FontFace* Open(const std::string& path, int index = 0);

  FT_Face face() const { return face_; }
  const DesignMetrics& metrics() const { return metrics_; }
  const std::string& path() const { return path_; }
  std::string familyName() const;
  std::uint32_t id() const { return id_; }  // small number, unique per open face

  // The glyph for a character, 0 when the face has none.
  FT_UInt GlyphIndex(char32_t cp) const;
  bool HasChar(char32_t cp) const { return GlyphIndex(cp) != 0; }

  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

 private:
  FontFace(FT_Face face, std::string path, std::uint32_t id);

  FT_Face face_;
  std::string path_;
  std::uint32_t id_;
  DesignMetrics metrics_;
};

}  // namespace win::gdi::fonts
