#include "text/layout_support/tab_settings.h"

#include <gtest/gtest.h>

#include "text/layout_support/layout_rect.h"

namespace {

// Keeps a record alive for a test and lets it go afterwards.
struct Held {
  explicit Held(TabSettings* s) : settings(s) { settings->AddRef(); }
  ~Held() { settings->Release(); }
  TabSettings* settings;
  TabSettings* operator->() const { return settings; }
};

TEST(TabSettings, NextStopRules) {
  Held t(new TabSettings(0, 0, 100, 8));
  struct Case {
    LONG position;
    TabStopPosition expected;
  };
  const Case cases[] = {
      {10, {16, 4}},  // the next multiple of the tab width
      {97, {98, 4}},  // 104 is not left of the edge: an eighth of the width on
      {-3, {0, 4}},   // left of the indent: the indent... and 0 is a multiple
  };
  for (const Case& c : cases) EXPECT_EQ(t->NextStop(c.position), c.expected) << c.position;
  TabSettings* withStop = t->WithTabStop({40, 2}, "");
  Held h(withStop);
  EXPECT_EQ(withStop->NextStop(10), (TabStopPosition{40, 2}));  // a stop before the regular tab
  EXPECT_EQ(withStop->NextStop(40), (TabStopPosition{48, 4}));  // past it: regular tabs again
}

TEST(TabSettings, FallbacksAlwaysAdvance) {
  // A tab width below 8 gave a step of nothing: a layout that asks again
  // from the answer never got further.
  Held narrow(new TabSettings(0, 0, 10, 4));
  EXPECT_EQ(narrow->NextStop(20), (TabStopPosition{21, 4}));
  Held none(new TabSettings(0, 0, 100, 0));
  EXPECT_EQ(none->NextTabStop(kPreformattedTabStop, 16, 4), (TabStopPosition{17, 4}));
  EXPECT_EQ(none->NextTabStop("nowhere", 5, 4), (TabStopPosition{6, 4}));
  EXPECT_EQ(none->NextStop(0x7fffffff).position, 0x7fffffff);  // no wrap at the top
}

TEST(TabSettings, NamedStops) {
  Held base(new TabSettings(20, 0, 200, 8));
  EXPECT_EQ(base->NextTabStop(kPreformattedTabStop, 16, 4), (TabStopPosition{24, 4}));
  EXPECT_EQ(base->NextTabStop(kLeftBorderStop, 5, 4), (TabStopPosition{20, 4}));
  EXPECT_EQ(base->NextTabStop(kLeftCounterStop, 5, 4), (TabStopPosition{19, 4}));
  EXPECT_EQ(base->NextTabStop(kLeftCounterStop, 5, 2), (TabStopPosition{19, 2}));  // a given kind wins
  Held named(base->WithTabStop({60, 1}, "col"));
  EXPECT_EQ(named->NextTabStop("col", 60, 4), (TabStopPosition{60, 1}));   // exactly at the stop
  EXPECT_EQ(named->NextTabStop("col", 61, 4), (TabStopPosition{62, 4}));   // past it: not found
}

TEST(TabSettings, AddingStops) {
  Held t(new TabSettings(0, 0, 100, 8));
  Held a(t->WithTabStop({30, 4}, ""));
  EXPECT_EQ(a->StopCount(), 1);
  TabSettings* same = a->WithTabStop({30, 4}, "");  // the same unnamed stop again
  Held b(same);
  EXPECT_EQ(same->StopCount(), 1);
  Held c(b->WithTabStop({50, 4}, "x"));
  Held d(c->WithTabStop({10, 4}, "x"));  // a name already there replaces that stop
  ASSERT_EQ(d->StopCount(), 2);
  TabStopPosition stop;
  CString name;
  ASSERT_TRUE(d->StopAt(0, stop, name));
  EXPECT_EQ(stop.position, 10);
  EXPECT_EQ(name, "x");
  EXPECT_EQ(t->StopCount(), 0);  // the original never changes
}

TEST(TabSettings, WithOperationsReturnTheSameRecordWhenNothingChanges) {
  Held t(new TabSettings(12, 3, 100, 8));
  EXPECT_EQ(t->WithIndent(0), t.settings);
  EXPECT_EQ(t->WithIndent(12), t.settings);
  Held moved(t->WithIndent(30));
  EXPECT_EQ(moved->Indent(), 30);
  EXPECT_EQ(moved->BaseIndent(), 12);
  EXPECT_EQ(t->WithMargins(12, 3, 100, 8), t.settings);
  Held margins(t->WithMargins(1, 2, 3, 4));
  EXPECT_EQ(margins->Indent(), 1);
  EXPECT_EQ(margins->RightEdge(), 3);
}

TEST(TabSettings, ListMembershipHoldsAReference) {
  TabSettingsList list;
  auto* first = new TabSettings;
  ASSERT_TRUE(list.Append(first));
  EXPECT_EQ(first->RefCount(), 1);
  EXPECT_FALSE(list.Append(first));  // once only
  // A paragraph takes and gives back the record: with only the list's
  // reference left, the record leaves the list and is gone.
  first->AddRef();
  first->AddRef();
  first->Release();
  EXPECT_EQ(list.Count(), 1);
  first->Release();
  EXPECT_EQ(list.Count(), 0);

  // A record still held elsewhere outlives the list.
  auto* kept = new TabSettings(5, 0, 50, 8);
  {
    TabSettingsList other;
    other.Append(kept);
    kept->AddRef();
  }
  EXPECT_EQ(kept->OwnerList(), nullptr);
  EXPECT_EQ(kept->RefCount(), 1);
  kept->Release();
}

TEST(LayoutRect, UnionAndContainment) {
  LayoutRect a = LayoutRect::Of(10, 0, 5, 20);  // stored with swapped corners
  EXPECT_TRUE(a.ContainsPoint({0, 5}));
  EXPECT_TRUE(a.ContainsPoint({10, 20}));
  EXPECT_FALSE(a.ContainsPoint({11, 5}));
  EXPECT_TRUE(a.ContainsRect(LayoutRect::Of(2, 8, 6, 19)));
  EXPECT_FALSE(a.ContainsRect(LayoutRect::Of(2, 18, 6, 19)));
  a.Union(LayoutRect::Of(30, 25, -4, 1));
  EXPECT_EQ(a, LayoutRect::Of(0, 30, -4, 20));
}

}  // namespace
