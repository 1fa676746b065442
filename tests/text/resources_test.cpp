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
