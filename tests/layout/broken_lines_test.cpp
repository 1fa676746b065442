// Preformatted text and explicit breaks: every line the document holds is
// drawn, one under another, and the paragraph after them starts below the
// last one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "layout/atoms/document_layout.h"
#include "layout/support/fake_output.h"
#include "layout/support/layout_document.h"

namespace {

struct Drawn {
  long y;
  std::string text;
};

std::vector<Drawn> DrawnTexts(FakeOutput& out) {
  std::vector<std::tuple<long, long, std::string>> calls;
  for (const std::string& call : out.Calls("text ")) {
    long x = 0, y = 0;
    sscanf(call.c_str(), "text %ld,%ld", &x, &y);
    size_t open = call.find('\''), close = call.rfind('\'');
    calls.emplace_back(y, x, call.substr(open + 1, close - open - 1));
  }
  std::sort(calls.begin(), calls.end());
  std::vector<Drawn> drawn;
  for (auto& c : calls) drawn.push_back({std::get<0>(c), std::get<2>(c)});
  return drawn;
}

TEST(BrokenLinesTest, EveryLineIsDrawnAndTheNextParagraphStartsBelowTheLast) {
  struct Case {
    const char* html;
    std::vector<std::string> lines;  // the texts drawn, top to bottom
  } cases[] = {
      {"<PRE>a\nb</PRE><P>z</P>", {"a", "b", "z"}},
      {"<PRE>a\nb\n</PRE><P>z</P>", {"a", "b", "z"}},
      {"<PRE>one\ntwo\nthree</PRE><P>z</P>", {"one", "two", "three", "z"}},
      {"<PRE>\na\nb</PRE><P>z</P>", {"a", "b", "z"}},
      {"<PRE>\nhour   depth\n06:00  4.2 m\n12:00  1.1 m\n</PRE><P>z</P>", {"hour", "06:00", "12:00", "z"}},
      {"<PRE>a\n\nb</PRE><P>z</P>", {"a", "b", "z"}},
      {"<P>a<BR>b</P><P>z</P>", {"a", "b", "z"}},
      {"<P><BR>a<BR>b</P><P>z</P>", {"a", "b", "z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.html);
    LayoutDocuments documents;
    auto doc = documents.Load("MimeType=text/html\n", c.html);
    ASSERT_TRUE(doc);
    DocumentLayout layout(doc->GetRoot());
    FakeOutput out;
    ASSERT_EQ(layout.Layout(&out, 600), kFormatFits);
    const LONG height = layout.Bounds().Height();
    layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 600, 0, height), nullptr);
    const std::vector<Drawn> drawn = DrawnTexts(out);
    // The first word of each line, and the lines strictly one under another.
    std::vector<std::string> firsts;
    long lastY = -1;
    for (const Drawn& d : drawn) {
      if (d.y == lastY) continue;
      EXPECT_GT(d.y, lastY) << d.text;
      lastY = d.y;
      firsts.push_back(d.text.substr(0, d.text.find(' ')));
    }
    EXPECT_EQ(firsts, c.lines);
    // The last paragraph lies inside the height counted for the document.
    ASSERT_FALSE(drawn.empty());
    EXPECT_LE(drawn.back().y, height);
  }
}

}  // namespace
