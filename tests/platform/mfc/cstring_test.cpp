#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "mfc/cstring.h"

namespace {

TEST(CStringTest, ExtractionClampsOutOfRangeRequests) {
  const CString s("abcdef");
  struct Case {
    const char* what;
    CString got;
    const char* expected;
  };
  const Case cases[] = {
      {"Mid(2)", s.Mid(2), "cdef"},
      {"Mid(-3)", s.Mid(-3), "abcdef"},
      {"Mid(6)", s.Mid(6), ""},
      {"Mid(99)", s.Mid(99), ""},
      {"Mid(INT_MIN)", s.Mid(INT_MIN), "abcdef"},
      {"Mid(1, 2)", s.Mid(1, 2), "bc"},
      {"Mid(4, 99)", s.Mid(4, 99), "ef"},
      {"Mid(-2, 3)", s.Mid(-2, 3), "abc"},
      {"Mid(2, -1)", s.Mid(2, -1), ""},
      {"Mid(3, INT_MAX)", s.Mid(3, INT_MAX), "def"},
      {"Left(2)", s.Left(2), "ab"},
      {"Left(-1)", s.Left(-1), ""},
      {"Left(50)", s.Left(50), "abcdef"},
      {"Right(2)", s.Right(2), "ef"},
      {"Right(-4)", s.Right(-4), ""},
      {"Right(50)", s.Right(50), "abcdef"},
      {"SpanIncluding", CString("aabxa").SpanIncluding("ab"), "aab"},
      {"SpanExcluding", CString("key=value").SpanExcluding("=;"), "key"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.got, c.expected) << c.what;
}

TEST(CStringTest, SearchingGivesPositionsOrMinusOne) {
  const CString s("one,two;three");
  struct Case {
    const char* what;
    int got;
    int expected;
  };
  const Case cases[] = {
      {"Find char", s.Find(','), 3},
      {"Find missing char", s.Find('x'), -1},
      {"Find text", s.Find("two"), 4},
      {"Find text from", s.Find("e", 3), 11},
      {"Find from past the end", s.Find('o', 99), -1},
      {"Find from before the start", s.Find('o', -5), 0},
      {"ReverseFind", s.ReverseFind('e'), 12},
      {"ReverseFind missing", s.ReverseFind('z'), -1},
      {"FindOneOf", s.FindOneOf(";,"), 3},
      {"FindOneOf none", s.FindOneOf("#!"), -1},
      {"FindOneOf empty set", s.FindOneOf(""), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(CStringTest, FormatUsesThirtyTwoBitLongs) {
  CString s;
  s.Format("%ld|%lx|%lu|%s|%5.2f", static_cast<LONG>(-5), static_cast<LONG>(-1),
           static_cast<DWORD>(4000000000u), "x", 1.5);
  EXPECT_STREQ(s, "-5|ffffffff|4000000000|x| 1.50");
  // The arguments may come from the string being formatted.
  s = "abc";
  s.Format("%s-%s", static_cast<const char*>(s), static_cast<const char*>(s));
  EXPECT_STREQ(s, "abc-abc");
  std::string big(5000, 'q');
  s.Format("%s!", big.c_str());
  EXPECT_EQ(s.GetLength(), 5001);
}

TEST(CStringTest, GetBufferAndReleaseBuffer) {
  CString s("hello");
  char* p = s.GetBuffer(64);
  EXPECT_STREQ(p, "hello");  // the content is kept
  std::strcpy(p, "a much longer text");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "a much longer text");
  EXPECT_EQ(s.GetLength(), 18);
  p = s.GetBuffer(4);
  p[1] = '\0';
  s.ReleaseBuffer();  // -1: ends at the first NUL
  EXPECT_STREQ(s, "a");
  p = s.GetBuffer(10);
  std::memcpy(p, "xyz\0w", 5);
  s.ReleaseBuffer(5);  // an explicit length keeps the NUL
  EXPECT_EQ(s.GetLength(), 5);
  EXPECT_EQ(s.GetBufferSetLength(2), s.LockBuffer());
  EXPECT_EQ(s.GetLength(), 2);
  EXPECT_STREQ(s, "xy");
}

TEST(CStringTest, ComparisonsAreBytewiseUnsignedAndCaseFoldingIsOptional) {
  struct Case {
    const char* a;
    const char* b;
    int compare;
    int noCase;
  };
  const Case cases[] = {
      {"abc", "abc", 0, 0},     {"abc", "abd", -1, -1}, {"b", "a", 1, 1},
      {"ABC", "abc", -1, 0},    {"ab", "abc", -1, -1},  {"\xe9", "e", 1, 1},
      {"\xc9T\xc9", "\xe9t\xe9", -1, 0},  // Latin-1 letters fold too
  };
  for (const Case& c : cases) {
    const CString a(c.a);
    EXPECT_EQ(a.Compare(c.b), c.compare) << c.a << " " << c.b;
    EXPECT_EQ(a.CompareNoCase(c.b), c.noCase) << c.a << " " << c.b;
    EXPECT_EQ(a == c.b, c.compare == 0);
    EXPECT_EQ(a < CString(c.b), c.compare < 0);
    EXPECT_EQ(c.b > a, c.compare < 0);
  }
}

TEST(CStringTest, EmbeddedNulsCountInTheLengthButEndComparisons) {
  const CString s("ab\0cd", 5);
  EXPECT_EQ(s.GetLength(), 5);
  EXPECT_EQ(s.GetAt(3), 'c');
  EXPECT_TRUE(s == "ab");  // compared as a C string, as MFC did
  EXPECT_EQ(s.Find('c'), -1);
  CString t = s + "!";
  EXPECT_EQ(t.GetLength(), 6);
  EXPECT_EQ(t.Right(3), CString("cd!"));
  EXPECT_EQ(t.Mid(2, 1).GetLength(), 1);
  EXPECT_EQ(t.GetAt(99), '\0');
}

TEST(CStringTest, SelfAppendAndSelfAssignment) {
  CString s("ab");
  s += s;
  EXPECT_STREQ(s, "abab");
  s += static_cast<const char*>(s) + 2;  // a pointer into its own buffer
  EXPECT_STREQ(s, "ababab");
  s = static_cast<const char*>(s) + 4;
  EXPECT_STREQ(s, "ab");
  s.Insert(1, static_cast<const char*>(s));
  EXPECT_STREQ(s, "aabb");
  const CString& alias = s;
  s = alias;
  EXPECT_STREQ(s, "aabb");
}

TEST(CStringTest, EditingHelpers) {
  CString s("  Hello, World \t\n");
  s.TrimRight();
  s.TrimLeft();
  EXPECT_STREQ(s, "Hello, World");
  EXPECT_EQ(s.Replace("o", "0"), 2);
  EXPECT_STREQ(s, "Hell0, W0rld");
  EXPECT_EQ(s.Remove('l'), 3);
  EXPECT_EQ(s.Delete(3, 99), 3);
  EXPECT_EQ(s.Insert(99, 'x'), 4);
  EXPECT_STREQ(s, "He0x");
  s.MakeUpper();
  EXPECT_STREQ(s, "HE0X");
  s.MakeReverse();
  EXPECT_STREQ(s, "X0EH");
  EXPECT_STREQ(CString('-', 3), "---");
  EXPECT_STREQ(CString(static_cast<const char*>(nullptr)), "");
}

TEST(CStringTest, AStringTableIdPassedAsAPointerLoadsTheString) {
  // MFC code writes CString((LPCSTR)MAKEINTRESOURCE(id)); it must never be
  // read as text.
  EXPECT_STREQ(CString(MAKEINTRESOURCE(5)), "Information");
  EXPECT_STREQ(CString(MAKEINTRESOURCE(65000)), "");
  CString s;
  EXPECT_TRUE(s.LoadString(10));
  EXPECT_STREQ(s, "Error !");
  EXPECT_FALSE(s.LoadString(65000));
  EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
