// The matcher's invariant checks: a damaged program gives an error value
// (and no read outside the program), never a crash.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "core/regexp_program.h"

namespace {

using namespace regexp_detail;

TEST(RegexpProgramTest, DamagedProgramsGiveErrorValues) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> code;
    const char* error;
  };
  const Case cases[] = {
      {"no magic byte", {0, kEnd, 0, 0}, "corrupted program"},
      {"empty program", {}, "corrupted program"},
      {"unknown operator", {kMagic, 99, 0, 0}, "memory corruption"},
      {"OPEN of group 0", {kMagic, kOpen, 3, 0, kEnd, 0, 0}, "memory corruption"},
      {"chain ends before END", {kMagic, kNothing, 0, 0}, "corrupted pointers"},
      {"link past the end", {kMagic, kNothing, 0x10, 0}, "corrupted pointers"},
      {"BACK link before the start", {kMagic, kBack, 0x10, 0}, "corrupted pointers"},
      {"operand without NUL", {kMagic, kExactly, 0, 0, 'a'}, "memory corruption"},
      {"header cut short", {kMagic, kNothing, 3, 0, kEnd}, "corrupted pointers"},
      {"repeat of a wide node", {kMagic, kStar, 6, 0, kBranch, 0, 0, kEnd, 0, 0}, "internal foulup"},
  };
  const std::uint8_t text[] = "aaa";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Program program;
    program.code = c.code;
    MatchResult result;
    MatchProgram(program, text, 0, 3, {1000, 100000}, true, &result);
    EXPECT_FALSE(result.matched);
    EXPECT_STREQ(result.error, c.error);
    EXPECT_EQ(result.starts[0], -1);
  }
}

// The node encoding: operator, 16-bit link (low byte first; 0 = none),
// NUL-terminated operand. "ab*" is a BRANCH holding EXACTLY "a" and a STAR
// whose operand is EXACTLY "b"; every chain ends at END.
TEST(RegexpProgramTest, CompiledProgramLayout) {
  Program program;
  ASSERT_EQ(CompileProgram("ab*", &program), nullptr);
  const std::vector<std::uint8_t> expected = {
      kMagic,
      kBranch,  16, 0,          // 1 -> END at 17
      kExactly, 5,  0, 'a', 0,  // 4 -> STAR at 9
      kStar,    8,  0,          // 9 -> END at 17
      kExactly, 0,  0, 'b', 0,  // 12: the repeated byte, no link
      kEnd,     0,  0,          // 17
  };
  EXPECT_EQ(program.code, expected);
  EXPECT_EQ(program.startHint, 'a');
  EXPECT_FALSE(program.anchored);
  EXPECT_EQ(program.mustOffset, -1);
}

}  // namespace
