#include "core/window_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

std::string pattern(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>((i * 7 + i / 256) & 0xFF);
  return s;
}

// The stored form of keyed data: marker 1 and the key, then the data, where
// every byte from the third of each 1024-byte window of the file on is
// combined with the key.
std::string keyedFile(const std::string& data, BYTE key) {
  std::string file = std::string("\x01", 1) + static_cast<char>(key) + data;
  for (size_t off = 2; off < file.size(); ++off)
    if (off % WindowReader::kWindowSize >= 2) file[off] = static_cast<char>(file[off] ^ key);
  return file;
}

TEST(WindowReader, ReadsAnyPositionThroughItsWindow) {
  TempDir dir;
  const std::string data = pattern(3000);
  const std::string path = dir.write("plain.dat", data);
  WindowReader r;
  ASSERT_TRUE(r.open(path.c_str(), 0));
  EXPECT_FALSE(r.keyed());
  EXPECT_EQ(r.lastIndex(), 2999);
  EXPECT_EQ(r.charAt(2500), static_cast<BYTE>(data[2500]));
  EXPECT_EQ(r.windowStart(), 2048);
  EXPECT_EQ(r.charAt(1023), static_cast<BYTE>(data[1023]));
  EXPECT_EQ(r.windowStart(), 0);
  EXPECT_EQ(r.charAt(1024), static_cast<BYTE>(data[1024]));
  EXPECT_EQ(r.windowStart(), 1024);
  for (int i = 0; i < 3000; i += 37) ASSERT_EQ(r.charAt(i), static_cast<BYTE>(data[i])) << i;
}

TEST(WindowReader, PositionIsClampedAndNextStopsAtTheEnd) {
  TempDir dir;
  const std::string data = pattern(1500);
  const std::string path = dir.write("plain.dat", data);
  WindowReader r;
  ASSERT_TRUE(r.open(path.c_str(), 0));
  EXPECT_EQ(r.charAt(99999), static_cast<BYTE>(data[1499]));
  EXPECT_EQ(r.position(), 1499);
  EXPECT_TRUE(r.atEnd());
  r.next();
  EXPECT_EQ(r.position(), 1499);
  EXPECT_EQ(r.charAt(-5), static_cast<BYTE>(data[0]));
  EXPECT_FALSE(r.atEnd());
  r.next();
  EXPECT_EQ(r.current(), static_cast<BYTE>(data[1]));
}

TEST(WindowReader, KeyedFilesAreDecodedAcrossWindows) {
  TempDir dir;
  const BYTE key = 0x5A;
  const std::string data = pattern(2600);
  const std::string path = dir.write("keyed.dat", keyedFile(data, key));
  WindowReader r;
  ASSERT_TRUE(r.open(path.c_str(), 0));
  EXPECT_TRUE(r.keyed());
  EXPECT_EQ(r.key(), key);
  EXPECT_EQ(r.lastIndex(), 2599);
  // Every position, including the last and those at the seams of the windows.
  for (int i = 0; i < 2600; ++i) ASSERT_EQ(r.charAt(i), static_cast<BYTE>(data[i])) << i;
  EXPECT_EQ(r.charAt(5000), static_cast<BYTE>(data[2599]));
}

TEST(WindowReader, SmallAndEmptyFilesStayInsideTheirData) {
  TempDir dir;
  struct Case {
    std::string bytes;
    int lastIndex;
    bool keyed;
    BYTE first;
  };
  const Case cases[] = {
      {"", -1, false, 0},
      {std::string("\x01", 1), 0, false, 1},  // too short to carry a key
      {std::string("\x01\x20", 2), -1, true, 0},
      {std::string("\x01\x20\x61", 3), 0, true, 0x61 ^ 0x20},
      {"z", 0, false, 'z'},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = dir.write("small" + std::to_string(n++), c.bytes);
    WindowReader r;
    ASSERT_TRUE(r.open(path.c_str(), 0));
    EXPECT_EQ(r.lastIndex(), c.lastIndex) << n;
    EXPECT_EQ(r.keyed(), c.keyed) << n;
    EXPECT_EQ(r.charAt(0), c.first) << n;
    EXPECT_EQ(r.charAt(10), c.first) << n;
    EXPECT_TRUE(r.atEnd()) << n;
  }
}

TEST(WindowReader, OpenFailsForMissingFileAndReopenReplaces) {
  TempDir dir;
  WindowReader r;
  EXPECT_FALSE(r.open(dir.file("absent").c_str(), 0));
  EXPECT_FALSE(r.isOpen());
  EXPECT_EQ(r.current(), 0);
  const std::string a = dir.write("a", "AAAA");
  const std::string b = dir.write("b", "BB");
  ASSERT_TRUE(r.open(a.c_str(), 0));
  EXPECT_EQ(r.charAt(3), 'A');
  ASSERT_TRUE(r.open(b.c_str(), 0));
  EXPECT_EQ(r.lastIndex(), 1);
  EXPECT_EQ(r.charAt(3), 'B');
  EXPECT_TRUE(r.close());
  EXPECT_FALSE(r.close());
}

}  // namespace
