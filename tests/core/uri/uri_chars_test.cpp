#include "core/uri_chars.h"

#include <gtest/gtest.h>

namespace {

using uri_chars::CheckPart;
using uri_chars::DecodeEscape;
using uri_chars::PartRule;

TEST(UriChars, ClassesFollowTheGrammar) {
  struct Case {
    uri_chars::CharTest test;
    const char* name;
    const char* members;
    const char* others;
  };
  const Case cases[] = {
      {uri_chars::IsXalpha, "xalpha", "!\"$&'()*,-.09@AZ_az", "#%+/:;<=>?[\\]^`{|}~ "},
      {uri_chars::IsPchar, "pchar", "&:=@aZ9$+-._!'()*,\">[\\]^`{|}~\xe9", "#%/;<? "},
      {uri_chars::IsUchar, "uchar", "&/:;=?@a$!\"~\x80", "#%< "},
      {uri_chars::IsUcharOrBlank, "uchar or blank", " /?", "#%<"},
      {uri_chars::IsParamChar, "param", "/:=@a", ";?#%"},
  };
  for (const Case& c : cases) {
    for (const char* p = c.members; *p; ++p)
      EXPECT_TRUE(c.test(static_cast<unsigned char>(*p))) << c.name << " '" << *p << "'";
    for (const char* p = c.others; *p; ++p)
      EXPECT_FALSE(c.test(static_cast<unsigned char>(*p))) << c.name << " '" << *p << "'";
  }
}

TEST(UriChars, DecodeEscapeStaysInsideTheText) {
  struct Case {
    const char* text;
    int at;
    int expected;
  };
  const Case cases[] = {
      {"%41", 0, 0x41}, {"x%7e", 1, 0x7e}, {"%fF", 0, 0xff}, {"%zz", 0, -1}, {"%4g", 0, -1},
      {"%", 0, -1},     {"%4", 0, -1},     {"ab%", 2, -1},   {"ab%4", 2, -1}, {"%41", 1, -1},
      {"%41", -1, -1},  {"%41", 3, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeEscape(c.text, c.at), c.expected) << c.text << " @" << c.at;
  // The digits must lie inside the CString even when bytes follow in memory.
  const char buffer[] = "ab%41";
  EXPECT_EQ(DecodeEscape(CString(buffer, 4), 2), -1);
}

TEST(UriChars, CheckPartDecodesOnlyEscapesOfItsClass) {
  const PartRule segment{nullptr, uri_chars::IsPchar, true};
  const PartRule search{nullptr, uri_chars::IsUchar, false};
  const PartRule scheme{uri_chars::IsAlpha, uri_chars::IsXalpha, true};
  struct Case {
    const PartRule* rule;
    const char* text;
    bool ok;
    const char* result;  // the part afterwards
    bool badEscape;
  };
  const Case cases[] = {
      {&segment, "a%41b", true, "aAb", false},     // decoded: a pchar
      {&segment, "a%2Fb", true, "a%2Fb", false},   // "/" is no pchar: kept
      {&segment, "%7ejoe", true, "~joe", false},   // an escape may open a part without a first class
      {&segment, "a%25", true, "a%25", false},     // "%" itself stays escaped
      {&segment, "a%00", true, "a%00", false},     // so does NUL
      {&segment, "a%zz", false, "a%zz", true},
      {&segment, "a%", false, "a%", true},
      {&segment, "a%4", false, "a%4", true},
      {&segment, "a/b", false, "a/b", false},
      {&search, "q=%41", true, "q=%41", false},    // checked, never decoded
      {&search, "q=%4", false, "q=%4", true},
      {&scheme, "h%74tp", true, "http", false},
      {&scheme, "%68ttp", false, "%68ttp", false}, // the first letter must be written plainly
      {&scheme, "1ttp", false, "1ttp", false},
      {&segment, "", true, "", false},
  };
  for (const Case& c : cases) {
    CString part(c.text);
    bool bad = true;
    EXPECT_EQ(CheckPart(part, *c.rule, &bad), c.ok) << c.text;
    EXPECT_EQ(part, c.result) << c.text;
    EXPECT_EQ(bad, c.badEscape) << c.text;
  }
}

}  // namespace
