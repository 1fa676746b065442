// Pictures of text compared pixel for pixel with the ones kept under
// golden/. They hold only while the fonts are the pinned files, so that is
// checked first. ZEMRA_UPDATE_GOLDEN=1 writes them anew.
#include <string>

#include "text_fixture.h"

namespace {

using text_test::ExpectGolden;
using text_test::FileName;
using text_test::FontSpec;
using text_test::TextTest;

class GoldenTextTest : public TextTest {
 protected:
  // Selects the font and checks the file behind it.
  void Pinned(const FontSpec& spec, const char* file) {
    Use(spec);
    ASSERT_EQ(FileName(win::gdi::text::SelectedFontFile(dc_)), file)
        << "the pictures were made with " << file;
  }
};

TEST_F(GoldenTextTest, LatinFaces) {
  Open(360, 132);
  Pinned({-16, "Arial"}, "LiberationSans-Regular.ttf");
  const char latin[] = "Arial 12: The quick brown fox \x80 \x93quoted\x94 \x99 \xe9\xe8\xfc";
  TextOut(dc_, 4, 2, latin, int(sizeof latin) - 1);
  Pinned({-16, "Arial", FW_BOLD, true}, "LiberationSans-BoldItalic.ttf");
  TextOut(dc_, 4, 22, "Bold italic: jumps over", 23);
  Pinned({-13, "Times New Roman", FW_NORMAL, false, true}, "LiberationSerif-Regular.ttf");
  SetTextColor(dc_, RGB(0, 0, 160));
  TextOut(dc_, 4, 42, "Times New Roman 10, underlined: the lazy dog", 44);
  Pinned({16, "Courier New", FW_NORMAL, false, false, true}, "LiberationMono-Regular.ttf");
  SetTextColor(dc_, RGB(160, 0, 0));
  TextOut(dc_, 4, 60, "Courier New, struck out", 23);
  SetTextColor(dc_, RGB(0, 0, 0));
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 255, 160));
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  TextOut(dc_, 4, 80, "System font, opaque", 19);
  SetBkMode(dc_, TRANSPARENT);
  SelectObject(dc_, GetStockObject(ANSI_VAR_FONT));
  SetTextAlign(dc_, TA_RIGHT | TA_BASELINE);
  TextOut(dc_, 356, 124, "ANSI_VAR_FONT, right on a baseline", 34);
  SetTextAlign(dc_, TA_LEFT | TA_TOP);
  ExpectGolden(surface(), "latin_faces");
}

TEST_F(GoldenTextTest, JapaneseAndKorean) {
  Open(240, 64);
  Pinned({-16, "MS Gothic", FW_NORMAL, false, false, false, SHIFTJIS_CHARSET}, "ipag.ttf");
  // "日本語のテキスト" in Shift-JIS.
  const char sjis[] = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67";
  TextOut(dc_, 4, 2, sjis, int(sizeof sjis) - 1);
  Pinned({-16, "MS Gothic", FW_BOLD, false, false, false, SHIFTJIS_CHARSET}, "ipag.ttf");
  TextOut(dc_, 140, 2, "\x93\xfa\x96\x7b", 4);
  Pinned({-16, "Gulim", FW_NORMAL, false, false, false, HANGUL_CHARSET}, "NanumGothic.ttf");
  // "한국어 텍스트" in EUC-KR.
  const char euckr[] = "\xc7\xd1\xb1\xb9\xbe\xee \xc5\xd8\xbd\xba\xc6\xae";
  TextOut(dc_, 4, 24, euckr, int(sizeof euckr) - 1);
  Pinned({-16, "Gulim", FW_NORMAL, true, true, false, HANGUL_CHARSET}, "NanumGothic.ttf");
  TextOut(dc_, 4, 44, euckr, 6);
  ExpectGolden(surface(), "cjk");
}

TEST_F(GoldenTextTest, DrawTextLayouts) {
  Open(300, 140);
  Clear(RGB(192, 192, 192));
  Pinned({-13, "Arial"}, "LiberationSans-Regular.ttf");
  RECT para{10, 6, 150, 130};
  DrawText(dc_, "A paragraph of words broken into lines that are centred in their box.", -1,
           &para, DT_WORDBREAK | DT_CENTER);
  RECT menu{160, 6, 290, 26};
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 255, 255));
  DrawText(dc_, "&Options\tCtrl+O", -1, &menu, DT_SINGLELINE | DT_EXPANDTABS);
  SetBkMode(dc_, TRANSPARENT);
  Pinned({-16, "Times New Roman", FW_BOLD}, "LiberationSerif-Bold.ttf");
  SetTextColor(dc_, RGB(255, 255, 255));
  RECT label{160, 40, 290, 80};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc_, &label, red);
  DeleteObject(red);
  DrawText(dc_, "Title label", -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc_, RGB(0, 0, 0));
  RECT clipped{160, 90, 220, 110};
  DrawText(dc_, "Clipped at the box", -1, &clipped, DT_SINGLELINE);
  ExpectGolden(surface(), "draw_text");
}

TEST_F(GoldenTextTest, MonochromeBitmap) {
  Open(160, 24, 1);
  Pinned({-16, "Arial"}, "LiberationSans-Regular.ttf");
  TextOut(dc_, 2, 2, "Monochrome text", 15);
  ExpectGolden(surface(), "mono");
}

}  // namespace
