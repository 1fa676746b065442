#include "core/le_numbers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "support/temp_dir.h"
#include "win/kernel.h"

namespace {

using testing_support::TempDir;

TEST(ByteCursor, ReadsLittleEndianAndAdvances) {
  const BYTE bytes[] = {0x7F, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF};
  const BYTE* p = bytes;
  EXPECT_EQ(getByte(p), 0x7F);
  EXPECT_EQ(p, bytes + 1);
  EXPECT_EQ(getShortLE(p), 0x1234);
  EXPECT_EQ(p, bytes + 3);
  EXPECT_EQ(getLongLE(p), 0x12345678u);
  EXPECT_EQ(p, bytes + 7);
  EXPECT_EQ(getShortLE(p), 0xFFFF);
}

TEST(ByteCursor, WritesLittleEndianAndCountsBytes) {
  BYTE bytes[7] = {};
  BYTE* p = bytes;
  EXPECT_EQ(putByte(p, 0xAB), 1);
  EXPECT_EQ(putShortLE(p, 0x1234), 2);
  EXPECT_EQ(putLongLE(p, 0xDEADBEEF), 4);
  EXPECT_EQ(p, bytes + 7);
  const BYTE expected[] = {0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE};
  EXPECT_EQ(std::string(bytes, bytes + 7), std::string(expected, expected + 7));
  BYTE* q = bytes + 3;
  EXPECT_EQ(getLongLE(q), 0xDEADBEEFu);
}

// The same numbers through both kinds of handle.
TEST(HandleNumbers, RoundTripAndShortReads) {
  TempDir dir;
  for (HandleKind kind : {HandleKind::Windows, HandleKind::Runtime}) {
    const std::string path = dir.file(kind == HandleKind::Windows ? "win.bin" : "rt.bin");
    int out = kind == HandleKind::Windows ? _lcreat(path.c_str(), 0)
                                          : ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(out, 0);
    EXPECT_TRUE(writeShortLE(out, 0x1234, kind));
    EXPECT_TRUE(writeLongLE(out, 0x89ABCDEF, kind));
    kind == HandleKind::Windows ? _lclose(out) : ::close(out);
    EXPECT_EQ(TempDir::read(path), std::string("\x34\x12\xEF\xCD\xAB\x89"));

    int in = kind == HandleKind::Windows ? _lopen(path.c_str(), OF_READ) : ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(in, 0);
    BYTE b = 0;
    WORD w = 0;
    DWORD d = 0;
    EXPECT_TRUE(readByte(in, b, kind));
    EXPECT_EQ(b, 0x34);
    EXPECT_TRUE(readByte(in, b, kind));
    EXPECT_TRUE(readShortLE(in, w, kind));
    EXPECT_EQ(w, 0xCDEF);
    d = 0x55;
    EXPECT_FALSE(readLongLE(in, d, kind));  // only two bytes left
    EXPECT_EQ(d, 0x55u);
    kind == HandleKind::Windows ? _lclose(in) : ::close(in);
  }
}

TEST(HandleNumbers, ReadLongFromStart) {
  TempDir dir;
  const std::string path = dir.write("n.bin", std::string("\x78\x56\x34\x12", 4));
  int in = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(in, HFILE_ERROR);
  DWORD d = 0;
  EXPECT_TRUE(readLongLE(in, d, HandleKind::Windows));
  EXPECT_EQ(d, 0x12345678u);
  _lclose(in);
}

}  // namespace
