#include "core/named_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int gDeaths = 0;

struct Picture : NamedObject {
  ~Picture() override { ++gDeaths; }
};

std::vector<std::string> names(const NamedList& list) {
  std::vector<std::string> out;
  for (ListElement* e = list.entries().first(); e; e = e->next())
    out.push_back(static_cast<NamedEntry*>(e)->name().c_str());
  return out;
}

NamedEntry* entryAt(const NamedList& list, int i) {
  return static_cast<NamedEntry*>(list.entries().at(i));
}

class NamedListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gDeaths = 0;
    SetInlinePictureFactory(nullptr);
  }
  void TearDown() override { SetInlinePictureFactory(nullptr); }
};

TEST_F(NamedListTest, AddPutsUsedEntriesAtTheFront) {
  NamedList list(20);
  EXPECT_EQ(list.ownerValue(), 20);
  list.Add("a", nullptr);
  list.Add("b", nullptr);
  list.Add("c", nullptr);
  EXPECT_EQ(names(list), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(entryAt(list, 2)->used, 1);
}

TEST_F(NamedListTest, EachHitMovesOnePlaceForward) {
  struct Case {
    const char* find;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {"d", {"d", "c", "b", "a"}},  // at the front: stays
      {"b", {"d", "b", "c", "a"}},  // position 3 moves to 2
      {"b", {"b", "d", "c", "a"}},
      {"a", {"b", "d", "a", "c"}},
      {"zz", {"b", "d", "a", "c"}},  // a miss changes nothing
  };
  NamedList list(15);
  for (const char* n : {"a", "b", "c", "d"}) list.Add(n, new Picture);
  for (const auto& c : cases) {
    list.Find(c.find);
    EXPECT_EQ(names(list), c.after) << c.find;
  }
}

TEST_F(NamedListTest, FindReturnsTheObjectWithItsFlagCleared) {
  NamedList list(20);
  auto* pic = new Picture;
  pic->pending = 1;
  list.Add("pic.gif", pic);
  EXPECT_EQ(pic->references(), 1);
  entryAt(list, 0)->used = 0;
  EXPECT_EQ(list.Find("pic.gif"), pic);
  EXPECT_EQ(pic->pending, 0);
  EXPECT_EQ(entryAt(list, 0)->used, 1);
  EXPECT_EQ(list.Find("PIC.GIF"), nullptr);  // exact, case-sensitive
  EXPECT_EQ(pic->references(), 1);           // the caller only borrows it
}

TEST_F(NamedListTest, EntryWithoutObjectGivesANewInlinePicture) {
  NamedList list(20);
  list.Add("empty", nullptr);
  EXPECT_EQ(list.Find("empty"), nullptr);  // no factory installed
  SetInlinePictureFactory([]() -> NamedObject* { return new Picture; });
  NamedObject* made = list.Find("empty");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->pending, 1);
  NamedObject* again = list.Find("empty");
  EXPECT_NE(again, made);  // a new one each time, owned by the caller
  delete made;
  delete again;
}

TEST_F(NamedListTest, DestroyingTheListReleasesTheObjects) {
  auto* shared = new Picture;
  shared->acquire();  // held outside the list too
  {
    NamedList list(20);
    list.Add("x", shared);
    list.Add("y", new Picture);
    EXPECT_EQ(shared->references(), 2);
  }
  EXPECT_EQ(gDeaths, 1);  // only the one the list alone held
  EXPECT_EQ(shared->references(), 1);
  shared->release();
  EXPECT_EQ(gDeaths, 2);
}

}  // namespace
