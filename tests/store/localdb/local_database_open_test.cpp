// Opening a local database, its roots, and what each kind of name reads.
#include <gtest/gtest.h>

#include <string>

#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"
#include "support/local_db.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

using localdb_testing::LocalDb;

TEST(LocalDatabaseOpen, ADataSetAddressConnectsAndIdentifies) {
  LocalDb local;
  LocalDatabase& db = local.db();
  EXPECT_EQ(db.getError(), 0);
  EXPECT_TRUE(db.isIdentified());
  EXPECT_EQ(db.getUser(), "Orvello");
  EXPECT_EQ(db.getCapabilities(), 0x7FFF);
  EXPECT_EQ(db.statusText(), "local database: connected");
  EXPECT_EQ(db.getScheme(), "kxlocal");
  EXPECT_EQ(LocalDatabase::current(), &db);
}

TEST(LocalDatabaseOpen, FailuresAreLeftInTheErrorCode) {
  testing_support::TempDir dir;
  struct Case {
    std::string address;
    std::int32_t error;
  } cases[] = {
      {"korvex://host:5000/", 142},
      {"kxlocal:" + dir.file("missing.cfg"), 125},
      {"kxlocal:", 125},
      {"kxlocal:" + dir.file("missing.ml"), 125},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    Ref<LocalDatabase> db(new LocalDatabase(CString(c.address)));
    EXPECT_EQ(db->getError(), c.error) << c.address;
    EXPECT_FALSE(db->isIdentified()) << c.address;
  }
}

TEST(LocalDatabaseOpen, DataSetNumbersAreCheckedAndAnOpenSetKeepsItsNumber) {
  testing_support::TempDir dir;
  const std::string a = KeyedStore::createDataSet(dir.path().string(), "alpha", "a");
  const std::string b = KeyedStore::createDataSet(dir.path().string(), "beta", "b");
  KeyedStore store;
  EXPECT_EQ(store.openDataSet(a, 0), -1);
  EXPECT_EQ(store.openDataSet(a, 255), -1);
  EXPECT_EQ(store.openDataSet(a, 12), 12);
  EXPECT_EQ(store.openDataSet(a, 13), 12) << "the same data set opened again keeps its number";
  EXPECT_EQ(store.openDataSet(b, 12), -1) << "a number in use is not taken over";
  EXPECT_EQ(store.openDataSet(b, 254), 254);
  EXPECT_EQ(store.dataSetNumber(" BETA "), 254);
  EXPECT_EQ(store.dataSetNumber("gamma"), -1);
  EXPECT_EQ(store.dataSets(), (std::vector<int>{12, 254}));
}

TEST(LocalDatabaseOpen, AListFileOpensEveryDataSetItNames) {
  testing_support::TempDir dir;
  KeyedStore::createDataSet(dir.path().string(), "alpha", "a");
  KeyedStore::createDataSet(dir.path().string(), "beta", "b");
  const std::string list = dir.write("sets.ML", "5 ALPHA.CFG\n6 BETA.CFG\n");
  win::ClearMessageBoxLog();
  Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + list)));
  EXPECT_EQ(db->getError(), 0);
  EXPECT_EQ(db->keyedStore()->dataSets(), (std::vector<int>{5, 6}));
}

TEST(LocalDatabaseRoots, RecordsOfTheStoreRootAndTheLocalRoot) {
  LocalDb local;
  LocalDatabase& db = local.db();
  EXPECT_EQ(db.getRecord("KorvexRoot").str(),
            "ObjectID=0x00000000@localdb\nType=Document\nDocumentType=collection\nTitle=en:Korvex Root\n"
            "Name=korvexroot @ localdb\nHome=rootcollection\n");
  // The home line is given once.
  EXPECT_EQ(db.getRecord("0x00000000").str().find("Home="), std::string::npos);
  EXPECT_EQ(db.getRecord("LOCAL-DB-ROOT").str(),
            "ObjectID=0xfffffffe@localdb\nType=Document\nDocumentType=collection\n"
            "Title=ge:---- Local Database Root ----\nName=LOCAL-DB-ROOT @ localdb\nSubdocs=0\nSequence=4\n");
}

TEST(LocalDatabaseRoots, WhichNamesAreTheStoreRoot) {
  LocalDb local;
  struct Case {
    const char* name;
    bool root;
  } cases[] = {{"korvexroot", true}, {"KORVEXROOT", true}, {"0x00000000", true},
               {"0x0", false},       {"korvexroot2", false}, {"0x00000001", false}};
  for (const Case& c : cases) EXPECT_EQ(local.db().isRoot(c.name), c.root) << c.name;
}

TEST(LocalDatabaseNames, WhichNamesTheStoreServes) {
  LocalDb local;
  struct Case {
    const char* name;
    bool served;
  } cases[] = {
      {"0x00000120@dovirev", true}, {"0x00000120", false},     {"earth @ dovirev", true},
      {"two words", false},         {"kxlocal:%HOME", true},    {"KXLOCAL://c:\\x.cfg", true},
      {"korvex://host/", false},    {"korvexroot", true},       {"plainname", false},
  };
  for (const Case& c : cases) EXPECT_EQ(local.db().handlesUrl(c.name), c.served) << c.name;
}

TEST(LocalDatabaseNames, LocationsGiveRootsOrAMessage) {
  LocalDb local;
  LocalDatabase& db = local.db();
  db.specialRootRecord(db.specialRoots().front());  // the first one carries the home line
  const std::string special = db.specialRootRecord(db.specialRoots().front());
  struct Case {
    const char* name;
    bool special;       // the local root's record, else nothing
    const char* shown;  // the message, "" for none
  } cases[] = {
      {"kxlocal:%LOCAL-DB-ROOT", true, ""},
      {"kxlocal:", true, ""},
      {"kxlocal:%home", false, ""},
      {"kxlocal:%elsewhere", false, "Special local database URL must include \"home\" or \"root\" !"},
      {"kxlocal:a;b", false, ""},
      {"korvex:something", false, "URL may be only within local database !"},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(db.getRecord(c.name).str(), c.special ? special : std::string()) << c.name;
    const auto& log = win::MessageBoxLog();
    if (*c.shown) {
      ASSERT_EQ(log.size(), 1u) << c.name;
      EXPECT_EQ(log[0].text, c.shown);
    } else {
      EXPECT_TRUE(log.empty()) << c.name;
    }
  }
}

TEST(LocalDatabaseNames, OpeningAKxlocalAddressThroughTheFactoryOpensTheDatabase) {
  testing_support::TempDir dir;
  const std::string config = KeyedStore::createDataSet(dir.path().string(), "dovirev", "rootcollection");
  InstallObjectFactory();
  InstallLocalDatabaseMaker();
  ClearOpenStores();
  ClearObjectCache();
  Ref<Store> store = openStore(CString("kxlocal:" + config), Ref<Store>());
  ASSERT_TRUE(store);
  EXPECT_EQ(store->getScheme(), "kxlocal");
  EXPECT_TRUE(store->isIdentified());
  EXPECT_EQ(FindOpenStore("kxlocal").get(), store.get());
  ClearOpenStores();
  ClearObjectCache();
}

}  // namespace
