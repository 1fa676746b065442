// A writer process killed at random moments: afterwards the database opens,
// and every object whose operation had finished reads back as it was left.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>

#include "core/attr_record.h"
#include "core/store_registry.h"
#include "net/open_store.h"
#include "store/localdb/local_database.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

// Runs random inserts, changes and deletions for ever, reporting each one
// that finished as a line "I id name", "K id keyword" or "D id", and each
// change and deletion as it begins by the same line behind "P ".
[[noreturn]] void writer(const std::string& config, unsigned seed, int out) {
  ClearObjectCache();
  Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
  std::mt19937 rng(seed);
  Ref<KXObject> box = objectForRecord(db->getRecord("box"), Ref<Store>(db.get()));
  std::vector<std::string> mine;
  auto report = [&](const std::string& line) {
    const std::string text = line + "\n";
    if (write(out, text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(3);
  };
  for (int i = 0;; ++i) {
    const unsigned what = mine.empty() ? 0 : rng() % 4;
    if (what <= 1) {
      const std::string name = "w" + std::to_string(seed) + "_" + std::to_string(i);
      Ref<KXObject> doc(createObject(CString("Type=Document\nDocumentType=text\nName=" + name + "\nKeyword=k0\n")));
      doc->setStore(Ref<Store>(db.get()));
      if (!db->insertObject(doc, box, 0)) _exit(4);
      mine.push_back(doc->getObjectIdText().str());
      report("I " + mine.back() + " " + name);
    } else {
      const size_t at = rng() % mine.size();
      Ref<KXObject> doc = objectForRecord(db->getRecord(CString(mine[at])), Ref<Store>(db.get()));
      if (!doc) _exit(5);
      if (what == 2) {
        const std::string keyword = "k" + std::to_string(rng() % 100);
        report("P K " + mine[at] + " " + keyword);
        if (!db->modifyAttributes(doc, "Keyword", CString("Keyword=" + keyword))) _exit(6);
        report("K " + mine[at] + " " + keyword);
      } else {
        report("P D " + mine[at]);
        if (!db->deleteObject(doc)) _exit(7);
        report("D " + mine[at]);
        mine.erase(mine.begin() + static_cast<long>(at));
      }
    }
  }
}

struct Expected {
  std::string name;
  std::string keyword = "k0";
};

TEST(LocalDatabaseCrash, KilledWritersLeaveEveryFinishedObjectIntact) {
  testing_support::TempDir dir;
  const std::string config = KeyedStore::createDataSet(dir.path().string(), "crash", "box");
  InstallObjectFactory();
  {
    ClearObjectCache();
    Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
    Ref<KXObject> box(createObject("Type=Document\nDocumentType=collection\nName=box\n"));
    box->setStore(Ref<Store>(db.get()));
    ASSERT_TRUE(db->insertObject(box, nullptr, 0));
    ClearObjectCache();
  }
  std::map<std::string, Expected> live;
  std::set<std::string> deleted;
  std::mt19937 rng(20261211);
  for (int round = 0; round < 15; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      writer(config, 1000u + static_cast<unsigned>(round), fds[1]);
    }
    close(fds[1]);
    FILE* in = fdopen(fds[0], "r");
    const int wanted = 1 + static_cast<int>(rng() % 40);
    char line[256];
    // The change or deletion begun last and not reported finished.
    std::string pending;
    auto take = [&](const char* text) {
      if (text[0] == 'P') {
        pending = text + 2;
        return;
      }
      pending.clear();
      char kind = 0;
      char id[64] = {0};
      char value[64] = {0};
      if (std::sscanf(text, "%c %63s %63s", &kind, id, value) < 2) return;
      if (kind == 'I') live[id] = Expected{value};
      if (kind == 'K') live[id].keyword = value;
      if (kind == 'D') {
        live.erase(id);
        deleted.insert(id);
      }
    };
    for (int n = 0; n < wanted && std::fgets(line, sizeof line, in); ++n) take(line);
    // Somewhere inside the next operation.
    usleep(static_cast<useconds_t>(rng() % 3000));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
    // Operations reported before the kill finished too.
    while (std::fgets(line, sizeof line, in)) take(line);
    fclose(in);

    ClearObjectCache();
    win::ClearMessageBoxLog();
    Ref<LocalDatabase> db(new LocalDatabase(CString("kxlocal:" + config)));
    ASSERT_EQ(db->getError(), 0);
    // The operation cut short may have taken effect or not.
    char pendingKind = 0;
    char pendingId[64] = {0};
    char pendingValue[64] = {0};
    std::sscanf(pending.c_str(), "%c %63s %63s", &pendingKind, pendingId, pendingValue);
    for (auto it = live.begin(); it != live.end();) {
      const std::string& id = it->first;
      const Expected& want = it->second;
      const std::string record = db->getRecord(CString(id)).str();
      if (id == pendingId && pendingKind == 'D' && record.empty()) {
        deleted.insert(id);
        it = live.erase(it);
        continue;
      }
      EXPECT_NE(record.find("\nName=" + want.name + " @crash\n"), std::string::npos) << id << "\n" << record;
      const std::string keyword = AttrRecord(CString(record)).getAttribute("Keyword=").str();
      if (id == pendingId && pendingKind == 'K' && keyword == pendingValue) it->second.keyword = keyword;
      EXPECT_EQ(keyword, it->second.keyword) << id;
      ++it;
    }
    for (const std::string& id : deleted) EXPECT_EQ(db->getRecord(CString(id)).str(), "") << id;
    EXPECT_FALSE(db->keyedStore()->damaged());
    ClearObjectCache();
    if (HasFailure()) return;
  }
}

}  // namespace
