#include "store/index/record_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/index_contents.h"
#include "support/temp_dir.h"

namespace {

using index_testing::le16;
using index_testing::le32;

// Entry words as the data files hold them.
DWORD leafWord(int code, DWORD number) { return (number << 5) | (static_cast<DWORD>(code) << 1); }
DWORD innerWord(int children, DWORD offset) { return (offset << 9) | (static_cast<DWORD>(children) << 1) | 1; }

struct Entry {
  DWORD word;
  DWORD x = 0;
};

// Lays records out one after another; each add returns the record's offset.
class RecordBuilder {
 public:
  explicit RecordBuilder(bool withLength) : withLength_(withLength) {}
  DWORD add(const std::vector<Entry>& entries) {
    std::string body(1, static_cast<char>(entries.size()));
    for (const Entry& e : entries) {
      body += le32(e.word);
      if (e.word & 1) body += le32(e.x);
    }
    return addRaw(body);
  }
  DWORD addRaw(const std::string& body) {
    DWORD at = static_cast<DWORD>(bytes.size());
    if (withLength_) bytes += le16(static_cast<int>(body.size()));
    bytes += body;
    return at;
  }
  // Reserves room so that a record can name an offset before it is made.
  DWORD next() const { return static_cast<DWORD>(bytes.size()); }
  std::string bytes;

 private:
  bool withLength_;
};

// An outer record of three entries: leaf 5, an inner entry with the leaves
// 7 and 9 below it, leaf 10.
std::string smallTree(bool withLength) {
  RecordBuilder b(withLength);
  DWORD outerSize = withLength ? 2 + 1 + 4 + 8 + 4 : 1 + 4 + 8 + 4;
  DWORD children = outerSize;
  b.add({{leafWord(2, 5)}, {innerWord(2, children), 9}, {leafWord(3, 10)}});
  EXPECT_EQ(b.next(), children);
  b.add({{leafWord(1, 7)}, {leafWord(1, 9)}});
  return b.bytes;
}

class RecordFileTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    int kind = GetParam();
    path_ = dir_.write("dict.sdb", smallTree(kind >= RecordFile::kRecordKind));
    file_.setFile(path_, kind, 4, 3);
  }
  testing_support::TempDir dir_;
  std::string path_;
  RecordFile file_;
};

TEST_P(RecordFileTest, WalksChildrenSiblingsAndParents) {
  std::optional<RecordNode> first = file_.root();
  ASSERT_TRUE(first);
  EXPECT_FALSE(first->inner);
  EXPECT_EQ(first->code(), 2);
  EXPECT_EQ(first->entryCount, 3);
  EXPECT_EQ(file_.entryNumber(*first), 5);

  std::optional<RecordNode> inner = file_.nextSibling(*first);
  ASSERT_TRUE(inner);
  ASSERT_TRUE(inner->inner);
  EXPECT_EQ(inner->childCount(), 2);
  EXPECT_EQ(inner->x, 9u);
  EXPECT_EQ(file_.entryNumber(*inner), RecordFile::kFirstInnerNumber);

  std::optional<RecordNode> second = file_.child(*inner, 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(file_.entryNumber(*second), 9);
  EXPECT_EQ(second->depth, 1);
  EXPECT_EQ(second->path[0], inner->address);
  std::optional<RecordNode> up = file_.parent(*second);
  ASSERT_TRUE(up);
  EXPECT_EQ(up->address, inner->address);
  EXPECT_FALSE(file_.parent(*up));

  EXPECT_FALSE(file_.nextSibling(*second));
  std::optional<RecordNode> last = file_.nextSibling(*inner);
  ASSERT_TRUE(last);
  EXPECT_EQ(file_.entryNumber(*last), 10);
  EXPECT_FALSE(file_.nextSibling(*last));
  // An entry index equal to the record's count names nothing.
  EXPECT_FALSE(file_.node(3));
  EXPECT_FALSE(file_.child(*inner, 2));
  EXPECT_EQ(file_.useCount(), 0);
}

TEST_P(RecordFileTest, FindsEntriesByNumber) {
  struct Case {
    std::int32_t number;
    bool found;
  };
  const Case cases[] = {{5, true}, {7, true}, {9, true}, {10, true}, {-10002, true}, {8, false}, {11, false}, {-10003, false}};
  for (const Case& c : cases) {
    std::optional<RecordNode> n = file_.findEntry(c.number);
    ASSERT_EQ(n.has_value(), c.found) << c.number;
    if (n) {
      EXPECT_EQ(file_.entryNumber(*n), c.number);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordFileTest, ::testing::Values(2, 3));

TEST(RecordFileNumbers, InnerNodesAreNumberedByTheirPlace) {
  // Depth limit 4, fan-out 3: a node at depth 2, entry 2 of its record,
  // below entry 1 at depth 1: S = 1 + (1 * 4^2 + 1) + (2 * 4^1 + 1) = 27.
  RecordFile file;
  file.setFile("unused", 3, 4, 3);
  RecordNode n;
  n.inner = true;
  n.depth = 2;
  n.path[0] = 0x100;
  n.path[1] = 0x201;
  n.address = 0x302;
  EXPECT_EQ(file.entryNumber(n), -(10001 + 27));
  n.depth = 0;
  EXPECT_EQ(file.entryNumber(n), -10002);
  // Deep trees with a large fan-out stay negative numbers.
  file.setFile("unused", 3, 7, 255);
  n.depth = 7;
  for (int i = 0; i < 7; ++i) n.path[i] = 0xFF;
  n.address = 0xFF;
  EXPECT_LE(file.entryNumber(n), -10002);
}

TEST(RecordFileBounds, ReadsStayWithinTheRecordAndTheDepth) {
  testing_support::TempDir dir;
  RecordBuilder b(true);
  // A record claiming three entries but holding the bytes of one.
  DWORD shortRecord = b.addRaw(std::string(1, '\x03') + le32(leafWord(0, 1)));
  // An inner entry whose X would lie beyond the record's end.
  DWORD cutInner = b.addRaw(std::string(1, '\x01') + le32(innerWord(1, 0)));
  // An inner entry whose children are its own record: deeper than a node
  // can tell.
  DWORD loop = b.next();
  b.add({{innerWord(1, loop), 100}});
  std::string path = dir.write("bad.sdb", b.bytes);
  RecordFile file;
  file.setFile(path, 3, 7, 1, loop << 8);

  ASSERT_TRUE(file.node(shortRecord << 8));
  EXPECT_FALSE(file.node((shortRecord << 8) | 1));
  EXPECT_FALSE(file.node(cutInner << 8));
  std::optional<RecordNode> n = file.root();
  int depth = 0;
  while (n && depth < 20) {
    n = file.child(*n, 0);
    if (n) ++depth;
  }
  EXPECT_EQ(depth, RecordNode::kMaxDepth);
  EXPECT_FALSE(file.findEntry(50));
  EXPECT_FALSE(file.node(0xFFFFFF00u));  // beyond the file
}

TEST(RecordFileBounds, AMissingFileGivesNoNode) {
  RecordFile file;
  file.setFile("/nonexistent/dict.sdb", 3, 4, 3);
  EXPECT_FALSE(file.root());
  EXPECT_FALSE(file.acquireFile());
  EXPECT_EQ(file.useCount(), 0);
}

}  // namespace
