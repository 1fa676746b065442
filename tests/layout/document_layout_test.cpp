#include "layout/atoms/document_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "layout/support/fake_output.h"
#include "layout/support/layout_document.h"

namespace {

// The words drawn, in reading order (top to bottom, left to right).
std::vector<std::string> DrawnWords(FakeOutput& out) {
  std::vector<std::tuple<long, long, std::string>> words;
  for (const std::string& call : out.Calls("text ")) {
    long x = 0, y = 0;
    sscanf(call.c_str(), "text %ld,%ld", &x, &y);
    size_t open = call.find('\''), close = call.rfind('\'');
    words.emplace_back(y, x, call.substr(open + 1, close - open - 1));
  }
  std::sort(words.begin(), words.end());
  std::vector<std::string> out2;
  for (auto& w : words) out2.push_back(std::get<2>(w));
  return out2;
}

const char* kPage =
    "<P>alpha beta gamma delta</P>"
    "<UL><LI>one two<LI>three</UL>"
    "<TABLE BORDER=1><TR><TD>cell words<TD>c</TABLE>"
    "<HR><P>end<BR>last</P>";

TEST(DocumentLayoutTest, ABuiltDocumentReflowsWithoutLosingWords) {
  LayoutDocuments documents;
  auto doc = documents.Load("MimeType=text/html\n", kPage);
  ASSERT_TRUE(doc);
  ASSERT_NE(doc->GetRoot(), nullptr);
  DocumentLayout layout(doc->GetRoot());
  LONG previousHeight = 0;
  for (LONG width : {600, 120}) {
    SCOPED_TRACE(width);
    FakeOutput out;
    EXPECT_EQ(layout.Layout(&out, width), kFormatFits);
    LayoutRect bounds = layout.Bounds();
    EXPECT_GT(bounds.Height(), previousHeight);
    previousHeight = bounds.Height();
    layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, width, 0, bounds.Height()), nullptr);
    std::vector<std::string> drawn = DrawnWords(out);
    // The list labels are drawn where their items begin.
    std::vector<std::string> words;
    for (const std::string& w : drawn) words.push_back(w.substr(0, w.find(' ')));
    std::vector<std::string> all = {"alpha", "beta", "gamma", "delta", "\xB7", "one", "two", "\xB7",
                                    "three", "cell", "words", "c", "end", "last"};
    if (width == 600) {
      EXPECT_EQ(words, all);  // wide enough for every line: reading order is document order
    } else {
      // Narrow, the first cell wraps beside the second: nothing is lost.
      std::sort(words.begin(), words.end());
      std::sort(all.begin(), all.end());
      EXPECT_EQ(words, all);
    }
    EXPECT_EQ(out.Calls("polygon").size(), 4u);  // the table's frame
  }
  CString text = layout.Text(FirstPosition(), LastPosition());
  EXPECT_NE(std::string(text.c_str()).find("alpha beta gamma delta"), std::string::npos);
  EXPECT_NE(std::string(text.c_str()).find("end\nlast"), std::string::npos);
}

TEST(DocumentLayoutTest, ADocumentLaidOutWhileItIsBuiltLosesNothing) {
  // Long enough for several reports, which fall inside a table, a list and
  // a form whose atoms are still open.
  std::string html = "<P>start</P><TABLE BORDER=1>";
  for (int i = 0; i < 300; ++i) html += "<TR><TD>row " + std::to_string(i) + " of the tide table<TD>high water";
  html += "</TABLE><UL>";
  for (int i = 0; i < 600; ++i) html += "<LI>net " + std::to_string(i) + " mended on the quay";
  html += "</UL><FORM ACTION=\"http://quay.example/cgi/order\">";
  for (int i = 0; i < 400; ++i) html += "<INPUT NAME=n" + std::to_string(i) + " VALUE=v> and more words ";
  html += "</FORM><P>the end</P>";

  LayoutDocuments documents;
  std::vector<LONG> heights;
  documents.onContent = [&](MarkupDocument& doc, LONG) {
    ASSERT_NE(doc.GetRoot(), nullptr);
    // As the view does: everything measured afresh.
    doc.GetRoot()->Reset(1);
    DocumentLayout layout(doc.GetRoot());
    FakeOutput out;
    layout.Layout(&out, 300);
    const LayoutRect bounds = layout.Bounds();
    layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 300, 0, bounds.Height()), nullptr);
    std::unique_ptr<Position> hit(layout.HitTest(&out, LayoutPoint{20, bounds.Height() - 2}, 1));
    heights.push_back(bounds.Height());
  };
  auto doc = documents.Load("MimeType=text/html\n", html);
  ASSERT_TRUE(doc);
  ASSERT_GE(heights.size(), 2u);
  EXPECT_TRUE(std::is_sorted(heights.begin(), heights.end()));

  // Laid out once more when complete, it shows what a document built in one
  // go shows.
  LayoutDocuments again;
  auto whole = again.Load("MimeType=text/html\n", html);
  ASSERT_TRUE(whole);
  std::vector<std::string> words[2];
  MarkupDocument* docs[2] = {doc.get(), whole.get()};
  for (int i = 0; i < 2; ++i) {
    docs[i]->GetRoot()->Reset(1);
    DocumentLayout layout(docs[i]->GetRoot());
    FakeOutput out;
    layout.Layout(&out, 300);
    layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 300, 0, layout.Bounds().Height()), nullptr);
    words[i] = DrawnWords(out);
  }
  EXPECT_EQ(words[0], words[1]);
  EXPECT_GT(words[0].size(), 3000u);
}

TEST(DocumentLayoutTest, HitTestAndCaretMeetAtAWord) {
  LayoutDocuments documents;
  auto doc = documents.Load("MimeType=text/html\n", "<P>alpha beta</P><P>gamma</P>");
  ASSERT_TRUE(doc);
  DocumentLayout layout(doc->GetRoot());
  FakeOutput out;
  layout.Layout(&out, 400);
  std::unique_ptr<Position> atBeta(layout.HitTest(&out, LayoutPoint{62, 5}, 1));
  ASSERT_TRUE(atBeta);
  CString word = layout.Text(*atBeta, Position(atBeta->Number() + 4));
  EXPECT_STREQ(word.c_str(), "beta");
  LayoutRect caret;
  ASSERT_TRUE(layout.CaretRect(&out, PositionRange(*atBeta, *atBeta), true, caret));
  EXPECT_EQ(caret.left, 60);
  EXPECT_EQ(caret.Width(), 1);
  std::unique_ptr<Position> below(layout.Step(&out, *atBeta, 1, 1, 0));
  ASSERT_TRUE(below);
  EXPECT_GT(below->Number(), atBeta->Number());
}

}  // namespace
