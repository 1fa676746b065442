// What documents that use every kind of element of the HTML and KTF
// definitions look like in the view at two widths, in the pinned fonts:
// headings, alignment, character styles, lists of each kind and nested,
// tables with row and column spans, rules, quotations, preformatted text,
// line breaks and links.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gdi/text/font_text_engine.h"
#include "layout/view/support/view_fixture.h"
#include "support/golden.h"
#include "win/gdi.h"

namespace view_test {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool pinnedFonts() {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT f = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, f);
  std::string file = win::gdi::text::SelectedFontFile(dc);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteDC(dc);
  return file.find("LiberationSans-Regular.ttf") != std::string::npos;
}

TEST_F(ViewTest, DocumentsOfEveryElementLookAsTheyDidAtTwoWidths) {
  ASSERT_TRUE(pinnedFonts());
  struct Case {
    const char* name;
    const char* path;
    const char* record;
  };
  const Case cases[] = {
      {"harbour_guide", "/tests/data/text/harbour-guide.html", "MimeType=text/html\n"},
      {"jupiter_ktf", "/data/sample/documents/jupiter.ktf.body", ""},
  };
  for (const Case& c : cases) {
    for (int width : {480, 260}) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(width));
      view_.reset();
      TextView& view = OpenView(width, 460);
      auto doc = Build(c.record, readFile(std::string(ZEMRA_SOURCE_DIR) + c.path));
      ASSERT_TRUE(doc);
      view.SetDocument(std::move(doc));
      auto shot = Shot();
      ASSERT_NE(shot, nullptr);
      testing_support::ExpectGolden(
          *shot, "tests/layout/view/golden/" + std::string(c.name) + "_" + std::to_string(width) + ".png");
    }
  }
}

}  // namespace
}  // namespace view_test
