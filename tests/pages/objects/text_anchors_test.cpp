// Inline requests of text documents: which anchors are loaded into the
// waiting text object, which are written to the logbook and not served,
// and the file source the request is named by.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/store_registry.h"
#include "pages/load_target.h"
#include "pages/objects/text_anchors.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_objects.h"

namespace {

using pages_test::PagesTest;
using Lines = std::vector<std::string>;

// A text object's target, waiting for its file.
class WaitingText : public LoadTarget {
 public:
  WaitingText() : LoadTarget(nullptr) {}
};

// The shell's load queue, as the requests reach it.
class LoadingShell : public pages_test::TestShell {
 public:
  void PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target,
                const char* name) override {
    loads.push_back({kind, document, target, name ? name : ""});
  }
  struct Load {
    LoadKind kind;
    Ref<KXObject> document;
    LoadTarget* target;
    std::string name;
  };
  std::vector<Load> loads;
};

class TextAnchorsTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    objects_.Install();
    SetShellLink(&loading_);
    store_ = Ref<Store>(new Store("korvex://pages.test/"));
  }
  void TearDown() override {
    SetShellLink(&shell_);
    store_ = nullptr;
    objects_.Remove();
    PagesTest::TearDown();
  }
  // A server object in the object cache; its id text.
  std::string Cached(const char* record) {
    const Ref<KXObject> o = objectForRecord(record, store_);
    EXPECT_TRUE(o);
    return o ? o->getIdentifier().str() : std::string();
  }
  pages_test::TestObjects objects_;
  LoadingShell loading_;
  Ref<Store> store_;
};

TEST_F(TextAnchorsTest, InlineAnchorsAreQueuedAndOthersRefused) {
  const std::string inlineAnchor =
      Cached("ObjectID=0x00000042\nType=Anchor\nTAnchor=Src\nLinkType=inline\n");
  const std::string plainLink = Cached("ObjectID=0x00000043\nType=Anchor\nTAnchor=Src\nLinkType=Link\n");
  const std::string picture = Cached("ObjectID=0x00000044\nGOid=0x7f000001 0x00000044\nType=Document\nDocumentType=Image\n");
  struct Case {
    std::string record;
    bool queued;
    Lines log;
  };
  const Case cases[] = {
      {"ObjectID=" + inlineAnchor + "\n", true, {}},
      {"ObjectID=" + plainLink + "\n", false, {"text anchor type LINK ignored"}},
      // A server object that is no anchor.
      {"ObjectID=" + picture + "\n", false, {"text request korvex:"}},
      // An anchor of the text itself: its destination, whatever it is.
      {"ObjectID=-7\nDest=\nHint=URL:" + picture + "\n", true, {}},
      {"ObjectID=-7\nDest=url:" + picture + "\n", true, {}},
      // Nothing that can be fetched: refused without a word.
      {"Title=nothing\n", false, {}},
      {"ObjectID=-7\nDest=\nHint=\n", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    ClearLog();
    loading_.loads.clear();
    WaitingText target;
    FileSource source("C:\\TEMP\\doc0001.htm");
    EXPECT_EQ(ServeTextAnchor(c.record.c_str(), &source, &target), c.queued);
    if (c.queued) {
      ASSERT_EQ(loading_.loads.size(), 1u);
      EXPECT_EQ(loading_.loads[0].kind, LoadKind::Inline);
      EXPECT_EQ(loading_.loads[0].target, &target);
      EXPECT_EQ(loading_.loads[0].name, "C:\\TEMP\\doc0001.htm");
    } else {
      EXPECT_TRUE(loading_.loads.empty());
    }
    const Lines log = LogLines();
    ASSERT_EQ(log.size(), c.log.size());
    for (size_t i = 0; i < log.size(); ++i) EXPECT_NE(log[i].find(c.log[i]), std::string::npos) << log[i];
  }
}

TEST_F(TextAnchorsTest, AFileSourceCloneOutlivesItsOriginalAndTheFetcherAsksTheShell) {
  auto original = std::make_unique<FileSource>("doc0002.ktf");
  std::unique_ptr<FileSource> copy(original->Clone());
  original.reset();
  EXPECT_EQ(copy->name, "doc0002.ktf");

  WaitingText target;
  TextAnchorFetcher fetcher;
  fetcher.start("ObjectID=1\n", copy.get(), &target);
  fetcher.cancel(&target);
  EXPECT_EQ(loading_.anchorRecords, Lines{"ObjectID=1\n"});
  EXPECT_EQ(loading_.anchorSources, std::vector<FileSource*>{copy.get()});
  EXPECT_EQ(loading_.anchorTargets, std::vector<LoadTarget*>{&target});
}

}  // namespace
