// The tokens of the style language, read one by one from texts outside a
// file (line 0), with the messages the reader logs on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/style/property_table.h"
#include "pages/support/pages_fixture.h"

namespace {

using pages_test::PagesTest;

// One token as "<kind>:<text>", the kind one letter: I identifier, N integer
// (its value), R real (its value), L literal, K keyword, P punctuation.
std::string Describe(const StyleLexState& s) {
  char buf[64];
  switch (s.kind) {
    case kTokenIdentifier: return "I:" + s.text.str();
    case kTokenInteger: std::snprintf(buf, sizeof buf, "N:%d", static_cast<int>(s.integer)); return buf;
    case kTokenReal: std::snprintf(buf, sizeof buf, "R:%g", s.real); return buf;
    case kTokenLiteral: return "L:" + s.text.str();
    case kTokenArea: case kTokenBoolean: case kTokenColor: case kTokenConst:
    case kTokenString: case kTokenValue: case kTokenFile: case kTokenRect:
      return "K:" + s.text.str();
    default: return "P:" + s.text.str();
  }
}

class StyleLexerTest : public PagesTest {
 protected:
  std::vector<std::string> Lex(const char* text) {
    PropertyTable& t = StyleTable();
    t.BeginText(text);
    std::vector<std::string> tokens;
    while (t.NextToken() != kTokenEnd) tokens.push_back(Describe(t.State()));
    t.EndText();
    return tokens;
  }
};

TEST_F(StyleLexerTest, TokensAndMessages) {
  struct Case {
    const char* text;
    std::vector<std::string> tokens;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"0x1F 12 1.5 5.", {"N:31", "N:12", "R:1.5", "R:5"}, {}},
      {"-3", {"N:3"}, {"Error at '-': invalid character"}},
      // Only a lower-case x starts a hexadecimal number.
      {"0X1F", {"N:0", "I:X1F"}, {}},
      {"TRUE FALSE true", {"N:1", "N:0", "I:true"}, {}},
      {"Area Boolean Color const String Value File Rect area",
       {"K:Area", "K:Boolean", "K:Color", "K:const", "K:String", "K:Value", "K:File", "K:Rect",
        "I:area"},
       {}},
      {"a_1 _b", {"I:a_1", "I:b"}, {"Error at '_': invalid character"}},
      {"( ) , . ; = { }", {"P:(", "P:)", "P:,", "P:.", "P:;", "P:=", "P:{", "P:}"}, {}},
      {"a // rest\nb ' rest\nc /* x\ny */ d", {"I:a", "I:b", "I:c", "I:d"}, {}},
      {"\"abc\ndef", {"L:abc", "I:def"}, {"Error at 'abc': missing end of literal"}},
      {"\"a b\" \"\"", {"L:a b", "L:"}, {}},
      {"< a < b > c > x", {"L: a < b > c ", "I:x"}, {}},
      {"x <open < inner >", {"I:x", "L:open < inner >"}, {"Error at 'open < inner >': missing end of script"}},
      {"a > b", {"I:a", "I:b"}, {"Error at '>': invalid character"}},
      {"a /* never closed", {"I:a"}, {"Error: comment started by /* not closed by */"}},
      {"\f\x80z", {"I:z"}, {"Error at '\f': invalid character", "Error at '\x80': invalid character"}},
      // Decimal numbers beyond the int range are held at its end; their
      // real value stays.
      {"99999999999", {"N:2147483647"}, {}},
  };
  for (const Case& c : cases) {
    ClearLog();
    EXPECT_EQ(Lex(c.text), c.tokens) << c.text;
    EXPECT_EQ(LogLines(), c.log) << c.text;
  }
}

TEST_F(StyleLexerTest, OneTokenOfPushBack) {
  PropertyTable& t = StyleTable();
  t.BeginText("a b c");
  t.NextToken();
  t.NextToken();
  t.UngetToken();
  t.UngetToken();  // a second push-back changes nothing more
  EXPECT_EQ(t.State().text, "a");
  t.NextToken();
  EXPECT_EQ(t.State().text, "b");
  t.EndText();
}

TEST_F(StyleLexerTest, ErrorsOfAFileNameTheFileAndTheLine) {
  StyleTable().SetFileName("A.STY");
  Styles("\n\n\n\n\nfoo -");
  StyleTable().SetFileName("");
  const std::vector<std::string> want = {
      "A.STY Error in line 7 at '-': invalid character",
      "A.STY Error: = or identifier expected"};
  EXPECT_EQ(LogLines(), want);
}

TEST_F(StyleLexerTest, LinesCountInsideCommentsAndScripts) {
  Styles("/*\n\n*/ String s = <a\nb> \n x -");
  const std::vector<std::string> want = {"Error in line 6 at '-': invalid character",
                                         "Error: = or identifier expected"};
  EXPECT_EQ(LogLines(), want);
}

}  // namespace
