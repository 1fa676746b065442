#include "core/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

std::vector<std::string> readAll(const std::string& path) {
  LineReader r;
  std::vector<std::string> lines;
  if (!r.open(path.c_str(), 0)) return {"<open failed>"};
  while (!r.atEnd()) {
    lines.push_back(r.line());
    r.readLine();
  }
  return lines;
}

TEST(LineReader, LineEndsInAnyMix) {
  TempDir dir;
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb", {"a", "b"}},
      {"x", {}},  // a file of one byte yields no line
      {"", {}},
      {"ab", {"ab"}},
      {"one\ntwo\n", {"one", "two"}},
      {"\r\r\n\nfirst\r\rsecond\n\r\nthird", {"first", "second", "third"}},
      {"unix\nmac\rdos\r\nend", {"unix", "mac", "dos", "end"}},
      {"a\n\n\n", {"a"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = dir.write("f" + std::to_string(n++), c.bytes);
    EXPECT_EQ(readAll(path), c.lines) << n;
  }
}

TEST(LineReader, LongLinesKeep132CharactersAndTheNextLineStaysWhole) {
  TempDir dir;
  std::string longLine;
  for (int i = 0; i < 300; ++i) longLine += static_cast<char>('a' + i % 26);
  const std::string path = dir.write("long", longLine + "\r\nxyz\n" + std::string(132, 'q'));
  std::vector<std::string> lines = readAll(path);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], longLine.substr(0, 132));
  EXPECT_EQ(lines[1], "xyz");
  EXPECT_EQ(lines[2], std::string(132, 'q'));
}

TEST(LineReader, CursorStaysInsideTheLine) {
  TempDir dir;
  const std::string path = dir.write("c", "hello\nworld");
  LineReader r;
  ASSERT_TRUE(r.open(path.c_str(), 0));
  EXPECT_EQ(r.lineCount(), 1);
  EXPECT_EQ(r.current(), 'h');
  EXPECT_EQ(*r.advance(4), 'o');
  EXPECT_EQ(*r.advance(10), '\0');
  EXPECT_EQ(r.cursor(), r.line() + 5);
  EXPECT_EQ(*r.advance(-99), 'h');
  EXPECT_EQ(r.seek(1), 'e');
  EXPECT_EQ(r.seek(50), '\0');
  EXPECT_EQ(r.seek(-1), 'h');

  r.readLine();
  EXPECT_STREQ(r.line(), "world");
  EXPECT_EQ(r.lineCount(), 2);
  EXPECT_EQ(r.lineStart(), 6);
  EXPECT_EQ(r.current(), 'w');
  r.readLine();
  EXPECT_TRUE(r.atEnd());
  EXPECT_EQ(r.current(), '\0');
  r.readLine();  // nothing happens after the end
  EXPECT_TRUE(r.atEnd());

  r.rewind();
  EXPECT_STREQ(r.line(), "hello");
  EXPECT_EQ(r.lineCount(), 1);
}

TEST(LineReader, OpenFailsForMissingFile) {
  TempDir dir;
  LineReader r;
  EXPECT_FALSE(r.open(dir.file("absent").c_str(), 0));
  EXPECT_TRUE(r.atEnd());
}

}  // namespace
