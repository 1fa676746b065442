// The sample web (data/sample) loaded into a local database and walked as
// the client walks it: from the store root down through every collection,
// every body and every link, with the searches a user makes, each answer
// compared with what the sample's own records say.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/attr_record.h"
#include "store/localdb/sample_import.h"
#include "support/local_db.h"

namespace {

namespace fs = std::filesystem;
using localdb_testing::LocalDb;
using Ids = std::vector<std::string>;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

struct SampleRecord {
  std::string record;
  std::vector<std::string> parents;
  fs::path body;
};

std::map<std::string, SampleRecord> SampleRecords() {
  std::map<std::string, SampleRecord> out;
  for (const auto& e : fs::recursive_directory_iterator(ZEMRA_SOURCE_DIR "/data/sample")) {
    if (e.path().extension() != ".rec") continue;
    SampleRecord r;
    r.record = Bytes(e.path());
    std::istringstream in(r.record);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("Parent=", 0) == 0) r.parents.push_back(line.substr(7));
    fs::path body = e.path();
    body.replace_extension(".body");
    if (fs::exists(body)) r.body = body;
    out[AttrRecord(CString(r.record)).getAttribute("ObjectID=").str()] = r;
  }
  return out;
}

std::string Value(const std::string& record, const char* key) { return AttrRecord(CString(record)).getAttribute(key).str(); }

Ids Sorted(Ids v) {
  std::sort(v.begin(), v.end());
  return v;
}

class LocalSample : public ::testing::Test {
 protected:
  void SetUp() override {
    SampleImport imported = ImportSampleWeb(local.db(), ZEMRA_SOURCE_DIR "/data/sample");
    ASSERT_TRUE(imported.ok) << imported.error;
    ids = imported.ids;
    records = SampleRecords();
    local.reopen();
  }
  // The new ids of the sample objects whose record passes the test.
  template <typename F>
  Ids Where(F f) {
    Ids out;
    for (const auto& [old, r] : records)
      if (ids.count(old) && f(old, r)) out.push_back(ids[old]);
    return Sorted(out);
  }

  LocalDb local{"sample", "rootcollection"};
  std::map<std::string, std::string> ids;
  std::map<std::string, SampleRecord> records;
};

TEST_F(LocalSample, TheRootsLeadToTheSampleHomeCollection) {
  Ref<KXObject> root = local.fetch("korvexroot");
  ASSERT_TRUE(root);
  EXPECT_EQ(Value(root->recordText().str(), "Home="), "rootcollection");
  EXPECT_EQ(local.results(root, kRequestMembers), Ids{"0xfffffffe@localdb"});
  Ref<KXObject> localRoot = local.fetch("LOCAL-DB-ROOT");
  ASSERT_TRUE(localRoot);
  EXPECT_EQ(local.results(localRoot, kRequestMembers), Ids{ids["0x00000101"]});
  // What the client asks for when it is told to show "rootcollection".
  EXPECT_EQ(local.db().getRecord("rootcollection"), local.db().getRecord(CString(ids["0x00000101"])));
}

TEST_F(LocalSample, EveryCollectionListsItsMembers) {
  for (const auto& [old, r] : records) {
    if (Value(r.record, "DocumentType=") != "collection") continue;
    Ref<KXObject> collection = local.fetch(ids[old]);
    ASSERT_TRUE(collection) << old;
    const std::string oldId = old;
    Ids want = Where([&](const std::string&, const SampleRecord& m) {
      return Value(m.record, "Type=") == "Document" &&
             std::find(m.parents.begin(), m.parents.end(), oldId) != m.parents.end();
    });
    EXPECT_EQ(Sorted(local.results(collection, kRequestMembers)), want) << old;
    EXPECT_EQ(local.db().collectionCount(collection), static_cast<int>(want.size())) << old;
  }
}

TEST_F(LocalSample, EveryRecordBodyAndLinkReadsBack) {
  for (const auto& [old, r] : records) {
    if (!ids.count(old)) continue;
    SCOPED_TRACE(old);
    Ref<KXObject> object = local.fetch(ids[old]);
    ASSERT_TRUE(object);
    const std::string record = object->recordText().str();
    for (const char* key : {"Type=", "DocumentType=", "Title=", "Keyword=", "MimeType=", "Position=", "TAnchor="})
      EXPECT_EQ(Value(record, key), Value(r.record, key)) << key;
    if (!r.body.empty()) EXPECT_EQ(local.body(object), Bytes(r.body));
    if (Value(r.record, "Type=") != "Document") continue;
    const std::string oldId = old;
    EXPECT_EQ(Sorted(local.results(object, kRequestAnchors)),
              Where([&](const std::string&, const SampleRecord& a) {
                return Value(a.record, "Type=") == "Anchor" && !a.parents.empty() && a.parents.front() == oldId;
              }));
    EXPECT_EQ(Sorted(local.results(object, kRequestReferrers)),
              Where([&](const std::string&, const SampleRecord& a) {
                return Value(a.record, "Type=") == "Anchor" && Value(a.record, "TAnchor=") == "Src" &&
                       Value(a.record, "Dest=") == oldId;
              }));
  }
}

TEST_F(LocalSample, AttributeAndFullTextSearchesFindTheSampleObjects) {
  auto keyword = [&](const char* k) {
    return Where([&](const std::string&, const SampleRecord& r) {
      return Value(r.record, "Type=") == "Document" && r.record.find(std::string("\nKeyword=") + k + "\n") != std::string::npos;
    });
  };
  EXPECT_EQ(Sorted(local.results(nullptr, kRequestKeyQuery, "Keyword=planet")), keyword("planet"));
  EXPECT_EQ(Sorted(local.results(nullptr, kRequestKeyQuery, "(Keyword=planet||Keyword=moon)&&!Keyword=moon")),
            Sorted([&] {
              Ids planets = keyword("planet"), moons = keyword("moon"), out;
              std::set_difference(planets.begin(), planets.end(), moons.begin(), moons.end(), std::back_inserter(out));
              return out;
            }()));
  EXPECT_EQ(local.results(nullptr, kRequestKeyQuery, "Name=earth"), Ids{ids["0x00000123"]});
  // A word of the Earth's page, as the search dialog sends it.
  const Ids found = local.results(nullptr, kRequestFullText, "en:earth");
  EXPECT_NE(std::find(found.begin(), found.end(), ids["0x00000123"]), found.end());
}

}  // namespace
