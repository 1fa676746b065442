// Clipboard text between the program's Windows-1252 with CR LF and the
// UTF-8 or ISO 8859-1 with LF that other programs on a display exchange.
#include <gtest/gtest.h>

#include <string>

#include "display/clipboard_text.h"

namespace {

using namespace win::display;

TEST(ClipboardText, OutToOtherPrograms) {
  struct Case {
    const char* what;
    std::string ansi;
    std::string utf8;
    std::string latin1;
  };
  const Case cases[] = {
      {"plain", "abc", "abc", "abc"},
      {"CR LF lines, a lone CR kept", "a\r\nb\rc\r\n", "a\nb\rc\n", "a\nb\rc\n"},
      {"umlauts and sharp s", "Gr\xfc\xdf", "Gr\xc3\xbc\xc3\x9f", "Gr\xfc\xdf"},
      {"1252's own: euro and quotes", "\x80 \x93x\x94", "\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d", "? ?x?"},
      {"up to the first NUL", std::string("ab\0cd", 5), "ab", "ab"},
      {"empty", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClipboardTextToUtf8(c.ansi), c.utf8) << c.what;
    EXPECT_EQ(ClipboardTextToLatin1(c.ansi), c.latin1) << c.what;
  }
}

TEST(ClipboardText, InFromOtherPrograms) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string ansi;
  };
  const Case cases[] = {
      {"LF lines become CR LF, CR LF stays", "a\nb\r\nc", "a\r\nb\r\nc"},
      {"accents", "caf\xc3\xa9", "caf\xe9"},
      {"the euro", "\xe2\x82\xac", "\x80"},
      {"outside 1252: one ? per character", "\xe4\xb8\xad\xf0\x9f\x98\x80!", "?\?!"},
      {"no UTF-8: taken as 1252", "caf\xe9", "caf\xe9"},
      {"a sequence cut short", "x\xe2\x82", "x\xe2\x82"},
      {"up to the first NUL", std::string("ab\0cd", 5), "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(ClipboardTextFromUtf8(c.utf8), c.ansi) << c.what;
  EXPECT_EQ(ClipboardTextFromLatin1("Gr\xfc\xdf\nx"), "Gr\xfc\xdf\r\nx");
  EXPECT_EQ(ClipboardTextFromLatin1("a\x85z"), "a?z");  // a C1 control
}

}  // namespace
