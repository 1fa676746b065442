#include "store/index/index_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/index_contents.h"
#include "support/temp_dir.h"

namespace {

using index_testing::fileBytes;
using index_testing::patchFile;

using index_testing::le16;

// The header of a new file, field by field in file order.
std::string creationHeader() {
  return le16(1) + le16(1024) + le16(0) + le16(0) + le16(0) + le16(0) + le16(0) + le16(0) +
         le16(1) + le16(1) + std::string(8, '\0') + le16(0) + le16(100) + le16(0);
}

// A new index holding one key (so block 1 exists).
std::string indexWithOneKey(const testing_support::TempDir& dir, const char* name) {
  std::string path = dir.file(name);
  IndexFile index;
  EXPECT_EQ(index.open(path.c_str(), IndexFile::kCreateReadWrite), 0);
  EXPECT_EQ(index.insert("KEY", IndexEntry{0, 0, 3}, false), 0);
  return path;
}

TEST(IndexFileCreate, WritesTheHeaderAndZerosToOneBlock) {
  testing_support::TempDir dir;
  std::string path = dir.file("new.bof");
  ASSERT_EQ(IndexFile::create(path.c_str()), 0);
  std::string bytes = fileBytes(path);
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(bytes.substr(0, 34), creationHeader());
  EXPECT_EQ(bytes.substr(34), std::string(990, '\0'));

  IndexFile index;
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), 0);
  EXPECT_EQ(index.pool().lastBlock(), 0);
  WORD block = 0;
  BYTE data[4] = {1, 2, 3, 4};
  ASSERT_EQ(index.pool().write(block, data, 4, 1), 0);
  EXPECT_EQ(block, 1);
}

TEST(IndexFileCreate, ReportsAFileThatCannotBeMade) {
  testing_support::TempDir dir;
  std::string path = dir.file("missing-folder/new.bof");
  EXPECT_EQ(IndexFile::create(path.c_str()), -1);
  IndexFile index;
  EXPECT_EQ(index.open(path.c_str(), IndexFile::kCreateReadWrite), -1);
  EXPECT_TRUE(index.errorFlag());
  EXPECT_FALSE(index.isOpen());
}

TEST(IndexFileOpen, SameFileAndModeIsKeptAnotherModeReopens) {
  testing_support::TempDir dir;
  std::string path = dir.file("x.bof");
  ASSERT_EQ(IndexFile::create(path.c_str()), 0);
  IndexFile index;
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), 0);
  ASSERT_EQ(index.insert("ALPHA", IndexEntry{0x10, 0, 7}, false), 0);
  ASSERT_EQ(index.find("ALPHA", 1), 0);
  // Nothing is done: the cursor survives.
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), 0);
  EXPECT_EQ(index.cursorState(), IndexFile::kPositioned);
  // Read-only is another mode: closed and opened again, cursor gone.
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadOnlyAsked), 0);
  EXPECT_EQ(index.mode(), IndexFile::kReadOnly);
  EXPECT_EQ(index.cursorState(), IndexFile::kNoCursor);
  EXPECT_EQ(index.insert("BETA", IndexEntry{0, 0, 1}, false), -1);
  ASSERT_EQ(index.find("ALPHA", 1), 0);
  EXPECT_EQ(index.entry().value, 7u);
  EXPECT_EQ(index.close(), 0);
  EXPECT_EQ(index.close(), -1);
  EXPECT_TRUE(index.path().empty());
}

TEST(IndexFileOpen, RefusesHeadersItCannotTrust) {
  struct Case {
    const char* what;
    long offset;
    std::string bytes;
  };
  const Case cases[] = {
      {"block size 0", 2, le16(0)},
      {"block size below a node's needs", 2, le16(100)},
      {"block size whose last block lies beyond 32-bit offsets", 2, le16(65535)},
      {"root beyond the file", 4, le16(9)},
      {"first leaf beyond the file", 6, le16(3)},
      {"chain block beyond the file", 12, le16(2)},
      {"a root without depth", 4, le16(1)},
  };
  for (const Case& c : cases) {
    testing_support::TempDir dir;
    std::string path = indexWithOneKey(dir, "h.bof");
    patchFile(path, c.offset, c.bytes);
    IndexFile index;
    EXPECT_EQ(index.open(path.c_str(), IndexFile::kReadOnly), -1) << c.what;
    EXPECT_TRUE(index.errorFlag()) << c.what;
  }
}

TEST(IndexFileOpen, AFileShorterThanAHeaderIsRefused) {
  testing_support::TempDir dir;
  std::string path = dir.write("short.bof", std::string("\x01\x00\x00\x04", 4));
  IndexFile index;
  EXPECT_EQ(index.open(path.c_str(), IndexFile::kReadOnly), -1);
  EXPECT_EQ(index.open(dir.file("absent.bof").c_str(), IndexFile::kReadOnly), -1);
  EXPECT_TRUE(index.errorFlag());
}

TEST(IndexFileOpen, AHeaderMarkedInvalidIsReadButNeverWritten) {
  testing_support::TempDir dir;
  std::string path = indexWithOneKey(dir, "v.bof");
  patchFile(path, 0, le16(0));
  IndexFile index;
  EXPECT_EQ(index.open(path.c_str(), IndexFile::kReadWrite), -1);
  ASSERT_EQ(index.open(path.c_str(), IndexFile::kReadOnly), 0);
  ASSERT_EQ(index.find("KEY", 1), 0);
  EXPECT_EQ(index.entry().value, 3u);
}

TEST(IndexFileOpen, AReaderSeesWhatAWriterOfTheSameFileAdds) {
  testing_support::TempDir dir;
  std::string path = dir.file("shared.bof");
  IndexFile writer, reader;
  ASSERT_EQ(writer.open(path.c_str(), IndexFile::kCreateReadWrite), 0);
  ASSERT_EQ(writer.insert("FIRST", IndexEntry{0, 0, 1}, false), 0);
  ASSERT_EQ(reader.open(path.c_str(), IndexFile::kReadOnly), 0);
  ASSERT_EQ(reader.find("FIRST", 1), 0);
  // Enough keys to split the root the reader has cached.
  for (int i = 0; i < 300; ++i)
    ASSERT_EQ(writer.insert(index_testing::numberedKey(i, 40), IndexEntry{0, 0, static_cast<DWORD>(i)}, false), 0);
  // The reader's cursor was placed before the change: it must search again.
  EXPECT_EQ(reader.next(false), -1);
  ASSERT_EQ(reader.find(index_testing::numberedKey(299, 40), 1), 0);
  EXPECT_EQ(reader.entry().value, 299u);
  index_testing::Contents all;
  ASSERT_TRUE(index_testing::readAll(reader, all));
  EXPECT_EQ(all.size(), 301u);
}

TEST(IndexFileOpen, OneWriterAtATimeAndReadersLeaveItsJournalAlone) {
  testing_support::TempDir dir;
  std::string path = dir.file("w.bof");
  IndexFile writer, second, reader;
  ASSERT_EQ(writer.open(path.c_str(), IndexFile::kCreateReadWrite), 0);
  // Splits write the journal; it stays, emptied, while the writer is open.
  for (int i = 0; i < 40; ++i)
    ASSERT_EQ(writer.insert(index_testing::numberedKey(i, 60), IndexEntry{0, 0, 1}, false), 0);
  std::string journal = IndexJournal::pathFor(path);
  ASSERT_TRUE(std::filesystem::exists(journal));
  EXPECT_EQ(second.open(path.c_str(), IndexFile::kReadWrite), -1);
  EXPECT_EQ(second.open(path.c_str(), IndexFile::kCreateReadWrite), -1);
  ASSERT_EQ(reader.open(path.c_str(), IndexFile::kReadOnly), 0);
  EXPECT_FALSE(reader.recovered());
  EXPECT_TRUE(std::filesystem::exists(journal));
  ASSERT_EQ(writer.close(), 0);
  EXPECT_FALSE(std::filesystem::exists(journal));
  EXPECT_EQ(second.open(path.c_str(), IndexFile::kReadWrite), 0);
}

}  // namespace
