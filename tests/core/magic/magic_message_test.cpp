// Messages are printf formats from a data file: only one conversion that
// fits the rule's type is ever handed to printf; anything else is shown as
// it stands.
#include <string>

#include "magic_fixture.h"

namespace {

using magic_testing::MagicTest;

class MagicMessage : public MagicTest {};

TEST_F(MagicMessage, FormatsOnlyOneFittingConversion) {
  struct Case {
    const char* rule;
    std::string bytes;
    const char* result;
  };
  const Case cases[] = {
      {"0 byte >0 v%d", "\x07", "v7"},
      {"0 byte <0 v%d", "\xfe", "v-2"},
      {"0 byte <0 v%u", "\xfe", "v4294967294"},
      {"0 short >0 v%#06x!", "\x34\x12", "v0x1234!"},
      {"0 long >0 v%-4X|", std::string("\xab\x00\x00\x00", 4), "vAB  |"},
      {"0 byte >0 v%o", "\x08", "v10"},
      {"0 byte >0 v%i", "\x08", "v8"},
      {"0 byte >0 [%c]", "A", "[A]"},
      {"0 byte >0 %+.3d", "\x05", "+005"},
      {"0 byte >0 100%% %d", "\x05", "100% 5"},
      {"0 byte >0 100%%", "\x05", "100%"},
      {"0 string ab <%s>", "abc\ndef", "<abc>"},
      {"0 string ab <%.2s>", "abc", "<ab>"},
      {"1 string b <%5s>", "abc", "<   bc>"},
      // Stops at a NUL or the end of the buffer.
      {"0 string ab <%s>", std::string("ab\0cd", 5), "<ab>"},
      {"0 string ab <%s>", "ab", "<ab>"},
      // Anything else is the message as it stands.
      {"0 byte >0 n%n", "\x05", "n%n"},
      {"0 byte >0 %d and %d", "\x05", "%d and %d"},
      {"0 byte >0 %s", "\x05", "%s"},
      {"0 string a %d", "a", "%d"},
      {"0 string a %c", "a", "%c"},
      {"0 byte >0 %ld", "\x05", "%ld"},
      {"0 byte >0 %*d", "\x05", "%*d"},
      {"0 byte >0 %1000d", "\x05", "%1000d"},
      {"0 byte >0 %.1000d", "\x05", "%.1000d"},
      {"0 byte >0 %p", "\x05", "%p"},
      {"0 byte >0 trailing %", "\x05", "trailing %"},
      {"0 byte >0 %% %s %%", "\x05", "%% %s %%"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(c.rule)) << c.rule;
    EXPECT_EQ(Match(c.bytes), c.result) << c.rule;
  }
}

TEST_F(MagicMessage, WideConversionsAreCutByTheOutput) {
  ASSERT_TRUE(Load("0 byte >0 %999d"));
  EXPECT_EQ(Match("\x05", 128), "");  // does not fit: not written
  ASSERT_TRUE(Load("0 byte >0 %100d"));
  EXPECT_EQ(Match("\x05", 128), std::string(99, ' ') + "5");
}

TEST_F(MagicMessage, CharacterZeroEndsTheText) {
  ASSERT_TRUE(Load("0 byte 0 a%cb\n>0 byte 0 next"));
  EXPECT_EQ(Match(std::string(1, '\0')), "a next");
}

}  // namespace
