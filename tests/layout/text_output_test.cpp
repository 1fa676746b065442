// What text runs measure with: the output's TextExtent, with the boxes of
// short texts remembered until the device changes. A remembered box must
// be exactly what the output would measure now; anything that could make
// the output measure differently must ask it again.
#include "layout/atoms/text_output.h"

#include <gtest/gtest.h>

#include <string>

#include "layout/support/fake_output.h"

namespace {

TEST(MeasureText, AsksTheOutputAgainWheneverItCouldMeasureDifferently) {
  const FontDescriptor plain(0, 0, 100, 0);
  struct Case {
    const char* name;
    void (*change)(FontDescriptor& d, std::string& text, FakeOutput& out);
    int calls;  // asked of the output after measuring the changed text twice
    LONG width;
  } cases[] = {
      {"the same text in the same font", [](FontDescriptor&, std::string&, FakeOutput&) {}, 1, 50},
      {"another text", [](FontDescriptor&, std::string& t, FakeOutput&) { t = "berth"; }, 2, 50},
      {"a text that begins alike", [](FontDescriptor&, std::string& t, FakeOutput&) { t = "quays"; }, 2, 50},
      {"another scale", [](FontDescriptor& d, std::string&, FakeOutput&) { d.scale = 200; }, 2, 100},
      {"bold", [](FontDescriptor& d, std::string&, FakeOutput&) { d.flags = 1; }, 2, 50},
      {"another draw style", [](FontDescriptor& d, std::string&, FakeOutput&) { d.styleNumber = 3; }, 2, 50},
      {"highlighted", [](FontDescriptor& d, std::string&, FakeOutput&) { d.highlight = 1; }, 2, 50},
      {"a colour", [](FontDescriptor& d, std::string&, FakeOutput&) { d.color = ColorRecord::Rgb(1, 2, 3); }, 2,
       50},
      {"the device changed", [](FontDescriptor&, std::string&, FakeOutput& o) { ++o.deviceChanges; }, 2, 50},
      {"a text longer than is kept", [](FontDescriptor&, std::string& t, FakeOutput&) { t.assign(ExtentCache::kLongest + 1, 'w'); },
       3, 260},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOutput out;
    std::string text = "quay ";
    FontDescriptor d = plain;
    LayoutRect first;
    ASSERT_TRUE(out.MeasureText(first, text.data(), static_cast<LONG>(text.size()), d));
    EXPECT_EQ(first.Width(), 50);
    c.change(d, text, out);
    LayoutRect second;
    ASSERT_TRUE(out.MeasureText(second, text.data(), static_cast<LONG>(text.size()), d));
    EXPECT_EQ(second.Width(), c.width);
    // Found again, the same box; a long text is measured every time.
    LayoutRect again;
    ASSERT_TRUE(out.MeasureText(again, text.data(), static_cast<LONG>(text.size()), d));
    EXPECT_EQ(RectText(again), RectText(second));
    EXPECT_EQ(out.textExtentCalls, c.calls);
  }
}

TEST(MeasureText, AMeasureThatFailedIsNotRemembered) {
  FakeOutput out;
  const FontDescriptor d(0, 0, 100, 0);
  out.measureFails = true;
  LayoutRect box;
  EXPECT_FALSE(out.MeasureText(box, "quay", 4, d));
  EXPECT_EQ(box.Width(), 0);
  out.measureFails = false;
  ASSERT_TRUE(out.MeasureText(box, "quay", 4, d));
  EXPECT_EQ(box.Width(), 40);
  EXPECT_EQ(out.textExtentCalls, 2);
}

}  // namespace
