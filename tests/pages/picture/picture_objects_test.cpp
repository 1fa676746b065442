// Server pictures, shows of a collection's pictures and clusters of tiles.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "core/object_utils.h"
#include "core/objects/support/fake_store.h"
#include "framework/user_break.h"
#include "pages/load_target.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/part_makers.h"
#include "pages/picture/support/picture_fixture.h"
#include "pages/picture/vcluster.h"
#include "pages/picture/vimage.h"
#include "pages/picture/vkx_image.h"
#include "pages/picture/vrandom_image.h"
#include "store/cache/file_cache.h"
#include "pages/support/test_objects.h"
#include "support/packed_dib.h"
#include "pages/page/vpage.h"

namespace pages_test {
namespace {

// A button as the cluster's paging needs one.
class TestButton : public VObject {
 public:
  TestButton(int l, int t, int r, int b, const char* caption) : VObject(l, t, r, b), caption(caption) {}
  std::string caption;
};

VObject* MakeTestButton(int l, int t, int r, int b, const char* caption) { return new TestButton(l, t, r, b, caption); }

int ChildrenOfClass(VGroup* group, const char* name) {
  int n = 0;
  for (VObject* c = group->FirstChild(); c; c = c->Next()) n += std::string(c->GetClassName()) == name;
  return n;
}

class PictureObjectsTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    objects_.Install();
    previousMakers_ = SetPartMakers(PartMakers{nullptr, &MakeTestButton});
  }
  void TearDown() override {
    SetPartMakers(previousMakers_);
    objects_.Remove();
    SetLongOperationFlag(0);
    PictureTest::TearDown();
  }
  // An image document whose picture the file cache serves.
  Ref<KXObject> ServedImage(int id) {
    const std::string goid = "GOid=pic" + std::to_string(id) + "\n";
    Ref<KXObject> image = objects_.Image(id, goid.c_str());
    const std::string file = WriteBmp("pic" + std::to_string(id) + ".bmp",
                                      testing_support::PackDib(8, 8, 24, {}, false, [id](int, int) {
                                        return static_cast<std::uint32_t>(id * 0x010203);
                                      }));
    Serve(objectUrl(image).str(), file);
    return image;
  }
  TestObjects objects_;
  PartMakers previousMakers_;
};

TEST_F(PictureObjectsTest, AServerPictureIsShownAtOnceWithoutFetching) {
  const Ref<KXObject> image = ServedImage(1);
  VKxImage object(0, 0, 100, 100, image, 0);
  object.Initialize();
  ASSERT_NE(object.Image(), nullptr);
  EXPECT_EQ(object.Image()->FileName(), objectUrl(image));
  EXPECT_FALSE(object.Image()->IsEmpty());
  EXPECT_TRUE(pictureShell_.loads.empty());
}

TEST_F(PictureObjectsTest, AFetchedPictureIsShownWhenItsFileIsDelivered) {
  const Ref<KXObject> image = ServedImage(2);
  auto* parent = new VGroup(0, 0, 200, 200);
  auto* object = new VKxImage(0, 0, 100, 100, image, 1);
  parent->AppendChild(object);
  parent->Initialize();
  ASSERT_EQ(pictureShell_.loads.size(), 1u);
  EXPECT_TRUE(object->Image()->IsEmpty());
  LoadTarget* target = pictureShell_.loads[0];
  EXPECT_EQ(target, object->PendingLoad());
  target->Deliver(served_[objectUrl(image).str()].c_str(), 0);
  EXPECT_FALSE(object->Image()->IsEmpty());
  EXPECT_TRUE(TheFileCache().contains(objectUrl(image)));
  delete parent;
}

TEST_F(PictureObjectsTest, ANewObjectReplacesThePictureAndCancelsTheLoad) {
  auto* object = new VKxImage(0, 0, 100, 100, ServedImage(3), 1);
  object->Initialize();
  ASSERT_EQ(pictureShell_.loads.size(), 1u);
  LoadTarget* first = pictureShell_.loads[0];
  object->SetObject(ServedImage(4));
  EXPECT_EQ(ChildrenOfClass(object, "VImage"), 1);
  ASSERT_EQ(pictureShell_.cancelled.size(), 1u);
  EXPECT_EQ(pictureShell_.cancelled[0], first);
  ASSERT_EQ(pictureShell_.loads.size(), 2u);
  LoadTarget* second = pictureShell_.loads[1];
  delete object;
  ASSERT_EQ(pictureShell_.cancelled.size(), 2u);
  EXPECT_EQ(pictureShell_.cancelled[1], second);
}

TEST_F(PictureObjectsTest, OtherObjectsGetNoPicture) {
  VKxImage object(0, 0, 100, 100, objects_.Text(5), 1);
  object.Initialize();
  EXPECT_EQ(object.Image(), nullptr);
  EXPECT_TRUE(pictureShell_.loads.empty());
}

// A picture whose link anchors the server gives out of the order of their
// places: the anchors lie where their positions say, the later place is
// drawn over the earlier one, and a click follows the anchor under it.
TEST_F(PictureObjectsTest, AClickFollowsTheAnchorPlacedUnderIt) {
  Ref<FakeStore> server(new FakeStore("fake://pictures/"));
  const Ref<KXObject> image = objects_.Image(6, "GOid=pic6\n");
  image->setStore(Ref<Store>(server));
  Serve(objectUrl(image).str(), WriteBmp("pic6.bmp", testing_support::PackDib(8, 8, 24, {}, false,
                                                                                [](int, int) { return 0x808080u; })));
  // Fractions of the picture, y from its bottom: the top left quarter, and
  // a square in the middle that overlaps it.
  const Ref<KXObject> middle =
      MakeObject(Record(0x61, "Type=Anchor\nTAnchor=Src\nDest=0x70\nPosition=RECT 0.25 0.25 0.75 0.75\n"),
                 Ref<Store>(server));
  const Ref<KXObject> corner =
      MakeObject(Record(0x62, "Type=Anchor\nTAnchor=Src\nDest=0x71\nPosition=RECT 0 0.5 0.5 1\n"),
                 Ref<Store>(server));
  server->setResults(kRequestAnchors, image->getIdentifier(), {middle, corner});

  VKxImage object(0, 0, 100, 100, image, 0);
  object.Initialize();
  ASSERT_NE(object.Image(), nullptr);
  ASSERT_FALSE(object.Image()->IsEmpty());
  EXPECT_EQ(object.Image()->AnchorCount(), 2);
  struct Click {
    int x, y;
    const char* followed;  // null: none
  };
  const Click clicks[] = {
      {10, 10, "0x00000062"},  // the corner alone
      {40, 40, "0x00000061"},  // both: the later place lies on top
      {60, 60, "0x00000061"},  // the middle alone
      {90, 90, nullptr},       // no anchor there
      {90, 10, nullptr},
  };
  for (const Click& c : clicks) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    pictureShell_.actions.clear();
    object.Image()->OnMouseUp(c.x, c.y);
    if (!c.followed) {
      EXPECT_TRUE(pictureShell_.actions.empty());
      continue;
    }
    ASSERT_EQ(pictureShell_.actions.size(), 1u);
    EXPECT_EQ(pictureShell_.actions[0]->getObjectIdText(), c.followed);
  }
  server->clearTables();
}

class RandomImageTest : public PictureObjectsTest {
 protected:
  std::unique_ptr<VRandomImage> Show(const std::vector<Ref<KXObject>>& members, bool random, bool loop,
                                     const char* destination) {
    auto show = std::make_unique<VRandomImage>(0, 0, 100, 100, objects_.Collection(50, members));
    show->SetBoolAttribute("random", random);
    show->SetBoolAttribute("loop", loop);
    show->SetStringAttribute("destination", destination);
    show->Initialize();
    return show;
  }
};

TEST_F(RandomImageTest, CollectionOrderEndsAtTheDestinationOrLoops) {
  for (bool loop : {false, true}) {
    SCOPED_TRACE(loop);
    pictureShell_.lines.clear();
    auto show = Show({ServedImage(1), ServedImage(2), ServedImage(3)}, false, loop, "home");
    show->Start();
    EXPECT_EQ(show->Current(), 0);
    show->Step();
    show->Step();
    EXPECT_EQ(show->Current(), 2);
    ASSERT_NE(show->Image(), nullptr);
    EXPECT_FALSE(show->Image()->IsEmpty());
    show->Step();
    if (loop) {
      EXPECT_EQ(show->Current(), 0);
      EXPECT_TRUE(show->Running());
      EXPECT_TRUE(pictureShell_.lines.empty());
    } else {
      EXPECT_FALSE(show->Running());
      EXPECT_EQ(pictureShell_.lines, std::vector<std::string>{"goto home"});
    }
  }
}

TEST_F(RandomImageTest, RandomOrderNeverShowsAPictureTwiceInARow) {
  auto show = Show({ServedImage(1), ServedImage(2)}, true, true, "");
  show->Start();
  int last = show->Current();
  for (int i = 0; i < 20; ++i) {
    show->Step();
    EXPECT_NE(show->Current(), last);
    last = show->Current();
  }
}

TEST_F(RandomImageTest, AFinishedShowStopsAskingEvenWithoutADestination) {
  auto show = Show({objects_.Text(7), objects_.Text(8)}, false, false, "");
  show->Start();
  EXPECT_EQ(show->Image(), nullptr);  // no image documents: no picture
  show->Step();
  EXPECT_EQ(show->Current(), 1);
  show->Step();
  EXPECT_FALSE(show->Running());
  EXPECT_TRUE(pictureShell_.lines.empty());
  // A click with no destination does nothing.
  show->OnMouseDown(1, 1);
  EXPECT_TRUE(pictureShell_.lines.empty());
}

TEST_F(RandomImageTest, NothingToShowAndBusyTimesAreHandled) {
  // Not a collection: no members at all.
  VRandomImage none(0, 0, 10, 10, objects_.Text(9));
  none.Initialize();
  EXPECT_EQ(none.Count(), 0);
  none.Start();
  EXPECT_FALSE(none.Running());

  static DWORD now = 1000;
  SetPageTickSource([] { return now; });
  auto show = Show({ServedImage(1), ServedImage(2)}, false, true, "");
  show->Start();
  now += 60000;
  SetLongOperationFlag(1);
  show->OnIdle();
  EXPECT_EQ(show->Current(), 0);
  SetLongOperationFlag(0);
  show->OnIdle();
  EXPECT_EQ(show->Current(), 1);
}

TEST_F(RandomImageTest, ThePageSleepsUntilTheNextPictureIsDue) {
  static DWORD now = 5000;
  SetPageTickSource([] { return now; });
  auto show = Show({ServedImage(1), ServedImage(2)}, false, true, "");
  show->SetNumberAttribute("delay", 3);
  EXPECT_EQ(show->IdleWait(), VObject::kNoIdleWait);  // not started
  show->Start();
  EXPECT_EQ(show->IdleWait(), 3000u);
  now += 1200;
  show->OnIdle();
  EXPECT_EQ(show->Current(), 0);
  EXPECT_EQ(show->IdleWait(), 1800u);
  now += 1800;
  EXPECT_EQ(show->IdleWait(), 0u);
  show->OnIdle();
  EXPECT_EQ(show->Current(), 1);
  EXPECT_EQ(show->IdleWait(), 3000u);
  // Late by more than a period: due at once, not a wrapped-round wait.
  now += 7000;
  EXPECT_EQ(show->IdleWait(), 0u);
  show->Stop();
  EXPECT_EQ(show->IdleWait(), VObject::kNoIdleWait);
}

class ClusterTest : public PictureObjectsTest {
 protected:
  std::vector<Ref<KXObject>> Images(int n, int firstId) {
    std::vector<Ref<KXObject>> out;
    // With global ids, as a server gives them: the tiles' pictures need
    // an address to be loaded by.
    for (int i = 0; i < n; ++i) {
      char global[48];
      std::snprintf(global, sizeof global, "GOid=0x7f000001 0x%08x\n", static_cast<unsigned>(firstId + i));
      out.push_back(objects_.Image(firstId + i, global));
    }
    return out;
  }
  // The object ids of the shown tiles' documents.
  static std::vector<std::int32_t> Shown(VCluster& cluster) {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < cluster.TileCount(); ++i)
      if (auto* tile = dynamic_cast<VKxImage*>(cluster.Tile(i))) ids.push_back(tile->Document()->getObjectId());
    return ids;
  }
};

TEST_F(ClusterTest, PagingShowsTheMembersOfEachPage) {
  VCluster cluster(Area(0, 0, 640, 160), objects_.Cluster(100, Images(12, 1)));
  cluster.Initialize();
  const int tiles = cluster.TileCount();
  ASSERT_GT(tiles, 1);
  ASSERT_LT(tiles, 12);
  EXPECT_EQ(cluster.MemberCount(), 12);
  ASSERT_NE(cluster.NextButton(), nullptr);
  // The buttons are children, so they are drawn and clicked.
  EXPECT_EQ(cluster.NextButton()->Parent(), &cluster);
  EXPECT_FALSE(cluster.PrevEnabled());
  EXPECT_TRUE(cluster.NextEnabled());
  EXPECT_TRUE(cluster.PrevButton()->Has(VObject::kHidden));
  EXPECT_FALSE(cluster.NextButton()->Has(VObject::kHidden));
  std::set<std::int32_t> seen;
  int pages = 0;
  while (true) {
    for (std::int32_t id : Shown(cluster)) EXPECT_TRUE(seen.insert(id).second);
    ++pages;
    if (!cluster.NextEnabled()) break;
    cluster.Notify(1, cluster.NextButton());
    EXPECT_TRUE(cluster.PrevEnabled());
  }
  EXPECT_EQ(seen.size(), 12u);
  EXPECT_EQ(pages, (12 + tiles - 1) / tiles);
  EXPECT_TRUE(cluster.NextButton()->Has(VObject::kHidden));
  cluster.Notify(1, cluster.PrevButton());
  EXPECT_EQ(cluster.First(), (pages - 2) * tiles);
  EXPECT_EQ(ChildrenOfClass(&cluster, "VKxImage"), tiles);
}

TEST_F(ClusterTest, MembersThatFitNeedNoButtonsAndAreNamedByKind) {
  VCluster cluster(Area(0, 0, 640, 480), objects_.MultiCluster(101, {objects_.Image(1), objects_.Image(2),
                                                                      objects_.Document(3, "Picture")}));
  cluster.Initialize();
  EXPECT_EQ(cluster.PrevButton(), nullptr);
  EXPECT_EQ(cluster.NextButton(), nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < cluster.TileCount(); ++i)
    if (cluster.Tile(i)) names.push_back(cluster.Tile(i)->GetName().str());
  EXPECT_EQ(names, (std::vector<std::string>{"image1", "image2"}));
}

TEST_F(ClusterTest, SetFirstClampsAndInvalidatingNeverNavigates) {
  VCluster cluster(Area(0, 0, 640, 160), objects_.Cluster(102, Images(12, 1)));
  cluster.Initialize();
  cluster.SetFirst(-3);
  EXPECT_EQ(cluster.First(), 0);
  cluster.SetFirst(40);
  EXPECT_EQ(cluster.First(), 11);
  cluster.Invalidate();
  EXPECT_TRUE(pictureShell_.lines.empty());
  EXPECT_TRUE(pictureShell_.loads.size() > 0);  // the tiles ask for their pictures
}

TEST_F(ClusterTest, AnEmptyOrPlainCollectionShowsNoTiles) {
  for (const Ref<KXObject>& shown : {objects_.Cluster(103, {}), objects_.Collection(104, {objects_.Image(1)}),
                                      Ref<KXObject>()}) {
    VCluster cluster(Area(0, 0, 640, 480), shown);
    cluster.Initialize();
    EXPECT_EQ(cluster.TileCount(), 0);
    EXPECT_EQ(cluster.MemberCount(), 0);
  }
}

}  // namespace
}  // namespace pages_test
