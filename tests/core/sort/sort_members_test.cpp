#include "core/sort_order.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "record_object.h"

namespace {

using sort_test::Entry;
using sort_test::RecordObject;

// A member list over objects owned by the fixture; the global sort order is
// put back after each test.
class SortMembersTest : public testing::Test {
 protected:
  ~SortMembersTest() override {
    list_.clearAndDelete();
    SetSortOrder(saved_);
  }

  RecordObject* object(const std::string& record) {
    objects_.push_back(std::make_unique<RecordObject>(record.c_str()));
    return objects_.back().get();
  }
  // Appends one entry per record ("" for an entry without an object).
  void fill(const std::vector<std::string>& records) {
    for (const std::string& r : records) list_.append(new Entry(r.empty() ? nullptr : object(r)));
  }
  void add(SortableObject* o) { list_.append(new Entry(o)); }

  // The ids in list order, "-" for an entry without an object.
  std::vector<std::string> ids() const {
    std::vector<std::string> out;
    for (ListElement* e = list_.first(); e; e = e->next()) {
      SortableObject* o = static_cast<Entry*>(e)->sortObject();
      out.push_back(o ? o->sortIdentifier().str() : "-");
    }
    return out;
  }

  List list_;
  std::vector<std::unique_ptr<RecordObject>> objects_;
  CString saved_ = GetSortOrder();
};

TEST_F(SortMembersTest, DefaultOrderIsSequenceCreationTitle) {
  EXPECT_EQ(GetSortOrder(), kDefaultSortOrder);
  EXPECT_EQ(GetSortOrder(), "#CT");
}

TEST_F(SortMembersTest, OrdersByTheGlobalSortOrder) {
  struct Case {
    const char* order;
    std::vector<std::string> records;
    std::vector<std::string> expected;
  };
  const std::string a = "ObjectID=0x1\nSequence=5\nTimeCreated=96/05/01 10:00:00\nTitle=en:Zebra\nAuthor=Mo@kx\n";
  const std::string b = "ObjectID=0x2\nSequence=-2\nTimeCreated=100/01/01 00:00:00\nTitle=en:apple\nAuthor=al\n";
  const std::string c = "ObjectID=0x3\nTimeCreated=99/12/31 23:59:59\nTitle=en:Mango\nAuthor=Zed Q\n";
  const std::string d = "ObjectID=0x4\nSequence=-10\nTimeCreated=101/03/01 12:00:00\nTitle=en:mango\nAuthor=AL@host\n";
  const Case cases[] = {
      {"-C", {a, b, c, d}, {"0x4", "0x2", "0x3", "0x1"}},  // newest first, 2001 before 1999
      {"C", {a, b, c, d}, {"0x1", "0x3", "0x2", "0x4"}},
      {"#T", {a, b, c, d}, {"0x4", "0x2", "0x3", "0x1"}},  // -10, -2, none (0), 5
      {"T", {a, b, c, d}, {"0x2", "0x3", "0x4", "0x1"}},   // equal titles go by id
      {"-T", {a, b, c, d}, {"0x1", "0x3", "0x4", "0x2"}},  // ... also when descending
      {"XT", {a, b, c, d}, {"0x2", "0x3", "0x4", "0x1"}},  // an unknown letter changes nothing
      {"", {c, a, d, b}, {"0x1", "0x2", "0x3", "0x4"}},    // only the id orders
      {"A-C", {a, b, c, d}, {"0x4", "0x2", "0x1", "0x3"}}, // "al" twice, newer first
  };
  for (const Case& k : cases) {
    list_.clearAndDelete();
    SetSortOrder(k.order);
    fill(k.records);
    EXPECT_TRUE(SortMembers(list_));
    EXPECT_EQ(ids(), k.expected) << "order '" << k.order << "'";
    EXPECT_EQ(GetSortOrder(), k.order) << "the order is restored";
  }
}

TEST_F(SortMembersTest, KeepsEachObjectOnce) {
  SetSortOrder("T");
  RecordObject* x = object("ObjectID=0x7\nTitle=en:b\n");
  RecordObject* y = object("ObjectID=0x8\nTitle=en:a\n");
  // Separate objects with the same id count as one as well.
  RecordObject* xAgain = object("ObjectID=0x7\nTitle=en:b\n");
  add(x);
  add(y);
  add(x);
  add(xAgain);
  add(y);
  EXPECT_TRUE(SortMembers(list_));
  EXPECT_EQ(ids(), (std::vector<std::string>{"0x8", "0x7"}));
  EXPECT_EQ(list_.count(), 2);
}

TEST_F(SortMembersTest, FirstEntryStaysWhateverItsId) {
  SetSortOrder("");
  fill({"ObjectID=$\n", "ObjectID=$\n", "ObjectID=a\n"});
  SortMembers(list_);
  EXPECT_EQ(ids(), (std::vector<std::string>{"$", "a"}));
}

TEST_F(SortMembersTest, EntriesWithoutObjectGoLastAndEndTheWalk) {
  SetSortOrder("T");
  fill({"", "ObjectID=0x2\nTitle=en:b\n", "", "ObjectID=0x1\nTitle=en:a\n", "ObjectID=0x2\nTitle=en:b\n"});
  EXPECT_TRUE(SortMembers(list_));
  EXPECT_EQ(ids(), (std::vector<std::string>{"0x1", "0x2", "-", "-"}));

  EXPECT_NE(FindMember(list_, "0x2"), nullptr);
  EXPECT_EQ(FindMember(list_, "0x9"), nullptr);

  // A lookup stops at an entry without object, even when a match follows.
  list_.clearAndDelete();
  fill({"ObjectID=0x1\n", "", "ObjectID=0x2\n"});
  EXPECT_EQ(FindMember(list_, "0x2"), nullptr);
}

TEST_F(SortMembersTest, FindMemberComparesIdsExactly) {
  fill({"ObjectID=0x1\n", "ObjectID=0x2\n", "ObjectID=0x2\n"});
  SortableMember* found = FindMember(list_, "0x2");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, list_.at(1));
  EXPECT_EQ(FindMember(list_, "0X2"), nullptr);
  EXPECT_EQ(FindMember(list_, ""), nullptr);
}

TEST_F(SortMembersTest, KeyIsCachedUntilReset) {
  SetSortOrder("T");
  RecordObject* o = object("ObjectID=0x1\nTitle=en:Home\n");
  Entry entry(o);
  EXPECT_EQ(entry.sortKey(), "home\x01");
  SetSortOrder("I");
  EXPECT_EQ(entry.sortKey(), "home\x01");
  entry.resetKey();
  EXPECT_FALSE(entry.keyValid());
  EXPECT_EQ(entry.sortKey(), "0x1\x01");
}

}  // namespace
