#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

std::string ReadAll(FILE* f) {
  std::string out;
  int c;
  while ((c = std::fgetc(f)) != EOF) out += static_cast<char>(c);
  return out;
}

class TextFileTest : public ::testing::Test {
 protected:
  testing_support::TempDir tmp_;
  // A lone CR stays; CR LF becomes LF; the last CR has nothing after it.
  std::string file_ = tmp_.write("Style.STY", "one\r\ntwo\rthree\n\r\n\r");
};

TEST_F(TextFileTest, ModesAndTheirLineEnds) {
  struct Case {
    const char* mode;
    std::string expected;
  };
  const Case cases[] = {
      {"r", "one\ntwo\rthree\n\n\r"},
      {"rt", "one\ntwo\rthree\n\n\r"},
      {"r+", "one\ntwo\rthree\n\n\r"},
      {"rb", "one\r\ntwo\rthree\n\r\n\r"},
  };
  std::string name = win::WindowsPath(tmp_.path().string()) + "\\style.sty";  // via the path layer
  for (const auto& c : cases) {
    FILE* f = win_fopen(name.c_str(), c.mode);
    ASSERT_NE(f, nullptr) << c.mode;
    EXPECT_EQ(ReadAll(f), c.expected) << c.mode;
    std::fclose(f);
  }
}

TEST_F(TextFileTest, CrLfSplitAcrossReadBlocks) {
  // The CR of a CR LF pair falls at the end of the reader's 4096-byte block.
  std::string text(4095, 'a');
  text += "\r\nb\r\n";
  std::string file = tmp_.write("long.txt", text);
  FILE* f = win_fopen(file.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char buf[8192];
  size_t n = std::fread(buf, 1, sizeof buf, f);
  EXPECT_EQ(std::string(buf, n), std::string(4095, 'a') + "\nb\n");
  std::fclose(f);
}

TEST_F(TextFileTest, TellAndSeekUseFileOffsets) {
  FILE* f = win_fopen(file_.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char line[32];
  ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
  EXPECT_STREQ(line, "one\n");
  long pos = std::ftell(f);
  EXPECT_EQ(pos, 5);  // past "one\r\n" in the file
  ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
  EXPECT_EQ(std::fseek(f, pos, SEEK_SET), 0);
  ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
  EXPECT_STREQ(line, "two\rthree\n");
  std::fclose(f);
}

TEST_F(TextFileTest, WritingAndAppending) {
  std::string name = tmp_.file("log.txt");
  FILE* w = win_fopen(name.c_str(), "w");
  ASSERT_NE(w, nullptr);
  std::fputs("first\n", w);
  std::fclose(w);
  FILE* a = win_fopen(name.c_str(), "a+");
  ASSERT_NE(a, nullptr);
  std::fputs("second\n", a);
  std::fseek(a, 0, SEEK_SET);
  EXPECT_EQ(ReadAll(a), "first\nsecond\n");
  std::fclose(a);
  EXPECT_EQ(testing_support::TempDir::read(name), "first\nsecond\n");

  // Reading, then writing in place: the write lands after the bytes read.
  std::string crlf = tmp_.write("update.txt", "ab\r\ncd\r\n");
  FILE* u = win_fopen(crlf.c_str(), "r+");
  ASSERT_NE(u, nullptr);
  char line[8];
  ASSERT_NE(std::fgets(line, sizeof line, u), nullptr);
  EXPECT_STREQ(line, "ab\n");
  EXPECT_EQ(std::fseek(u, 0, SEEK_CUR), 0);
  std::fputs("XY", u);
  std::fclose(u);
  EXPECT_EQ(testing_support::TempDir::read(crlf), "ab\r\nXY\r\n");
}

TEST_F(TextFileTest, FailuresGiveNull) {
  EXPECT_EQ(win_fopen(tmp_.file("missing.txt").c_str(), "r"), nullptr);
  EXPECT_EQ(win_fopen(tmp_.path().c_str(), "r"), nullptr);  // a directory
  EXPECT_EQ(win_fopen(file_.c_str(), "q"), nullptr);
  EXPECT_EQ(win_fopen(nullptr, "r"), nullptr);
  EXPECT_EQ(win_fopen(file_.c_str(), nullptr), nullptr);
}

}  // namespace
