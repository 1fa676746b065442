// The default page for a collection, a cluster and a document, drawn
// headless into the page parent: the page covers the page area with the
// page background wherever its members leave it open, and the page runs
// the timer its members see.
#include <gtest/gtest.h>

#include <string>

#include "display/headless.h"
#include "pages/page/page_switch.h"
#include "pages/page/vdefpage.h"
#include "pages/support/page_fixture.h"

namespace {

using pages_test::PageTest;

class VDefPageTest : public PageTest {};

TEST_F(VDefPageTest, DefaultPagesForCollectionsClustersAndDocuments) {
  struct Case {
    const char* what;
    Ref<KXObject> object;
  };
  const Case cases[] = {
      {"collection", objects_.Collection(1, {objects_.Image(2), objects_.Text(3)})},
      {"multicluster", objects_.MultiCluster(4, {objects_.Image(5)})},
      {"cluster", objects_.Cluster(6, {objects_.Image(7), objects_.Sound(8)})},
      {"image", objects_.Image(9)},
      {"text", objects_.Text(10)},
  };
  for (const Case& c : cases) {
    VPage* page = Show(c.object);
    ASSERT_NE(page, nullptr) << c.what;
    EXPECT_STREQ(page->GetClassName(), "VDefPage");
    EXPECT_EQ(page->Object(), c.object) << c.what;
    EXPECT_EQ(page->HistoryEntry(), c.object) << c.what;
    // The members see the page's 100 ms timer.
    EXPECT_TRUE(KillTimer(page->GetWindow()->GetSafeHwnd(), VDefPage::kMemberTimer)) << c.what;
    const auto shown = win::headless::CaptureWindow(page->GetWindow()->GetSafeHwnd());
    ASSERT_TRUE(shown) << c.what;
    ASSERT_EQ(shown->width(), kPageWidth);
    ASSERT_EQ(shown->height(), kPageHeight);
    int other = 0;
    for (int y = 0; y < shown->height(); ++y)
      for (int x = 0; x < shown->width(); ++x) other += shown->At(x, y) != 0xC0C0C0u;
    // A text document's page shows its text object's window, the cluster
    // its sound's play and stop buttons; the others show nothing of their
    // own here.
    if (std::string(c.what) == "text" || std::string(c.what) == "cluster")
      EXPECT_GT(other, 0);
    else
      EXPECT_EQ(other, 0) << c.what;
  }
}

TEST_F(VDefPageTest, ACollectionHeadIsTheLayoutSource) {
  const Ref<KXObject> head = objects_.Text(2, "PresentationHints=FullCollectionHead\n");
  const Ref<KXObject> coll = objects_.Collection(1, {head});
  VPage* page = Show(coll);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Object(), coll);
  EXPECT_EQ(page->LayoutSource(), head);
}

}  // namespace
