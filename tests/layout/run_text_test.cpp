// The bytes of a run: kept in place up to a dozen bytes, in a pooled
// buffer beyond. Text must come through every move between the two intact,
// and every buffer must go back to the pool.
#include "layout/atoms/run_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/atom/atom_pool.h"

namespace {

TEST(RunText, PiecesSurviveEveryMoveBetweenInPlaceAndBuffer) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string longText(5000, 'q');
  struct Case {
    const char* name;
    std::string first;
    std::vector<std::string> pieces;
    LONG truncateTo;  // -1: not truncated
  } cases[] = {
      {"short word and its blank", "quay", {" "}, -1},
      {"exactly in place", "abcdefghijk", {"l"}, -1},
      {"one byte over", "abcdefghijkl", {"m"}, -1},
      {"grows through several buffers", "ab", {letters, letters, letters, letters}, -1},
      {"a piece larger than the pool's largest", "x", {longText}, -1},
      {"long, cut back into place", letters, {}, 5},
      {"long, cut but kept in its buffer", letters, {letters}, 40},
      {"cut to nothing", "abc", {}, 0},
      {"bytes of every value", std::string("\0\x01\xFF ", 4), {std::string("\0", 1)}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t liveBefore = AtomPool::LiveObjects();
    {
      RunText text;
      ASSERT_TRUE(text.Assign(c.first));
      std::string expected = c.first;
      for (const std::string& piece : c.pieces) {
        ASSERT_TRUE(text.Append(piece));
        expected += piece;
        ASSERT_EQ(text.View(), expected);
      }
      if (c.truncateTo >= 0) {
        text.Truncate(c.truncateTo);
        expected.resize(static_cast<size_t>(c.truncateTo));
        // Appending after the cut must not write over what was kept.
        ASSERT_TRUE(text.Append("!"));
        expected += '!';
      }
      EXPECT_EQ(text.View(), expected);
      EXPECT_EQ(text.Length(), static_cast<LONG>(expected.size()));
      EXPECT_EQ(text.At(0), expected[0]);
      EXPECT_EQ(text.At(text.Length()), '\0');
      EXPECT_EQ(text.At(-1), '\0');
      // Its own text given back to it, whole and in part.
      ASSERT_TRUE(text.Assign(text.View()));
      EXPECT_EQ(text.View(), expected);
      ASSERT_TRUE(text.Assign(text.View().substr(1)));
      EXPECT_EQ(text.View(), expected.substr(1));
    }
    EXPECT_EQ(AtomPool::LiveObjects(), liveBefore);
  }
}

}  // namespace
