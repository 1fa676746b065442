// Seeded random runs of inserts, deletions, moves, membership and attribute
// changes, each step compared with a model of what every query must
// answer, and again after the database is closed and opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/attr_record.h"
#include "support/local_db.h"

namespace {

using localdb_testing::LocalDb;

struct ModelDoc {
  std::string name;
  std::string keyword;
  std::set<std::string> parents;  // collection ids
};

class Model {
 public:
  explicit Model(unsigned seed) : rng_(seed) {}

  void run(int steps) {
    for (int i = 0; i < 3; ++i) {
      Ref<KXObject> c = local_.collection("c" + std::to_string(i), nullptr);
      collections_.push_back(c->getObjectIdText().str());
    }
    for (int step = 0; step < steps; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      act(step);
      check();
      if (step % 15 == 14) {
        local_.reopen();
        check();
      }
      if (::testing::Test::HasFailure()) return;
    }
  }

 private:
  int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  std::string anyCollection() { return collections_[static_cast<size_t>(pick(static_cast<int>(collections_.size())))]; }
  std::string anyDoc() {
    auto it = docs_.begin();
    std::advance(it, pick(static_cast<int>(docs_.size())));
    return it->first;
  }

  void act(int step) {
    const int what = docs_.empty() ? 0 : pick(6);
    if (what == 0) {
      const std::string parent = anyCollection();
      const std::string name = "d" + std::to_string(step);
      const std::string keyword = "k" + std::to_string(pick(3));
      Ref<KXObject> doc = local_.insert("Type=Document\nDocumentType=text\nName=" + name + "\nKeyword=" + keyword + "\n",
                                        local_.fetch(parent));
      docs_[doc->getObjectIdText().str()] = ModelDoc{name, keyword, {parent}};
      return;
    }
    const std::string id = anyDoc();
    ModelDoc& d = docs_[id];
    Ref<KXObject> doc = local_.fetch(id);
    ASSERT_TRUE(doc) << id;
    switch (what) {
      case 1:
        ASSERT_TRUE(local_.db().deleteObject(doc));
        docs_.erase(id);
        break;
      case 2: {  // move
        const std::string from = *d.parents.begin();
        const std::string to = anyCollection();
        if (d.parents.count(to)) return;
        ASSERT_TRUE(local_.db().moveObject(doc, local_.fetch(from), local_.fetch(to)));
        d.parents.erase(from);
        d.parents.insert(to);
        break;
      }
      case 3: {  // add
        const std::string to = anyCollection();
        if (d.parents.count(to)) return;
        ASSERT_TRUE(local_.db().addToCollection(doc, local_.fetch(to)));
        d.parents.insert(to);
        break;
      }
      case 4: {  // remove; from the last collection it deletes
        const std::string from = *d.parents.begin();
        ASSERT_TRUE(local_.db().removeFromCollection(doc, local_.fetch(from)));
        if (d.parents.size() == 1) docs_.erase(id);
        else d.parents.erase(from);
        break;
      }
      default: {
        const std::string keyword = "k" + std::to_string(pick(3));
        ASSERT_TRUE(local_.db().modifyAttributes(doc, "Keyword", CString("Keyword=" + keyword)));
        d.keyword = keyword;
        break;
      }
    }
  }

  static std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  }

  void check() {
    for (const std::string& c : collections_) {
      std::vector<std::string> want;
      for (const auto& [id, d] : docs_)
        if (d.parents.count(c)) want.push_back(id);
      EXPECT_EQ(sorted(local_.results(local_.fetch(c), kRequestMembers)), sorted(want)) << "members of " << c;
    }
    for (int k = 0; k < 3; ++k) {
      std::vector<std::string> want;
      for (const auto& [id, d] : docs_)
        if (d.keyword == "k" + std::to_string(k)) want.push_back(id);
      EXPECT_EQ(sorted(local_.results(nullptr, kRequestKeyQuery, "Keyword=k" + std::to_string(k))), sorted(want));
    }
    for (const auto& [id, d] : docs_) {
      Ref<KXObject> doc = local_.fetch(id);
      ASSERT_TRUE(doc) << id;
      EXPECT_EQ(AttrRecord(doc->recordText()).getAttribute("Keyword="), d.keyword.c_str());
      std::vector<std::string> parents(d.parents.begin(), d.parents.end());
      EXPECT_EQ(sorted(local_.results(doc, kRequestParents)), parents) << id;
      EXPECT_EQ(local_.results(nullptr, kRequestKeyQuery, "Name=" + d.name), std::vector<std::string>{id});
    }
  }

  std::mt19937 rng_;
  LocalDb local_;
  std::vector<std::string> collections_;
  std::map<std::string, ModelDoc> docs_;
};

TEST(LocalDatabaseModel, RandomRunsAgreeWithTheModel) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Model(seed).run(60);
    if (HasFailure()) return;
  }
}

}  // namespace
