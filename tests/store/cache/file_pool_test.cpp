// The file pool: each name fetched once, at most `limit` fetches at a time,
// loaded pictures kept by name, and requests withdrawn by requester and tag
// so that a fetch that outlives its document delivers nowhere.
#include "store/cache/file_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

// Pictures that count themselves; "loaded" from any bytes but "junk".
struct CountedPicture : NamedObject {
  explicit CountedPicture(int* alive) : alive_(alive) { ++*alive_; }
  ~CountedPicture() override { --*alive_; }
  std::string bytes;
  int* alive_;
};

struct Pictures : PoolPictures {
  NamedObject* NewPending() override {
    auto* p = new CountedPicture(&alive);
    p->pending = 1;
    p->acquire();
    return p;
  }
  bool Load(NamedObject* picture, const void* data, LONG size) override {
    std::string b(static_cast<const char*>(data), static_cast<size_t>(size));
    if (b == "junk") return false;
    static_cast<CountedPicture*>(picture)->bytes = b;
    return true;
  }
  int alive = 0;
};

// Starts are recorded; the test delivers when it likes.
struct Fetcher : PictureFetcher {
  ~Fetcher() override {
    for (PoolEntry* e : started) e->release();
  }
  void start(const CString& text, const RequestContext*, PoolEntry* entry) override {
    entry->acquire();
    started.push_back(entry);
    texts.emplace_back(text.c_str());
  }
  void cancel(PoolEntry*) override { ++cancels; }
  PoolEntry* Started(const std::string& name) {
    for (PoolEntry* e : started)
      if (name == e->name().c_str()) return e;
    return nullptr;
  }
  std::vector<PoolEntry*> started;
  std::vector<std::string> texts;
  int cancels = 0;
};

struct Requester : PictureRequester {
  int arrived(NamedObject*, FilePool*) override {
    ++arrivals;
    return 0;
  }
  void failed(NamedObject*, FilePool*) override { ++failures; }
  void allDone(FilePool*) override { ++done; }
  int arrivals = 0, failures = 0, done = 0;
};

struct Context : RequestContext {
  RequestContext* Clone() const override { return new Context; }
};

class FilePoolTest : public ::testing::Test {
 protected:
  NamedObject* Ask(const std::string& name, Requester& r, DWORD tag) {
    return pool_->request(name.c_str(), ("ref:" + name).c_str(), &context_, &r, tag);
  }
  void Deliver(const std::string& name, const std::string& bytes) {
    PoolEntry* e = fetcher_.Started(name);
    ASSERT_NE(e, nullptr) << name;
    e->dataArrived(bytes.data(), static_cast<LONG>(bytes.size()), 0);
  }

  Pictures pictures_;
  Fetcher fetcher_;
  Context context_;
  std::unique_ptr<FilePool> pool_ = std::make_unique<FilePool>(&fetcher_, &pictures_, false, 2);
};

TEST_F(FilePoolTest, EachNameIsFetchedOnceAndKeptWhenLoaded) {
  Requester a, b;
  NamedObject* first = Ask("harbour.gif", a, 1);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->pending, 1);
  // A second request while the fetch runs: the same picture, no new fetch.
  EXPECT_EQ(Ask("harbour.gif", b, 2), first);
  EXPECT_EQ(Ask("harbour.gif", b, 2), first);
  EXPECT_EQ(fetcher_.texts, (std::vector<std::string>{"ref:harbour.gif"}));
  Deliver("harbour.gif", "GIF89a");
  EXPECT_EQ(first->pending, 0);
  EXPECT_EQ(static_cast<CountedPicture*>(first)->bytes, "GIF89a");
  EXPECT_EQ(a.arrivals, 1);
  EXPECT_EQ(b.arrivals, 1);  // registered once for its tag
  // Loaded: answered from memory.
  EXPECT_EQ(Ask("harbour.gif", a, 3), first);
  EXPECT_EQ(fetcher_.texts.size(), 1u);
  // An empty name asks for nothing.
  EXPECT_EQ(Ask("", a, 1), nullptr);
  EXPECT_EQ(fetcher_.texts.size(), 1u);
}

TEST_F(FilePoolTest, FetchesBeyondTheLimitWaitAndStartWhenOneEnds) {
  Requester r;
  Ask("a", r, 1);
  Ask("b", r, 1);
  NamedObject* c = Ask("c", r, 1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(fetcher_.texts, (std::vector<std::string>{"ref:a", "ref:b"}));
  Deliver("b", "bytes");
  EXPECT_EQ(fetcher_.texts, (std::vector<std::string>{"ref:a", "ref:b", "ref:c"}));
  // A failed fetch also makes room.
  Ask("d", r, 1);
  fetcher_.Started("a")->load(nullptr, 1);
  EXPECT_EQ(fetcher_.texts.back(), "ref:d");
  EXPECT_EQ(r.failures, 1);
}

TEST_F(FilePoolTest, ANegativeLimitNeverQueues) {
  FilePool unlimited(&fetcher_, &pictures_, false, -1);
  Requester r;
  for (int i = 0; i < 30; ++i) unlimited.request(CString(std::to_string(i).c_str()), "x", &context_, &r, 1);
  EXPECT_EQ(fetcher_.texts.size(), 30u);
}

TEST_F(FilePoolTest, ACancelledBuildGetsNothingWhileOthersStillDo) {
  Requester shared;
  Ask("mill.bmp", shared, 7);   // the document that goes away
  Ask("mill.bmp", shared, 8);   // another one that stays
  Ask("quay.bmp", shared, 7);
  Ask("dock.bmp", shared, 7);   // waits: the limit is 2
  pool_->cancel(&shared, 7);
  // quay.bmp and dock.bmp had no other requester: both withdrawn; quay's
  // late delivery goes nowhere and dock's start never happens.
  EXPECT_EQ(fetcher_.cancels, 2);
  Deliver("quay.bmp", "late");
  EXPECT_EQ(shared.arrivals, 0);
  EXPECT_EQ(std::find(fetcher_.texts.begin(), fetcher_.texts.end(), "ref:dock.bmp"), fetcher_.texts.end());
  // mill.bmp goes on for the other document.
  Deliver("mill.bmp", "mill");
  EXPECT_EQ(shared.arrivals, 1);
  // The name whose fetch was withdrawn is fetched again when asked.
  Ask("quay.bmp", shared, 9);
  EXPECT_EQ(std::count(fetcher_.texts.begin(), fetcher_.texts.end(), "ref:quay.bmp"), 2);
}

TEST_F(FilePoolTest, ACompletionWithoutRequestersOrWithBadBytesLoadsNothing) {
  Requester r;
  NamedObject* p = Ask("gone.gif", r, 1);
  NamedObject* q = Ask("junk.gif", r, 2);
  p->acquire();  // an atom keeps it
  q->acquire();
  fetcher_.Started("gone.gif")->removeRequester(&r, 1);
  Deliver("gone.gif", "data");
  EXPECT_EQ(p->pending, 1);
  Deliver("junk.gif", "junk");
  EXPECT_EQ(q->pending, 1);
  EXPECT_EQ(r.failures, 1);
  // Neither name was entered: both are fetched again.
  Ask("gone.gif", r, 3);
  Ask("junk.gif", r, 3);
  EXPECT_EQ(fetcher_.texts.size(), 4u);
  p->release();
  q->release();
}

TEST_F(FilePoolTest, AFileArrivesByNameAndAnUnreadableOneFails) {
  testing_support::TempDir dir;
  std::string file = dir.write("tower.bmp", "BMdata");
  Requester r;
  NamedObject* p = Ask("tower.bmp", r, 1);
  EXPECT_EQ(fetcher_.Started("tower.bmp")->load(file.c_str(), 0), 0);
  EXPECT_EQ(static_cast<CountedPicture*>(p)->bytes, "BMdata");
  Ask("lost.bmp", r, 1);
  EXPECT_EQ(fetcher_.Started("lost.bmp")->load(dir.file("missing.bmp").c_str(), 0), 1);
  EXPECT_EQ(r.failures, 1);
}

TEST_F(FilePoolTest, AFetchThatEndsAtOnceStillHandsOutALivePicture) {
  // A fetcher that answers inside start, before the request returns.
  struct AtOnce : PictureFetcher {
    void start(const CString&, const RequestContext*, PoolEntry* entry) override { entry->load(nullptr, 1); }
    void cancel(PoolEntry*) override {}
  } atOnce;
  FilePool pool(&atOnce, &pictures_, false, 10);
  Requester r;
  NamedObject* p = pool.request("x.gif", "x", &context_, &r, 1);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->pending, 1);  // still readable: kept by the pool
  EXPECT_EQ(r.failures, 1);
}

TEST_F(FilePoolTest, DestroyingThePoolFreesEveryPicture) {
  {
    Requester r;
    Ask("a", r, 1);
    Ask("b", r, 1);
    Deliver("a", "A");
    Ask("c", r, 1);
    pool_->drop("b");
    pool_.reset();
  }
  // The fetcher still holds its entries; they go with it.
  for (PoolEntry* e : fetcher_.started) e->release();
  fetcher_.started.clear();
  EXPECT_EQ(pictures_.alive, 0);
}

}  // namespace
