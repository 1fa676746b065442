// The CAD page: one object per member of a cluster, named by kind and
// number; a plain collection as a show when its style says so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/picture/vrandom_image.h"
#include "pages/support/page_fixture.h"

namespace {

using pages_test::PageTest;

class VCADPageTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    Styles(
        "Image = { Rect pos }\n"
        "RandomImage = { Value delay = 5 }\n"
        "CADPage = { }\n"
        "CADPage Gallery { }\n"
        "CADPage Show { RandomImage coll { } }\n");
  }
  static std::vector<std::string> ChildNames(VPage* page) {
    std::vector<std::string> names;
    for (VObject* c = page->FirstChild(); c; c = c->Next())
      if (!c->GetName().IsEmpty()) names.push_back(c->GetName().str());
    return names;
  }
};

TEST_F(VCADPageTest, EveryPictureOfAClusterIsAnObjectOfItsOwn) {
  VPage* page = Show(objects_.MultiCluster(
      1, {objects_.Image(2), objects_.Document(3, "Picture"), objects_.Image(4)}, "Layout=Gallery()\n"));
  ASSERT_NE(page, nullptr);
  EXPECT_STREQ(page->GetClassName(), "VCADPage");
  EXPECT_EQ(ChildNames(page), (std::vector<std::string>{"image1", "image2"}));
  EXPECT_TRUE(page->ClockRunning());
}

TEST_F(VCADPageTest, ASingleImageIsImageOne) {
  VPage* page = Show(objects_.Image(5, "Layout=Gallery()\n"));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ChildNames(page), std::vector<std::string>{"image1"});
}

TEST_F(VCADPageTest, APlainCollectionIsAShowWhenTheStyleSaysSo) {
  VPage* page = Show(objects_.Collection(6, {objects_.Image(7)}, "Layout=Show()\n"));
  ASSERT_NE(page, nullptr);
  VObject* coll = page->FindByName("coll", false);
  ASSERT_NE(coll, nullptr);
  EXPECT_STREQ(coll->GetClassName(), "VRandomImage");
}

}  // namespace
