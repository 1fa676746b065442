// Which font file draws which LOGFONT, what GetTextFace says, and what
// EnumFontFamilies offers.
#include <algorithm>
#include <string>
#include <vector>

#include "text_fixture.h"

namespace {

using text_test::FileName;
using text_test::FontSpec;
using text_test::TextTest;

struct MappingCase {
  FontSpec font;
  const char* file;
  const char* face;
};

TEST_F(TextTest, FaceNamesMapToPinnedFiles) {
  const MappingCase cases[] = {
      {{-16, "Arial"}, "LiberationSans-Regular.ttf", "Arial"},
      {{-16, "arial"}, "LiberationSans-Regular.ttf", "Arial"},
      {{-16, "Helvetica"}, "LiberationSans-Regular.ttf", "Arial"},
      {{-16, "MS Sans Serif"}, "LiberationSans-Regular.ttf", "MS Sans Serif"},
      {{-16, "Arial", FW_BOLD}, "LiberationSans-Bold.ttf", "Arial"},
      {{-16, "Arial", FW_SEMIBOLD, true}, "LiberationSans-BoldItalic.ttf", "Arial"},
      {{-16, "Arial", FW_MEDIUM}, "LiberationSans-Regular.ttf", "Arial"},
      {{-16, "Times New Roman"}, "LiberationSerif-Regular.ttf", "Times New Roman"},
      {{-16, "Times New Roman", FW_NORMAL, true}, "LiberationSerif-Italic.ttf", "Times New Roman"},
      {{-16, "Courier New"}, "LiberationMono-Regular.ttf", "Courier New"},
      {{-16, "Courier", FW_BOLD}, "LiberationMono-Bold.ttf", "Courier"},
      // System is a bold face whatever weight is asked.
      {{16, "System"}, "LiberationSans-Bold.ttf", "System"},
      // No face: chosen by pitch and family.
      {{-16, "", FW_NORMAL, false, false, false, ANSI_CHARSET, FF_ROMAN},
       "LiberationSerif-Regular.ttf",
       "Times New Roman"},
      {{-16, "", FW_NORMAL, false, false, false, ANSI_CHARSET, FIXED_PITCH},
       "LiberationMono-Regular.ttf",
       "Courier New"},
      {{-16, ""}, "LiberationSans-Regular.ttf", "Arial"},
      // A name nobody has: the same choice, not whatever fontconfig likes.
      {{-16, "No Such Face", FW_NORMAL, false, false, false, ANSI_CHARSET, FF_ROMAN},
       "LiberationSerif-Regular.ttf",
       "Times New Roman"},
      // Japanese and Korean faces, and a Latin face asked for with their
      // character sets.
      {{-16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET},
       "ipag.ttf",
       "MS Gothic"},
      {{-16, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", FW_NORMAL, false, false, false,
        SHIFTJIS_CHARSET},
       "ipag.ttf",
       "MS Gothic"},
      {{-16, "Arial", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET}, "ipag.ttf", "MS Gothic"},
      {{-16, "Gulim", FW_NORMAL, false, false, false, HANGUL_CHARSET}, "NanumGothic.ttf", "Gulim"},
      {{-16, "Gulim", FW_BOLD, false, false, false, HANGUL_CHARSET},
       "NanumGothicBold.ttf",
       "Gulim"},
      {{-16, "Times New Roman", FW_NORMAL, false, false, false, HANGUL_CHARSET},
       "NanumGothic.ttf",
       "Gulim"},
      // A family we have no entry for comes from fontconfig under its own name.
      {{-16, "NanumBarunGothic"}, "NanumBarunGothic.ttf", "NanumBarunGothic"},
  };
  for (const MappingCase& c : cases) {
    SCOPED_TRACE(std::string(c.font.face) + " weight " + std::to_string(c.font.weight));
    Use(c.font);
    EXPECT_EQ(FileName(win::gdi::text::SelectedFontFile(dc_)), c.file);
    char face[LF_FACESIZE] = {};
    int n = GetTextFace(dc_, LF_FACESIZE, face);
    EXPECT_STREQ(face, c.face);
    EXPECT_EQ(n, int(std::string(c.face).size()));
  }
}

TEST_F(TextTest, StockFontsHaveFaces) {
  const struct {
    int stock;
    const char* file;
  } cases[] = {
      {SYSTEM_FONT, "LiberationSans-Bold.ttf"},
      {ANSI_VAR_FONT, "LiberationSans-Regular.ttf"},
      {ANSI_FIXED_FONT, "LiberationMono-Regular.ttf"},
      {OEM_FIXED_FONT, "LiberationMono-Regular.ttf"},
      {DEFAULT_GUI_FONT, "LiberationSans-Regular.ttf"},
  };
  for (const auto& c : cases) {
    SelectObject(dc_, GetStockObject(c.stock));
    EXPECT_EQ(FileName(win::gdi::text::SelectedFontFile(dc_)), c.file) << c.stock;
    TEXTMETRIC tm = Metrics();
    EXPECT_GT(tm.tmHeight, 8) << c.stock;
  }
}

TEST_F(TextTest, GetTextFaceCutsToTheBuffer) {
  Use(FontSpec{-16, "Times New Roman"});
  EXPECT_EQ(GetTextFace(dc_, 0, nullptr), 16);  // the size needed, with the NUL
  char small[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetTextFace(dc_, 6, small), 5);
  EXPECT_STREQ(small, "Times");
}

struct Enumerated {
  std::vector<LOGFONT> fonts;
  std::vector<TEXTMETRIC> metrics;
  std::vector<DWORD> types;
  std::vector<std::string> fullNames;
  std::vector<std::string> styles;
  int stopAfter = 1 << 30;
};

int Collect(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD type, LPARAM lp) {
  auto* e = reinterpret_cast<Enumerated*>(lp);
  e->fonts.push_back(*lf);
  e->metrics.push_back(*tm);
  e->types.push_back(type);
  // The LOGFONT is the start of an ENUMLOGFONT, the TEXTMETRIC of a NEWTEXTMETRIC.
  const auto* elf = reinterpret_cast<const ENUMLOGFONT*>(lf);
  e->fullNames.emplace_back(elf->elfFullName);
  e->styles.emplace_back(elf->elfStyle);
  return int(e->fonts.size()) < e->stopAfter ? 1 : 0;
}

TEST_F(TextTest, EnumFontFamiliesOfAFaceListsItsStyles) {
  Enumerated e;
  EXPECT_EQ(EnumFontFamilies(dc_, "Times New Roman", Collect, LPARAM(&e)), 1);
  ASSERT_EQ(e.fonts.size(), 4u);
  const LOGFONT& first = e.fonts[0];
  // What a caller copies from the first entry (face, character set,
  // precisions, quality, pitch and family).
  EXPECT_STREQ(first.lfFaceName, "Times New Roman");
  EXPECT_EQ(first.lfCharSet, ANSI_CHARSET);
  EXPECT_EQ(first.lfPitchAndFamily, VARIABLE_PITCH | FF_ROMAN);
  EXPECT_EQ(first.lfOutPrecision, OUT_STROKE_PRECIS);
  EXPECT_EQ(first.lfClipPrecision, CLIP_STROKE_PRECIS);
  EXPECT_EQ(first.lfWeight, FW_NORMAL);
  EXPECT_EQ(e.types[0], DWORD(TRUETYPE_FONTTYPE));
  EXPECT_EQ(e.metrics[0].tmPitchAndFamily & 0xF0, FF_ROMAN);
  EXPECT_TRUE(e.metrics[0].tmPitchAndFamily & TMPF_TRUETYPE);
  EXPECT_EQ(e.fonts[1].lfWeight, FW_BOLD);
  EXPECT_TRUE(e.fonts[2].lfItalic);
  EXPECT_EQ(e.fullNames[0], "Times New Roman");
  EXPECT_EQ(e.fullNames[3], "Times New Roman Bold Italic");
  EXPECT_EQ(e.styles[1], "Bold");
}

TEST_F(TextTest, EnumFontFamiliesCases) {
  const struct {
    const char* family;
    std::size_t count;
    BYTE charset;
    BYTE pitch;
  } cases[] = {
      {"Courier New", 4, ANSI_CHARSET, FIXED_PITCH | FF_MODERN},
      {"MS Gothic", 1, SHIFTJIS_CHARSET, FIXED_PITCH | FF_MODERN},
      {"Gulim", 2, HANGUL_CHARSET, VARIABLE_PITCH | FF_SWISS},
      {"System", 1, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS},
      {"No Such Face", 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.family);
    Enumerated e;
    EXPECT_EQ(EnumFontFamilies(dc_, c.family, Collect, LPARAM(&e)), 1);
    ASSERT_EQ(e.fonts.size(), c.count);
    if (c.count == 0) continue;
    EXPECT_EQ(e.fonts[0].lfCharSet, c.charset);
    EXPECT_EQ(e.fonts[0].lfPitchAndFamily, c.pitch);
  }
}

TEST_F(TextTest, EnumFontFamiliesOfAllStopsWhenTheCallbackSaysSo) {
  Enumerated all;
  EnumFontFamilies(dc_, nullptr, Collect, LPARAM(&all));
  std::vector<std::string> names;
  for (const LOGFONT& lf : all.fonts) names.emplace_back(lf.lfFaceName);
  for (const char* want :
       {"Arial", "Times New Roman", "Courier New", "Liberation Sans", "IPAGothic"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), want), names.end()) << want;
  }
  Enumerated two;
  two.stopAfter = 2;
  EXPECT_EQ(EnumFontFamilies(dc_, nullptr, Collect, LPARAM(&two)), 0);
  EXPECT_EQ(two.fonts.size(), 2u);
}

}  // namespace
