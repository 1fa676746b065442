// What documents that use every kind of element of the HTML and KTF
// definitions look like in the view at two widths, in the pinned fonts:
// headings, alignment, character styles, lists of each kind and nested,
// tables with row and column spans, rules, quotations, preformatted text,
// line breaks and links.
#include <gtest/gtest.h>

#include <string>

#include "gdi/text/font_text_engine.h"
#include "layout/view/support/view_fixture.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "win/gdi.h"

namespace view_test {
namespace {

using testing_support::ArialFontFile;
using testing_support::FileText;

TEST_F(ViewTest, DocumentsOfEveryElementLookAsTheyDidAtTwoWidths) {
  ASSERT_NE(ArialFontFile().find("LiberationSans-Regular.ttf"), std::string::npos) << ArialFontFile();
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
      auto doc = Build(c.record, FileText(std::string(ZEMRA_SOURCE_DIR) + c.path));
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
