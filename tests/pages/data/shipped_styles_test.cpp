// The shipped MAIN.STY and tolm.rul: they read without a message, give
// every value the page objects ask for, and choose the intended page for
// each kind of object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/object_utils.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "pages/style/style_files.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_objects.h"

namespace {

using pages_test::PagesTest;

const std::string kData = std::string(ZEMRA_SOURCE_DIR) + "/data/";

class ShippedStylesTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    LoadStyleFile((kData + "MAIN.STY").c_str());
    TheRuleSet().load((kData + "tolm.rul").c_str());
    objects_.Install();
  }
  void TearDown() override {
    objects_.Remove();
    PagesTest::TearDown();
  }
  CString Rule(const Ref<KXObject>& object) {
    TypeCount counts;
    counts.countMembers(object);
    return GetStyleName(TheRuleSet().evaluate(counts));
  }
  pages_test::TestObjects objects_;
};

TEST_F(ShippedStylesTest, BothFilesReadWithoutAMessage) {
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
  EXPECT_EQ(TheRuleSet().count(), 9);
}

TEST_F(ShippedStylesTest, EveryValueThePageObjectsReadIsThere) {
  const char* const common[] = {"visible", "disabled", "start", "end", "effect", "name"};
  const char* const label[] = {"fitcaption", "pos", "transparent", "fontsize", "fontname",
                               "fgcolor", "bgcolor", "border3d", "border", "bullet", "arrow",
                               "alignment", "mode", "bgpicture", "bgpictureover",
                               "bgpicturedown", "caption", "goto", "onclick", "hint"};
  const char* const media[] = {"pos", "autoplay", "loop", "filename", "soundpriority", "mode",
                               "videopos", "play", "stop", "play.visible", "stop.visible",
                               "title", "title.relpos"};
  struct Entry {
    const char* style;
    std::vector<const char*> keys;
  };
  const std::vector<Entry> entries = {
      {"Label", {std::begin(label), std::end(label)}},
      {"Toolbutton", {std::begin(label), std::end(label)}},
      {"Title", {"relpos", "pos", "fontsize", "fgcolor", "bgcolor", "caption"}},
      {"ProgressIndicator", {"progresscolor", "fgcolor", "bgcolor", "caption"}},
      {"Image", {"pos", "mode", "scrollx", "scrolly", "filename", "bgcolor", "title.visible",
                 "title.relpos", "title.pos"}},
      {"Background", {"bgcolor", "mode", "filename"}},
      {"RandomImage", {"pos", "delay", "loop", "random", "destination", "mode"}},
      {"Text", {"pos", "filename"}},
      {"Sound", {std::begin(media), std::end(media)}},
      {"Movie", {std::begin(media), std::end(media)}},
      {"Backsound", {"filename", "loop", "autoplay"}},
      {"Collection", {"area", "columns", "title.relpos", "item.caption", "item.fgcolor",
                      "prev.caption", "next.caption"}},
      {"Cluster", {"area", "title.relpos", "prev.caption", "next.caption"}},
      {"Toolbar", {"pos", "back.onclick", "forward.onclick", "quit.onclick"}},
      {"HintDialog", {"delay", "hint.fontsize", "backgr.bgcolor"}},
      {"Action", {"command"}},
      {"DefaultPage", {"effect", "backgr.bgcolor", "toolbar.back.pos", "progress.visible",
                       "backmusic.filename", "coll.area", "cluster.area", "image.mode",
                       "text.pos", "sound.autoplay", "movie.mode"}},
      {"CADPage", {"coll.area", "text1.pos", "image1.mode", "movie1.mode", "sound.loop",
                   "backgr.bgcolor"}},
      {"SyncPage", {"backgr.bgcolor", "toolbar.pos", "sound.autoplay", "sound.play.visible",
                    "movie.mode", "movie.videopos"}},
  };
  const PropertyTable& t = StyleTable();
  for (const Entry& e : entries) {
    for (const char* key : common)
      EXPECT_NE(t.StyleQuery((std::string(e.style) + "." + key).c_str()), nullptr)
          << e.style << "." << key;
    for (const char* key : e.keys)
      EXPECT_NE(t.StyleQuery((std::string(e.style) + "." + key).c_str()), nullptr)
          << e.style << "." << key;
  }
  // A few values by their kind, as the objects read them.
  EXPECT_EQ(getArea(t.StyleQuery("DefaultPage.coll.area"), Area()).Count(), 1);
  EXPECT_EQ(getString(t.StyleQuery("CADPage.coll.area"), ""), "65/640 27/480 460/640 418/480");
  EXPECT_TRUE(getBool(t.StyleQuery("DefaultPage.progress.visible"), 0));
  EXPECT_TRUE(getTopBottom(t.StyleQuery("Collection.title.relpos"), false));
  EXPECT_FALSE(getTopBottom(t.StyleQuery("Image.title.relpos"), true));
  EXPECT_EQ(getTransition(t.StyleQuery("PicturePage.effect"), -1), 11);
  EXPECT_EQ(getColor(t.StyleQuery("PictureWall.backgr.bgcolor"), 0), RGB(0x1F, 0x2A, 0x44));
  EXPECT_EQ(getColor(t.StyleQuery("Background.bgcolor"), 0), RGB(0xF3, 0xEF, 0xE6));
  EXPECT_EQ(getInt(t.StyleQuery("Label.fontsize"), 0), 16);
  EXPECT_FALSE(getVisible(getStruct(t.StyleQuery("Text.title")), true));
}

TEST_F(ShippedStylesTest, EveryRuleNamesADefaultPage) {
  for (int i = 0; i < TheRuleSet().count(); ++i) {
    const CString style = GetStyleName(TheRuleSet().at(i)->result);
    EXPECT_TRUE(StyleTable().IsDerived(style, "DefaultPage")) << style.str();
  }
}

TEST_F(ShippedStylesTest, TheRulesChooseAPageForEachKindOfObject) {
  struct Case {
    const char* what;
    Ref<KXObject> object;
    const char* page;
  };
  const Case cases[] = {
      {"a collection", objects_.Collection(1, {objects_.Image(2), objects_.Text(3)}),
       "CollectionPage"},
      {"a cluster of pictures",
       objects_.Cluster(4, {objects_.Image(5), objects_.Image(6), objects_.Image(7),
                            objects_.Image(8)}),
       "PictureWall"},
      {"a cluster", objects_.Cluster(9, {objects_.Text(10), objects_.Image(11)}), "ClusterPage"},
      {"search results", objects_.MultiCluster(12, {objects_.Text(13), objects_.Text(14)}),
       "ResultPage"},
      {"a picture", objects_.Image(15), "PicturePage"},
      {"a text", objects_.Text(16), "TextPage"},
      {"a sound", objects_.Sound(17), "MediaPage"},
      {"a film", objects_.Movie(18), "MediaPage"},
      {"a generic document", objects_.Document(19, "Generic"), "DefaultPage"},
  };
  for (const Case& c : cases) EXPECT_EQ(Rule(c.object), c.page) << c.what;
}

}  // namespace
