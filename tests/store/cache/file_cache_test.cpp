// The file cache: what a restart keeps, what limits evict, and the
// downloads behind acquire.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "core/logbook.h"
#include "store/cache/file_cache.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class FileCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logbook::SetLogging(true);
    TheLogbook().SetFileName(tmp_.file("tolm.log").c_str());
    cache_.setDownloader([this](const CString& key, CString& file) {
      ++downloads_[key.str()];
      if (onDownload_) onDownload_(key);
      auto it = bodies_.find(key.str());
      if (it == bodies_.end()) return 0;
      file = tmp_.write("dl" + std::to_string(++serial_) + ".tmp", it->second).c_str();
      return 1;
    });
    cache_.setResolver([](const CString& key) {
      FileCache::DocumentInfo info;
      info.found = true;
      info.title = CString("Title of ") + key;
      return info;
    });
  }
  void TearDown() override { TheLogbook().Close(); }

  std::string Log() {
    TheLogbook().Close();
    return testing_support::TempDir::read(tmp_.file("tolm.log"));
  }

  testing_support::TempDir tmp_;
  FileCache cache_;
  std::map<std::string, std::string> bodies_;
  std::map<std::string, int> downloads_;
  std::function<void(const CString&)> onDownload_;
  int serial_ = 0;
};

TEST(FileCacheTableLine, ParsesOldAndQuotedLines) {
  struct Case {
    const char* line;
    bool ok;
    const char* key;
    const char* file;
    const char* kind;
    const char* label;
  } cases[] = {
      {"korvex://h/0x10,C:\\tmp\\a.txt,temporary (Vienna guide)", true, "korvex://h/0x10", "C:\\tmp\\a.txt",
       "temporary", "Vienna guide"},
      {"k,f,temporary", true, "k", "f", "temporary", ""},
      {"k,f,permanent (Graz (old town))", true, "k", "f", "permanent", "Graz (old town)"},
      {"k,f,permanent (unclosed", true, "k", "f", "permanent", "unclosed"},
      {"\"a,b\",\"c \"\"d\"\", e\",temporary ()", true, "a,b", "c \"d\", e", "temporary", ""},
      {"only one,comma", false, "", "", "", ""},
      {"\"unterminated,f,temporary", false, "", "", "", ""},
      {"", false, "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const auto parsed = ParseFileCacheTableLine(c.line);
    ASSERT_EQ(parsed.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(parsed->key, c.key);
    EXPECT_EQ(parsed->file, c.file);
    EXPECT_EQ(parsed->kind, c.kind);
    EXPECT_EQ(parsed->label, c.label);
  }
}

TEST(FileCacheTableLine, PlainEntriesAreWrittenAsBeforeAndOthersRoundTrip) {
  EXPECT_EQ(*FormatFileCacheTableLine({"k", "f", "temporary", "Linz"}), "k,f,temporary (Linz)");
  const FileCacheTableLine odd[] = {{"a,b", "c,\"d\"", "permanent", "x (y)"},
                                    {" lead", "f", "temporary", ""},
                                    {std::string(3000, 'k'), "f", "temporary", "long"}};
  for (const auto& line : odd) {
    const auto text = FormatFileCacheTableLine(line);
    ASSERT_TRUE(text);
    const auto back = ParseFileCacheTableLine(*text);
    ASSERT_TRUE(back) << *text;
    EXPECT_EQ(back->key, line.key);
    EXPECT_EQ(back->file, line.file);
    EXPECT_EQ(back->kind, line.kind);
    EXPECT_EQ(back->label, line.label);
  }
  EXPECT_FALSE(FormatFileCacheTableLine({"a\nb", "f", "temporary", ""}));
}

TEST_F(FileCacheTest, ARestartKeepsEntriesTheirKindsAndFiles) {
  const std::string longKey = "korvex://host/" + std::string(400, 'x');
  bodies_ = {{"korvex://host/0x1", "first"}, {"a,b", "comma key"}, {longKey, "long key"}};
  for (const auto& [key, body] : bodies_) ASSERT_FALSE(cache_.fetch(key.c_str()).IsEmpty());
  const std::string outside = std::string(ZEMRA_BINARY_DIR) + "/file_cache_test_permanent.txt";
  std::ofstream(outside) << "kept";
  cache_.insert("perm", outside.c_str(), 0, "Styria (south)");
  const std::string table = tmp_.file("tolm.csh");
  cache_.saveTable(table.c_str());
  const CString firstFile = cache_.file("korvex://host/0x1");
  cache_.clear();  // after a save nothing is deleted
  EXPECT_TRUE(fs::exists(firstFile.str()));

  FileCache restarted;
  restarted.setDownloader([](const CString&, CString&) { return 0; });
  restarted.loadTable(table.c_str());
  EXPECT_EQ(restarted.count(false), 4);
  EXPECT_EQ(restarted.count(true), 3);
  for (const auto& [key, body] : bodies_) {
    SCOPED_TRACE(key.substr(0, 40));
    const CString file = restarted.fetch(key.c_str());
    ASSERT_FALSE(file.IsEmpty());
    EXPECT_EQ(testing_support::TempDir::read(file.str()), body);
    EXPECT_TRUE(restarted.isTemporary(key.c_str()));
  }
  EXPECT_EQ(restarted.label("perm"), "Styria (south)");
  EXPECT_FALSE(restarted.isTemporary("perm"));
  restarted.clear();
  EXPECT_TRUE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(firstFile.str()));
  fs::remove(outside);
}

TEST_F(FileCacheTest, TableLinesWhoseFilesAreGoneAreDropped) {
  const std::string kept = tmp_.write("kept.txt", "x");
  cache_.loadTableText("a," + kept + ",temporary (A)\nb," + tmp_.file("gone.txt") +
                       ",temporary (B)\nno commas here\nc," + kept + ",Temporary\n");
  EXPECT_TRUE(cache_.contains("a"));
  EXPECT_FALSE(cache_.contains("b"));
  EXPECT_TRUE(cache_.contains("c"));
  EXPECT_TRUE(cache_.isTemporary("a"));
  EXPECT_FALSE(cache_.isTemporary("c"));  // the kind word is exact
  EXPECT_EQ(cache_.label("a"), "A");
}

TEST_F(FileCacheTest, AFailedDownloadLeavesNoEntry) {
  EXPECT_TRUE(cache_.acquire("missing").IsEmpty());
  EXPECT_FALSE(cache_.contains("missing"));
  EXPECT_EQ(cache_.count(false), 0);
}

TEST_F(FileCacheTest, LimitsEvictTheOldestUnlockedEntries) {
  cache_.setLimits(1000000, 3);
  for (const char* key : {"a", "b", "c", "d", "e"}) bodies_[key] = std::string(100, *key);
  for (const char* key : {"a", "b", "c"}) ASSERT_FALSE(cache_.fetch(key).IsEmpty());
  const CString fileOfB = cache_.file("b");
  cache_.fetch("a");  // a is used again: b is now the oldest
  ASSERT_FALSE(cache_.fetch("d").IsEmpty());
  EXPECT_FALSE(cache_.contains("b"));
  EXPECT_FALSE(fs::exists(fileOfB.str()));
  EXPECT_TRUE(cache_.contains("a") && cache_.contains("c") && cache_.contains("d"));

  // The byte budget: 250 bytes hold two of the 100-byte files.
  cache_.setLimits(250, 3);
  EXPECT_EQ(cache_.count(false), 2);
  EXPECT_FALSE(cache_.contains("c"));
  EXPECT_LE(cache_.totalBytes(), 250);
}

TEST_F(FileCacheTest, ALockedEntryIsNeverEvicted) {
  cache_.setLimits(1000000, 2);
  bodies_ = {{"a", "1"}, {"b", "2"}, {"c", "3"}};
  const CString a = cache_.acquire("a");
  const CString b = cache_.acquire("b");
  ASSERT_FALSE(a.IsEmpty());
  ASSERT_FALSE(b.IsEmpty());
  EXPECT_TRUE(cache_.acquire("c").IsEmpty());
  EXPECT_TRUE(cache_.contains("a") && cache_.contains("b"));
  EXPECT_TRUE(fs::exists(a.str()) && fs::exists(b.str()));
  // A byte budget of 0 evicts what is unlocked only.
  cache_.setLimits(0, 2);
  EXPECT_TRUE(cache_.contains("a") && cache_.contains("b"));
  cache_.unlock("a");
  cache_.setLimits(0, 2);
  EXPECT_FALSE(cache_.contains("a"));
  EXPECT_TRUE(cache_.contains("b"));
  cache_.unlock("b");
}

TEST_F(FileCacheTest, LockedEntriesCountTheirLocks) {
  bodies_ = {{"k", "body"}};
  const CString first = cache_.acquire("k");
  EXPECT_EQ(cache_.acquire("k"), first);
  EXPECT_EQ(cache_.lockCount("k"), 2);
  cache_.unlock("k");
  EXPECT_EQ(cache_.lockCount("k"), 1);
  cache_.unlock("k");
  cache_.unlock("k");
  EXPECT_EQ(cache_.lockCount("k"), 0);
  EXPECT_EQ(downloads_["k"], 1);
  EXPECT_EQ(cache_.label("k"), "Title of k");
}

TEST_F(FileCacheTest, AKeyAskedForDuringItsOwnDownloadIsRefused) {
  bodies_ = {{"k", "body"}};
  CString nested = "unset";
  onDownload_ = [&](const CString& key) { nested = cache_.acquire(key); };
  const CString outer = cache_.acquire("k");
  EXPECT_TRUE(nested.IsEmpty());
  ASSERT_FALSE(outer.IsEmpty());
  EXPECT_EQ(cache_.lockCount("k"), 1);
  EXPECT_NE(Log().find("still being downloaded"), std::string::npos);
  cache_.unlock("k");
}

TEST_F(FileCacheTest, AClearDuringADownloadLeavesNothingBehind) {
  bodies_ = {{"k", "body"}};
  onDownload_ = [&](const CString&) { cache_.clear(); };
  EXPECT_TRUE(cache_.acquire("k").IsEmpty());
  EXPECT_FALSE(cache_.contains("k"));
  EXPECT_EQ(cache_.count(false), 0);
}

TEST_F(FileCacheTest, AMissingOrChangedFileIsAMiss) {
  bodies_ = {{"k", "body"}};
  const CString file = cache_.fetch("k");
  fs::remove(file.str());
  EXPECT_FALSE(cache_.fetch("k").IsEmpty());
  EXPECT_EQ(downloads_["k"], 2);
  std::ofstream(cache_.file("k").str(), std::ios::app) << "grown";
  cache_.fetch("k");
  EXPECT_EQ(downloads_["k"], 3);
  // A permanent entry whose file vanished is fetched again too.
  cache_.insert("p", tmp_.write("p.txt", "p").c_str(), 0, "");
  fs::remove(tmp_.file("p.txt"));
  bodies_["p"] = "fresh";
  EXPECT_EQ(testing_support::TempDir::read(cache_.fetch("p").str()), "fresh");
}

TEST_F(FileCacheTest, SlotLimitsStayWithinBounds) {
  cache_.setLimits(5, 5000);
  EXPECT_EQ(cache_.capacity(), FileCache::kMaxSlots);
  for (int i = 0; i < 7; ++i) cache_.insert(("k" + std::to_string(i)).c_str(), tmp_.write("f", "x").c_str(), 0, "");
  cache_.setLimits(0, 3);
  EXPECT_EQ(cache_.capacity(), 7);  // never below the slots handed out
  EXPECT_EQ(cache_.maxBytes(), 0);
  EXPECT_EQ(cache_.count(false), 7);  // permanent entries weigh nothing
  FileCache fresh;
  fresh.setLimits(0, 0);
  EXPECT_EQ(fresh.capacity(), 1);
}

TEST_F(FileCacheTest, OnlyFilesInTheTemporaryDirectoryAreTheCaches) {
  const std::string outside = std::string(ZEMRA_BINARY_DIR) + "/file_cache_test_outside.txt";
  std::ofstream(outside) << "mine";
  cache_.insert("o", outside.c_str(), 1, "");
  EXPECT_FALSE(cache_.isTemporary("o"));
  cache_.markTemporary("o");
  EXPECT_FALSE(cache_.isTemporary("o"));
  cache_.insert("t", tmp_.write("t.txt", "t").c_str(), 0, "");
  cache_.markTemporary("t");
  EXPECT_TRUE(cache_.isTemporary("t"));
  cache_.clear();
  EXPECT_TRUE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(tmp_.file("t.txt")));
  fs::remove(outside);
}

}  // namespace

namespace {

TEST_F(FileCacheTest, ALocalFileNamedByItsKeyStaysTheUsers) {
  const std::string own = tmp_.write("own.bmp", "picture");
  cache_.setDownloader([](const CString& key, CString& file) {
    file = key;
    return 1;
  });
  EXPECT_EQ(cache_.fetch(own.c_str()), own.c_str());
  EXPECT_FALSE(cache_.isTemporary(own.c_str()));
  cache_.clear();
  EXPECT_TRUE(fs::exists(own));
}

}  // namespace
