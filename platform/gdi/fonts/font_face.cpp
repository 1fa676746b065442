#include "gdi/fonts/font_face.h"

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "win/gdi.h"

namespace win::gdi::fonts {

namespace {

// Files we ever open: the mapped families and whatever fontconfig matched
// for unknown names. A bound keeps a program asking for endless invented
// names from opening every font on the machine.
constexpr std::size_t kMaxOpenFaces = 256;

BYTE FamilyFromPanose(const TT_OS2* os2, bool fixed) {
  if (fixed) return FF_MODERN;
  if (!os2) return FF_DONTCARE;
  // PANOSE: family kind 2 is Latin text; serif styles 11 to 13 are sans serif.
  if (os2->panose[0] != 2) return FF_DONTCARE;
  BYTE serif = os2->panose[1];
  if (serif >= 11 && serif <= 13) return FF_SWISS;
  if (serif >= 2 && serif <= 10) return FF_ROMAN;
  return FF_DONTCARE;
}

// The average character width as the first TrueType fonts defined it (and as
// Arial's and Times New Roman's tables give it): lower-case letters and the
// blank weighted by their frequency in English. Later font versions average
// all glyphs instead, which would make tmAveCharWidth, and what programs
// size by it, differ from the Windows fonts these faces stand in for.
int WeightedAverageWidth(FT_Face face) {
  static constexpr int kWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                       56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
  std::int64_t sum = 0;
  for (int i = 0; i < 27; ++i) {
    FT_ULong ch = i < 26 ? FT_ULong('a' + i) : FT_ULong(' ');
    FT_UInt gid = FT_Get_Char_Index(face, ch);
    FT_Fixed advance = 0;
    if (gid == 0 || FT_Get_Advance(face, gid, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
    sum += std::int64_t(advance) * kWeights[i];
  }
  return int(sum / 1000);
}

DesignMetrics ReadMetrics(FT_Face face) {
  DesignMetrics m;
  m.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  m.hheaAscender = hhea ? hhea->Ascender : face->ascender;
  m.hheaDescender = hhea ? hhea->Descender : face->descender;
  m.hheaLineGap = hhea ? hhea->Line_Gap : 0;
  m.maxAdvance = hhea ? hhea->advance_Width_Max : face->max_advance_width;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    m.winAscent = os2->usWinAscent;
    m.winDescent = os2->usWinDescent;
  } else {
    m.winAscent = m.hheaAscender;
    m.winDescent = -m.hheaDescender;
  }
  if (m.winAscent + m.winDescent <= 0) {  // a broken font: a plain em box
    m.winAscent = m.unitsPerEm * 4 / 5;
    m.winDescent = m.unitsPerEm - m.winAscent;
  }
  m.avgCharWidth = WeightedAverageWidth(face);
  if (m.avgCharWidth <= 0) {
    m.avgCharWidth = (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
                         ? os2->xAvgCharWidth
                         : m.unitsPerEm / 2;
  }
  if (m.maxAdvance <= 0) m.maxAdvance = m.unitsPerEm;
  m.underlinePosition = post ? post->underlinePosition : face->underline_position;
  m.underlineThickness = post ? post->underlineThickness : face->underline_thickness;
  if (m.underlineThickness <= 0) m.underlineThickness = m.unitsPerEm / 20;
  if (m.underlinePosition == 0) m.underlinePosition = -m.unitsPerEm / 10;
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    m.strikeoutPosition = os2->yStrikeoutPosition;
    m.strikeoutSize = os2->yStrikeoutSize;
  } else {
    m.strikeoutPosition = m.winAscent / 3;
    m.strikeoutSize = m.underlineThickness;
  }
  m.weightClass = (os2 && os2->version != 0xFFFF && os2->usWeightClass > 0)
                      ? os2->usWeightClass
                      : ((face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400);
  m.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 || m.weightClass >= 600;
  m.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  m.fixedPitch = FT_IS_FIXED_WIDTH(face) || (post && post->isFixedPitch != 0);
  m.family = FamilyFromPanose(os2 && os2->version != 0xFFFF ? os2 : nullptr, m.fixedPitch);
  return m;
}

struct FaceTable {
  std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> faces;
  std::uint32_t nextId = 1;
};

FaceTable& Table() {
  static FaceTable* table = new FaceTable;  // lives as long as the library
  return *table;
}

}  // namespace

FontFace::FontFace(FT_Face face, std::string path, std::uint32_t id)
    : face_(face), path_(std::move(path)), id_(id), metrics_(ReadMetrics(face)) {
  // Symbol fonts have only a symbol map; FreeType leaves none selected.
  if (!face_->charmap && FT_Select_Charmap(face_, FT_ENCODING_MS_SYMBOL) == 0) {
    metrics_.symbolMap = true;
  }
}

FontFace* FontFace::Open(const std::string& path, int index) {
  FaceTable& t = Table();
  auto key = std::make_pair(path, index);
  auto it = t.faces.find(key);
  if (it != t.faces.end()) return it->second.get();
  FT_Library lib = FreeTypeLibrary();
  if (!lib || path.empty() || index < 0 || t.faces.size() >= kMaxOpenFaces) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, path.c_str(), index, &face) != 0 || !face) return nullptr;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return nullptr;
  }
  auto made = std::unique_ptr<FontFace>(new FontFace(face, path, t.nextId++));
  FontFace* raw = made.get();
  t.faces.emplace(key, std::move(made));
  return raw;
}

std::string FontFace::familyName() const {
  return face_->family_name ? std::string(face_->family_name) : std::string();
}

FT_UInt FontFace::GlyphIndex(char32_t cp) const {
  if (metrics_.symbolMap) {
    if (cp < 0x100) cp += 0xF000;
  }
  return FT_Get_Char_Index(face_, FT_ULong(cp));
}

}  // namespace win::gdi::fonts
