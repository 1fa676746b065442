// Users and groups: their type from "TType=", their lists, and the group and
// member queries through the store.
#include "core/user_group.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/objects/support/fake_store.h"

namespace {

template <class T>
Ref<T> Make(std::int32_t id, const char* rest, const Ref<Store>& store) {
  Ref<T> object(new T(Record(id, rest)));
  object->setStore(store);
  return object;
}

// A group object as the store hands it out for a name (sorted by title).
Ref<KXObject> Hit(std::int32_t id, const char* title, const Ref<Store>& store) {
  return MakeObject(Record(id, (std::string("TType=Group\nTitle=en:") + title + "\n").c_str()),
                    store);
}

class UserGroupTest : public ObjectModelTest {};

TEST_F(UserGroupTest, ListsComeFromTheRecordWhenTheTypeMatches) {
  Ref<User> user = Make<User>(1,
                              "Type=Document\nTType=User\nGroup=staff\nGroup=admin\nGroup=staff\n"
                              "Passwd=x1\nHost=a.example\nHost=b.example\n",
                              Ref<Store>());
  EXPECT_EQ(user->getClassCode(), kClassUser);
  EXPECT_EQ(user->getType(), "User");  // "Type=" is not used
  ASSERT_EQ(user->groupNames().count(), 2);  // staff once, sorted
  EXPECT_EQ(user->groupNames().at(0), "admin");
  EXPECT_EQ(user->groupNames().at(1), "staff");
  EXPECT_EQ(user->passwordEntries().count(), 1);
  EXPECT_EQ(user->hostNames().count(), 2);
  EXPECT_EQ(user->getAttributeNames(),
            "\nName\nTitle\nKeyword\nAuthor\nTimeCreated\nTimeOpen\nTimeExpire\nRights\nSequence\n"
            "UserAttr\nLayout\nHome\nDescr\nGroup\nHost\nPasswd\n");

  Ref<Group> group = Make<Group>(2, "TType=Group\nGroup=all\nUGroup=staff\n", Ref<Store>());
  EXPECT_EQ(group->getClassCode(), kClassGroup);
  EXPECT_EQ(group->getType(), "Group");
  ASSERT_EQ(group->groupNames().count(), 1);
  EXPECT_EQ(group->getAttributeNames(),
            "\nName\nTitle\nKeyword\nAuthor\nTimeCreated\nTimeOpen\nTimeExpire\nRights\nSequence\n"
            "UserAttr\nLayout\nDescr\nGroup\n");

  // Another type: empty lists and no error.
  Ref<User> notUser = Make<User>(3, "TType=Group\nGroup=staff\n", Ref<Store>());
  EXPECT_EQ(notUser->groupNames().count(), 0);
  EXPECT_EQ(notUser->getType(), "Group");
  Ref<Group> notGroup = Make<Group>(4, "TType=User\nGroup=staff\n", Ref<Store>());
  EXPECT_EQ(notGroup->groupNames().count(), 0);
}

TEST_F(UserGroupTest, GroupsAreAskedByNameAndSorted) {
  Ref<User> user = Make<User>(1, "TType=User\nGroup=staff\nGroup=admin\nGroup=gone\n",
                              Ref<Store>(server));
  server->setResults(kRequestGroupsNamed, "staff",
                     {Hit(10, "Zeta", Ref<Store>(server)), Hit(11, "Beta", Ref<Store>(server))});
  server->setResults(kRequestGroupsNamed, "admin", {Hit(12, "Alpha", Ref<Store>(server))});
  // "gone": refused, skipped.

  List* list = user->getGroups();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Identifiers(list),
            (std::vector<std::string>{"0x0000000c", "0x0000000b", "0x0000000a"}));
  // In the sorted order of the names, all hits of a name at once.
  EXPECT_EQ(server->calls,
            (std::vector<std::string>{"openRequest 8 0x00000001 'admin'", "getResults 1",
                                      "closeRequest", "openRequest 8 0x00000001 'gone'",
                                      "openRequest 8 0x00000001 'staff'", "getResults 2",
                                      "closeRequest"}));
  EXPECT_EQ(server->openHandles(), 0);
  DeleteObjectList(list);

  // A group asks the same way.
  Ref<Group> group = Make<Group>(2, "TType=Group\nGroup=admin\n", Ref<Store>(server));
  list = group->getGroups();
  EXPECT_EQ(Identifiers(list), std::vector<std::string>{"0x0000000c"});
  DeleteObjectList(list);
}

TEST_F(UserGroupTest, GroupsWithoutNamesOrStore) {
  Ref<User> noGroups = Make<User>(1, "TType=User\n", Ref<Store>(server));
  EXPECT_EQ(noGroups->getGroups(), nullptr);  // null, not an empty list
  Ref<User> noStore = Make<User>(2, "TType=User\nGroup=staff\n", Ref<Store>());
  List* list = noStore->getGroups();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isEmpty());
  DeleteObjectList(list);
  EXPECT_TRUE(server->calls.empty());
}

// A store that hands out fewer hits than asked is asked again for the rest;
// one that hands out nothing more, or fails, ends the question.
TEST_F(UserGroupTest, AllAnnouncedHitsAreTaken) {
  constexpr std::int32_t kCount = FakeStore::kAnnounceCount;
  const struct {
    const char* what;
    int batchLimit;
    int stallFromBatch;
    int nullFromBatch;
    std::int32_t announced;
    int expected;
    int getResults;
  } cases[] = {
      {"all at once", 0, -1, -1, kCount, 5, 1},
      {"two at a time", 2, -1, -1, kCount, 5, 3},
      {"stalls", 2, 1, -1, kCount, 2, 2},
      {"fails", 2, -1, 1, kCount, 2, 2},
      {"announces none", 0, -1, -1, 0, 0, 0},
      {"announces no size", 0, -1, -1, -1, 0, 0},
  };
  for (const auto& c : cases) {
    Ref<FakeStore> store = new FakeStore("korvex://groups/");
    std::vector<Ref<KXObject>> hits;
    for (int i = 0; i < 5; ++i) hits.push_back(Hit(10 + i, "G", Ref<Store>(store)));
    store->batchLimit = c.batchLimit;
    store->stallFromBatch = c.stallFromBatch;
    store->nullFromBatch = c.nullFromBatch;
    store->setResults(kRequestGroupsNamed, "staff", hits, c.announced);
    Ref<User> user = Make<User>(1, "TType=User\nGroup=staff\n", Ref<Store>(store));
    List* list = user->getGroups();
    ASSERT_NE(list, nullptr) << c.what;
    EXPECT_EQ(list->count(), c.expected) << c.what;
    DeleteObjectList(list);

    store->setResults(kRequestGroupMembers, "staff", hits, c.announced);
    Ref<Group> group = Make<Group>(2, "TType=Group\nUGroup=staff\n", Ref<Store>(store));
    const int before = store->batches();
    list = group->getGroupMembers();
    ASSERT_NE(list, nullptr) << c.what;
    // The batch counter runs on: a failing or stalling store gives nothing
    // more to the second question.
    if (c.stallFromBatch < 0 && c.nullFromBatch < 0) EXPECT_EQ(list->count(), c.expected);
    DeleteObjectList(list);

    EXPECT_EQ(before, c.getResults) << c.what;
    EXPECT_EQ(store->callCount("closeRequest"), 2) << c.what;
    EXPECT_EQ(store->openHandles(), 0) << c.what;
    store->clearTables();
  }
}

TEST_F(UserGroupTest, GroupMembersByTheFirstUGroupValue) {
  Ref<Group> group = Make<Group>(2, "TType=Group\nUGroup=staff\nUGroup=other\n",
                                 Ref<Store>(server));
  server->setResults(kRequestGroupMembers, "staff",
                     {Hit(20, "Zed", Ref<Store>(server)), Hit(21, "Ann", Ref<Store>(server))});
  List* list = group->getGroupMembers();
  EXPECT_EQ(Identifiers(list), (std::vector<std::string>{"0x00000015", "0x00000014"}));
  EXPECT_EQ(server->calls, (std::vector<std::string>{"openRequest 10 0x00000002 'staff'",
                                                     "getResults 2", "closeRequest"}));
  DeleteObjectList(list);

  // Refused, or no store: null.
  Ref<Group> unknown = Make<Group>(3, "TType=Group\nUGroup=nobody\n", Ref<Store>(server));
  EXPECT_EQ(unknown->getGroupMembers(), nullptr);
  Ref<Group> loose = Make<Group>(4, "TType=Group\nUGroup=staff\n", Ref<Store>());
  EXPECT_EQ(loose->getGroupMembers(), nullptr);
}

// Both classes refresh as anchors do: the record is fetched when the flags
// ask for it, the lists follow it, and the flags stay.
TEST_F(UserGroupTest, RefreshReadsTheListsAndLeavesTheFlags) {
  Ref<User> user = Make<User>(1, "TType=User\nGroup=old\n", Ref<Store>(server));
  Ref<Group> group = Make<Group>(2, "TType=Group\nGroup=old\n", Ref<Store>(server));
  server->addRecord("0x00000001", Record(1, "TType=User\nGroup=new\nHost=h\n"));
  server->addRecord("0x00000002", Record(2, "TType=Group\nGroup=new\n"));
  user->invalidate(kRefreshAttributes);
  group->invalidate(kRefreshAttributes);
  // getGroups refreshes first: the new names are asked for.
  DeleteObjectList(user->getGroups());
  DeleteObjectList(group->getGroups());
  EXPECT_EQ(server->callCount("openRequest 8 0x00000001 'new'"), 1);
  EXPECT_EQ(server->callCount("openRequest 8 0x00000002 'new'"), 1);
  EXPECT_EQ(user->hostNames().count(), 1);
  EXPECT_TRUE(user->isParsed());
  EXPECT_EQ(user->getRefreshFlags(), kRefreshAttributes);
  EXPECT_EQ(group->getRefreshFlags(), kRefreshAttributes);

  user->invalidate(kRefreshNoFetch);
  EXPECT_TRUE(user->refresh());
  EXPECT_FALSE(user->isParsed());
  group->invalidate(0);
  EXPECT_TRUE(group->refresh());
  EXPECT_TRUE(group->isParsed());

  server->clearTables();
  group->invalidate(kRefreshAll);
  EXPECT_FALSE(group->refresh());
  EXPECT_FALSE(group->isParsed());
}

}  // namespace
