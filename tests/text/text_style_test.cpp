#include "text/text_style.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "text/def_lexer.h"
#include "text/style_definition.h"

namespace {

TEST(TextStyle, EmptyOverDefaultGivesDefault) {
  TextStyle s;
  s.Merge(TextStyle::Default());
  EXPECT_EQ(s, TextStyle::Default());
}

TEST(TextStyle, DefaultOverAnotherStyleKeepsDefaults) {
  TextStyle other;
  other.scale.Set(120, StyleValue::kPercent);
  other.anchors.primaryKind = 5;
  other.color = ColorRecord::Rgb(1, 2, 3);
  other.colorSet = 1;
  other.left.Set(40, StyleValue::kAbsolute);
  TextStyle s(true);
  s.Merge(other);
  EXPECT_EQ(s.scale.value, 120);
  EXPECT_EQ(s.scale.mode, StyleValue::kPercent);
  EXPECT_EQ(s.anchors.primaryKind, 5);
  EXPECT_EQ(s.color, other.color);
  EXPECT_EQ(s.colorSet, 1);
  EXPECT_EQ(s.left.value, 0);
}

TEST(TextStyle, ValueModes) {
  struct V {
    LONG mode, value, base, result, resultMode;
  };
  const V cases[] = {
      {StyleValue::kAdd, 10, 20, 30, StyleValue::kAbsolute},
      {StyleValue::kPercent, 50, 7, 3, StyleValue::kPercent},
      {StyleValue::kPercent, 50, -7, -3, StyleValue::kPercent},
      {StyleValue::kAbsolute, 4, 99, 4, StyleValue::kAbsolute},
      {StyleValue::kUnset, 0, 8, 8, StyleValue::kAbsolute},
      // Arithmetic is done in 64 bits and saturated, never wrapped.
      {StyleValue::kAdd, std::numeric_limits<LONG>::max(), 10, std::numeric_limits<LONG>::max(),
       StyleValue::kAbsolute},
      {StyleValue::kPercent, 50, 100000000, 50000000, StyleValue::kPercent},
      {StyleValue::kPercent, 300, 2000000000, std::numeric_limits<LONG>::max(), StyleValue::kPercent},
      {StyleValue::kPercent, -300, 2000000000, std::numeric_limits<LONG>::min(), StyleValue::kPercent},
  };
  for (const V& v : cases) {
    TextStyle base(true), s;
    base.left.Set(v.base, StyleValue::kAbsolute);
    s.left.Set(v.value, v.mode);
    s.Merge(base);
    EXPECT_EQ(s.left.value, v.result) << v.mode << " " << v.value << " " << v.base;
    EXPECT_EQ(s.left.mode, v.resultMode);
  }
  TextStyle base(true), s;
  base.scale.Set(120, StyleValue::kPercent);
  s.scale.Set(50, StyleValue::kPercent);
  s.Merge(base);
  EXPECT_EQ(s.scale.value, 60);
  EXPECT_EQ(s.scale.mode, StyleValue::kPercent);
  TextStyle abs;
  abs.scale.Set(12, StyleValue::kAbsolute);
  abs.Merge(base);
  EXPECT_EQ(abs.scale.value, 12);
  EXPECT_EQ(abs.scale.mode, StyleValue::kPercent);
}

TEST(TextStyle, TriStateRule) {
  using T = TriState;
  struct C {
    T self, base, result;
  };
  const C cases[] = {{T::Toggle, T::Toggle, T::False}, {T::Toggle, T::Ignore, T::Ignore},
                     {T::Ignore, T::Toggle, T::Toggle}, {T::Toggle, T::False, T::True},
                     {T::Toggle, T::True, T::False},   {T::False, T::True, T::False}};
  for (const C& c : cases) {
    EXPECT_EQ(MergeTriState(c.self, c.base), c.result);
    TextStyle s, base;
    s.displayFlags.SetFlag(2, c.self);
    base.displayFlags.SetFlag(2, c.base);
    s.Merge(base);
    EXPECT_EQ(s.displayFlags.flags[2], c.result);
    EXPECT_EQ((s.displayFlags.mask & 4) != 0, IsOn(c.result));
  }
}

TEST(TextStyle, AnchorsAndAlignment) {
  TextStyle base(true), s;
  base.anchors.primaryKind = 3;
  s.anchors.primaryKind = 7;
  base.anchors.SetFlag(24, TriState::True);
  s.Merge(base);
  EXPECT_EQ(s.anchors.primaryKind, 7);
  EXPECT_TRUE(s.anchors.mask & (1u << 7));
  EXPECT_TRUE(s.anchors.mask & (1u << 24));
  EXPECT_EQ(s.anchors.flagCount, 2);
  EXPECT_EQ(s.anchors.kindCount, 2);

  TextStyle a;  // STD throughout: both pairs inherited
  TextStyle b(true);
  b.alignment.Set(Alignment::kCenter, Alignment::kMiddle, Alignment::kAll, Alignment::kSpace);
  a.Merge(b);
  EXPECT_EQ(a.alignment, b.alignment);
}

TextStyle ReadStyle(const char* text, bool* ok = nullptr) {
  std::istringstream in(text);
  DefLexer lexer(in);
  StyleDefinition def;
  const bool read = def.Read(lexer);
  if (ok) *ok = read;
  return def.style;
}

TEST(StyleDefinition, ReadsKeys) {
  bool ok = false;
  TextStyle s = ReadStyle("H1 { scale = 120, LEFT = -2, right = % 50, before = A 12, "
                          "DISPLAYSTYLE = TRUE::FALSE, ALIGNMENT = CENTER:MIDDLE, BREAKENABLE = true, "
                          "COLOR = 255, 0, 16, unknown = 4 }",
                          &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(s.scale, (StyleValue{StyleValue::kPercent, 1, 120}));
  EXPECT_EQ(s.left, (StyleValue{StyleValue::kAdd, 1, -2}));
  EXPECT_EQ(s.right, (StyleValue{StyleValue::kPercent, 1, 50}));
  EXPECT_EQ(s.before, (StyleValue{StyleValue::kAbsolute, 1, 12}));
  EXPECT_EQ(s.displayFlags.flags[0], TriState::True);
  EXPECT_EQ(s.displayFlags.flags[1], TriState::Ignore);
  EXPECT_EQ(s.displayFlags.flags[2], TriState::False);
  EXPECT_EQ(s.alignment.horizontal(), Alignment::kCenter);
  EXPECT_EQ(s.alignment.vertical(), Alignment::kMiddle);
  EXPECT_EQ(s.alignment.hSpacing(), Alignment::kSpacingStd);
  EXPECT_EQ(s.breakEnable, TriState::True);
  EXPECT_EQ(s.color, ColorRecord::Rgb(255, 0, 16));
  EXPECT_EQ(s.colorSet, 1);
}

TEST(StyleDefinition, EdgeValues) {
  EXPECT_EQ(ReadStyle("x { DISPLAYSTYLE = TRUE:XYZ }").displayFlags.flags[1], TriState::True);
  EXPECT_EQ(ReadStyle("x { COLOR = 255, 0, 300 }").colorSet, 0);
  EXPECT_EQ(ReadStyle("x { COLOR = 255, 0 }").colorSet, 0);
  EXPECT_EQ(ReadStyle("x { SCALE = A 12 }").scale, (StyleValue{StyleValue::kAbsolute, 1, 12}));
  EXPECT_EQ(ReadStyle("x { DISPLAYBASESTYLE = 3 }").displayBaseStyle, (StyleValue{StyleValue::kAbsolute, 1, 3}));
  EXPECT_EQ(ReadStyle("x { LEFT = 1, LEFT = 2 }").left.value, 2);
  EXPECT_TRUE(ReadStyle("x { ALIGNMENT = STD:STD }").alignment.horizontalUnset());
  bool ok = true;
  ReadStyle("{ LEFT = 1 }", &ok);
  EXPECT_FALSE(ok);
  ReadStyle("x LEFT = 1", &ok);
  EXPECT_FALSE(ok);
}

}  // namespace
