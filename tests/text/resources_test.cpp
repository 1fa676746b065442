#include "text/resources/dingbat_table.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "text/support/test_listener.h"

namespace {

using testing_support::TempDir;

class DingbatTableTest : public ::testing::Test {
 protected:
  DingbatTableTest() {
    dir.write("Dingbat/disc.bmp", "round");
    dir.write("Dingbat/square.bmp", "box");
    dir.write("Dingbat/broken.bmp", "bad");
    list = dir.write("Dingbat/Dingbat.dat",
                     "# bullets\nDISC = disc.bmp\nsquare,square.bmp\nBroken broken.bmp\nGhost missing.bmp\n"
                     "Lonely\n");
  }
  std::string name(NamedObject* p) { return p ? static_cast<TestPicture*>(p)->name : "null"; }
  TempDir dir;
  std::string list;
  InstalledPictures pictures;
};

TEST_F(DingbatTableTest, ReadsPairsAndDropsAnOddName) {
  DingbatTable table(CString(list.c_str()));
  ASSERT_EQ(table.Entries().count(), 4);
  auto* first = static_cast<DingbatEntry*>(table.Entries().first());
  EXPECT_EQ(first->Name(), "DISC");
  EXPECT_EQ(first->File(), table.Directory() + "disc.bmp");
  EXPECT_EQ(table.FindEntry("disc"), first);
  EXPECT_EQ(table.FindEntry("DISC2"), first);  // a numbered variant falls back
  EXPECT_EQ(table.FindEntry("nothing"), nullptr);
  EXPECT_EQ(table.FindEntry(""), nullptr);
  EXPECT_EQ(table.FindEntry("LONELY"), nullptr);
}

TEST_F(DingbatTableTest, PicturesAreReadOnceWhateverTheCase) {
  DingbatTable table(CString(list.c_str()));
  EXPECT_EQ(name(table.GetPicture("disc")), "file:round");
  EXPECT_EQ(name(table.GetPicture("DISC")), "file:round");
  EXPECT_EQ(name(table.GetPicture("Disc3")), "file:round");
  EXPECT_EQ(table.FilesRead(), 1);
  EXPECT_EQ(table.CachedCount(), 1);
}

TEST_F(DingbatTableTest, AnythingUnreadableGivesTheDefaultPicture) {
  DingbatTable table(CString(list.c_str()));
  EXPECT_EQ(name(table.GetPicture("nothing")), "default");
  EXPECT_EQ(name(table.GetPicture("ghost")), "default");   // listed, no file
  EXPECT_EQ(name(table.GetPicture("broken")), "default");  // a file that is no picture
  DingbatTable missing(CString((dir.file("none") + "/Dingbat.dat").c_str()));
  EXPECT_EQ(missing.Entries().count(), 0);
  EXPECT_EQ(name(missing.GetPicture("disc")), "default");
}

TEST_F(DingbatTableTest, BackslashPathsAndTheDefaultName) {
  std::string windows = list;
  for (char& c : windows)
    if (c == '/') c = '\\';
  DingbatTable table(CString(windows.c_str()));
  EXPECT_EQ(table.Entries().count(), 4);
  EXPECT_EQ(name(table.GetPicture("square")), "file:box");
  DingbatTable plain{CString()};
  EXPECT_EQ(plain.Path(), "Dingbat.dat");
  EXPECT_EQ(plain.Directory(), "");
}

}  // namespace

#include <vector>

#include "text/resources/viewer_resources.h"
#include "text/support/profile_app.h"

namespace {

std::vector<std::string> gGone;

struct Fetcher {
  virtual ~Fetcher() { gGone.push_back("fetcher base"); }
};
struct TextFetcher : Fetcher {
  ~TextFetcher() override { gGone.push_back("text fetcher"); }
};
struct Pool {
  ~Pool() { gGone.push_back("pool"); }
};
struct Listener : RecordingListener {
  ~Listener() override { gGone.push_back("listener"); }
};

TEST(ViewerResources, EachPartGoesThroughItsOwnDestructorInOrder) {
  gGone.clear();
  {
    ViewerResources r;
    r.SetCompanion(std::unique_ptr<Fetcher>(new TextFetcher));
    r.SetObject(std::make_unique<Pool>());
    r.SetListener(std::make_unique<Listener>());
    r.SetCompanion(std::make_unique<TextFetcher>());  // the first one goes now
    EXPECT_EQ(gGone, (std::vector<std::string>{"text fetcher", "fetcher base"}));
    gGone.clear();
  }
  EXPECT_EQ(gGone, (std::vector<std::string>{"listener", "pool", "text fetcher", "fetcher base"}));
}

TEST(ViewerResources, DingbatPathFromTheSettings) {
  {
    ProfileApp app("[TextViewer]\nDingbatDir=c:\\zemra\\bullets\n");
    EXPECT_EQ(ViewerResources::DingbatPath(), "c:\\zemra\\bullets\\Dingbat.dat");
  }
  ProfileApp app("[TextViewer]\nHTMLDir=x\n");
  EXPECT_EQ(ViewerResources::DingbatPath(), "./Dingbat\\Dingbat.dat");
}

TEST(ViewerResources, TheShippedDingbatsReadAsPictures) {
  InstalledPictures pictures;
  DingbatTable table(CString((std::string(ZEMRA_SOURCE_DIR) + "/data/Dingbat/Dingbat.dat").c_str()));
  EXPECT_GE(table.Entries().count(), 7);
  for (const char* name : {"disc", "circle", "square", "bullet1", "bullet7"}) {
    auto* p = static_cast<TestPicture*>(table.GetPicture(name));
    ASSERT_TRUE(p) << name;
    EXPECT_EQ(p->name.rfind("file:GIF89a", 0), 0u) << name;
  }
}

}  // namespace
