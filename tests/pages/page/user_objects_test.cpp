// Objects a style declares itself: which members become objects, of which
// kind, and which member wins when a struct and its base both name one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/media/vkx_movie.h"
#include "pages/media/vmci.h"
#include "pages/objects/vaction.h"
#include "pages/objects/vgroup.h"
#include "pages/objects/vlabel.h"
#include "pages/page/page_parts.h"
#include "pages/picture/vimage.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_struct.h"
#include "pages/style/property_table.h"
#include "pages/support/pages_fixture.h"
#include "pages/text/vtext.h"

namespace {

using pages_test::PagesTest;

class UserObjectsTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    StyleTable().clear();
    Styles(
        "Label = { Value size = 1 }\n"
        "Image = { }\n"
        "Action = { }\n"
        "Sound = { }\n"
        "Movie = { }\n"
        "Text = { }\n"
        "Gadget = { }\n"
        "Page = { Image user1 { } Label User2 { } Action user3 { } Sound userTune { }\n"
        "         Movie userFilm { } Text userNotes { } Gadget userThing { }\n"
        "         Rect userRect = \"0 0 1 1\" Label other { } }\n"
        "Page Derived { Label user1 { Value size = 5 } Label user4 { } }\n");
  }
  // The names of the group's children, in drawing order.
  static std::vector<std::string> Names(VGroup& group) {
    std::vector<std::string> names;
    for (VObject* c = group.FirstChild(); c; c = c->Next()) names.push_back(std::string(c->GetName()));
    return names;
  }
  static const PropertyStruct* Style(const char* name) {
    return static_cast<const PropertyStruct*>(StyleTable().MemberByName(name));
  }
};

TEST_F(UserObjectsTest, UserMembersOfObjectTypesBecomeObjects) {
  VGroup group(0, 0, 100, 100);
  ClearLog();
  AddUserObjects(&group, Style("Page"));
  EXPECT_EQ(Names(group),
            (std::vector<std::string>{"user1", "user3", "userTune", "userFilm", "userNotes"}));
  EXPECT_NE(dynamic_cast<VImage*>(group.FindByName("user1", false)), nullptr);
  EXPECT_NE(dynamic_cast<VAction*>(group.FindByName("user3", false)), nullptr);
  auto* tune = dynamic_cast<VMCI*>(group.FindByName("userTune", false));
  ASSERT_NE(tune, nullptr);
  EXPECT_FALSE(tune->IsVideo());
  EXPECT_NE(dynamic_cast<VKxMovie*>(group.FindByName("userFilm", false)), nullptr);
  EXPECT_NE(dynamic_cast<VText*>(group.FindByName("userNotes", false)), nullptr);
  // "User2" is not a user member (the prefix is case-sensitive); a Rect is no
  // object; a struct of another type is logged.
  bool logged = false;
  for (const std::string& line : LogLines())
    logged |= line.find("AddUserObjects: class userThingnot supported as user defineable") != std::string::npos;
  EXPECT_TRUE(logged);
}

TEST_F(UserObjectsTest, AMemberOfTheDerivedStructHidesTheBasesMember) {
  VGroup group(0, 0, 100, 100);
  AddUserObjects(&group, Style("Derived"));
  EXPECT_EQ(Names(group), (std::vector<std::string>{"user1", "user4", "user3", "userTune", "userFilm",
                                                     "userNotes"}));
  auto* label = dynamic_cast<VLabel*>(group.FindByName("user1", false));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(getValue(label->GetStyle()->StyleQuery("size"), 0.0), 5.0);
  // A second call finds every name present and adds nothing.
  AddUserObjects(&group, Style("Derived"));
  EXPECT_EQ(Names(group).size(), 6u);
}

TEST_F(UserObjectsTest, BaseStructsThatNameEachOtherAreWalkedOnce) {
  Styles(
      "A = { }\n"
      "A B { Image userB { } }\n"
      "B A { Image userA { } }\n"
      "A C { Image userC { } }\n");
  VGroup group(0, 0, 100, 100);
  AddUserObjects(&group, Style("C"));
  EXPECT_EQ(Names(group), (std::vector<std::string>{"userC", "userA", "userB"}));
}

TEST_F(UserObjectsTest, NothingHappensWithoutAGroupOrAStyle) {
  VGroup group(0, 0, 100, 100);
  AddUserObjects(&group, nullptr);
  AddUserObjects(nullptr, Style("Page"));
  EXPECT_EQ(group.FirstChild(), nullptr);
}

}  // namespace
