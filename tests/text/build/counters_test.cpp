#include "text/build/counters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/build/viewer_interfaces.h"

namespace {

struct Pieces {
  ~Pieces() { list.clearAndDelete(); }
  std::vector<std::string> dump() const {
    std::vector<std::string> out;
    for (ListElement* e = list.first(); e; e = e->next()) {
      auto* p = static_cast<LabelPiece*>(e);
      out.push_back(std::to_string(p->kind) + ":" + p->text.c_str());
    }
    return out;
  }
  List list;
};

TEST(Counters, LettersAreBijectiveBase26) {
  struct Case {
    LONG value;
    const char* letters;
  };
  const Case cases[] = {{1, "a"},     {25, "y"},   {26, "z"},    {27, "aa"},  {28, "ab"},
                        {52, "az"},   {53, "ba"},  {702, "zz"},  {703, "aaa"}, {676, "yz"},
                        {0, "0"},     {-4, "-4"},  {0x7fffffff, "fxshrxw"}};
  for (const Case& c : cases) EXPECT_EQ(CounterLetters(c.value), c.letters) << c.value;
}

TEST(Counters, JoinedLevelsFormOneLabel) {
  CounterSet set;
  ASSERT_TRUE(set.PushLevel(kCounterDecimal, "", 1));
  ASSERT_TRUE(set.SetValue(0, 2));
  ASSERT_TRUE(set.PushLevel(kCounterDecimal, "", 1));
  ASSERT_TRUE(set.SetValue(0, 5));
  Pieces p;
  ASSERT_TRUE(set.FormatLabel(p.list));
  EXPECT_EQ(p.dump(), (std::vector<std::string>{"0:2.5 "}));

  CounterSet single;
  single.PushLevel(kCounterDecimal, "", 1);
  single.SetValue(0, 2);
  single.PushLevel(kCounterDecimal, "", 0);
  single.SetValue(0, 5);
  single.FormatLabel(p.list);
  EXPECT_EQ(p.dump(), (std::vector<std::string>{"0:5 "}));
}

TEST(Counters, LabelPieceKinds) {
  struct Case {
    LONG style;
    const char* text;
    LONG value;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {kCounterPicture, "star.gif", 0, {"1:star.gif", "0: "}},
      {kCounterLetters, "", 28, {"0:ab "}},
      {kCounterText, "*", 0, {"0:* "}},
      {kCounterNone, "", 0, {"0: "}},
      {kCounterDingbat, "DISC", 0, {"2:DISC0", "0: "}},
      {9, "", 0, {}},
  };
  for (const Case& c : cases) {
    CounterSet set;
    set.PushLevel(c.style, c.text, 1);
    set.SetValue(0, c.value);
    Pieces p;
    set.FormatLabel(p.list);
    EXPECT_EQ(p.dump(), c.pieces) << c.style;
  }
}

TEST(Counters, DingbatDigitStaysADigitOnDeepLevels) {
  CounterSet set;
  for (int i = 0; i < 12; ++i) set.PushLevel(kCounterDingbat, "SQ", 0);
  Pieces p;
  set.FormatLabel(p.list);
  EXPECT_EQ(p.dump(), (std::vector<std::string>{"2:SQ9", "0: "}));
}

TEST(Counters, StackLimitsAndRestore) {
  CounterSet set;
  Pieces p;
  EXPECT_FALSE(set.FormatLabel(p.list));
  EXPECT_FALSE(set.PopLevel());
  EXPECT_FALSE(set.AddValue(1));
  for (int i = 0; i < CounterSet::kLevels; ++i) ASSERT_TRUE(set.PushLevel(kCounterDecimal, "", 1));
  EXPECT_FALSE(set.PushLevel(kCounterDecimal, "", 1));  // the 21st
  EXPECT_EQ(set.Depth(), 19);

  CounterSet s;
  s.PushLevel(kCounterLetters, "t", 0);
  s.SetValue(0, 7);
  ASSERT_TRUE(s.PopLevel());
  s.PushLevel(kCounterDecimal, "other", 1);
  ASSERT_TRUE(s.SetValue(1, 0));  // restore what was popped at this depth
  EXPECT_EQ(s.Level(0).value, 7);
  EXPECT_EQ(s.Level(0).style, kCounterLetters);
  EXPECT_EQ(s.Level(0).text, "t");
  EXPECT_EQ(s.Level(0).join, 0);
  s.SetValue(0, 0x7fffffff);
  s.AddValue(5);
  EXPECT_EQ(s.Level(0).value, 0x7fffffff);  // saturates
}

}  // namespace
