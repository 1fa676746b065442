// The client moved through the sample web as a user moves through it, once
// against the reference peer and once against the local database made from
// the same sample: browsing, following the links of a page, and the two
// searches must come out alike whichever source serves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/commands/navigation_commands.h"
#include "app/commands/session_commands.h"
#include "app/e2e/support/two_sources.h"
#include "app/history/nav_history.h"
#include "app/interpreter/interpreter.h"
#include "core/anchor.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "core/object_utils.h"
#include "core/store.h"

namespace app_test {
namespace {

using Names = std::vector<std::string>;

class SourcesTest : public TwoSourcesTest {
 protected:
  // Where activating each link of the document leads, by name, in
  // the order of the document's anchors.
  Names AnchorDestinations(const std::string& document) {
    Names reached;
    const Ref<KXObject> doc = Fetch(document);
    auto* d = dynamic_cast<Document*>(doc.get());
    if (!d) {
      ADD_FAILURE() << "no document " << document;
      return reached;
    }
    const List* anchors = d->getLinkAnchors();
    if (!anchors) return reached;
    for (ListElement* e = anchors->first(); e; e = e->next()) {
      const Ref<KXObject> anchor(ObjectOf(e));
      // An anchor that leaves the source (a URL hint) is not followed here.
      if (!anchor->getAttribute("Hint=").IsEmpty()) continue;
      Interpreter::ExecuteAnchorAction(anchor);
      if (!IdleUntilQueueEmpty()) return reached;
      // A link to a destination anchor arrives at that anchor.
      const Ref<KXObject> now = TheHistory().Current();
      const bool atAnchor = now && now->getAttribute("Type=") == "Anchor";
      reached.push_back(atAnchor ? "anchor " + now->getAttribute("Keyword=").str() : CurrentName());
    }
    return reached;
  }
  // The names a search found: the one object it went to, or the members of
  // the cluster of its hits.
  Names Found(int mode, const std::string& expression) {
    const size_t boxes = BoxTexts().size();
    if (!Run(new SearchCommand(mode, CString(expression.c_str())))) return {"<queue did not empty>"};
    // Nothing found: a box says so.
    if (BoxTexts().size() > boxes) return {};
    const Ref<KXObject> now = TheHistory().Current();
    const std::string name = NameOf(now);
    if (!name.empty()) return {name};
    // An object found in more than one language is listed once here.
    Names names = MemberNames(now);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
  }
  // The top of the source: a server's root collection is the sample's
  // root; the local database's root holds the home collection of each of
  // its data sets, here the sample's root.
  std::string Top() const { return GetParam() == DataSource::kPeer ? "rootcollection" : "LOCAL-DB-ROOT"; }
};

TEST_P(SourcesTest, OpensOnTheSampleAndMovesThroughIt) {
  StartAndOpen();
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
  EXPECT_EQ(CurrentName(), Top());
  if (GetParam() == DataSource::kLocalDatabase) {
    EXPECT_EQ(MemberNames(TheHistory().Current()), Names{"rootcollection"});
    ASSERT_TRUE(Run(new GotoCommand(CString("rootcollection @ sample"))));
  }
  EXPECT_EQ(CurrentName(), "rootcollection");
  EXPECT_EQ(MemberNames(TheHistory().Current()),
            (Names{"elsewhere", "gallery", "media", "moon", "observers", "planets", "welcome"}));

  ASSERT_TRUE(Run(new GotoCommand(CString("planets"))));
  ASSERT_EQ(CurrentName(), "planets");
  EXPECT_EQ(MemberNames(TheHistory().Current()), (Names{"inner-planets", "moon", "outer-planets"}));
  ASSERT_TRUE(Run(new GotoCommand(CString("inner-planets"))));
  EXPECT_EQ(CurrentName(), "inner-planets");
  EXPECT_EQ(MemberNames(TheHistory().Current()), (Names{"earth", "mercury", "venus"}));

  struct Step {
    const char* what;
    Command* (*make)();
    const char* arrives;
  } steps[] = {
      {"up", []() -> Command* { return new UpCommand; }, "planets"},
      {"back", []() -> Command* { return new BackCommand; }, "inner-planets"},
      {"forward", []() -> Command* { return new ForwardCommand; }, "planets"},
      {"goto a document", []() -> Command* { return new GotoCommand(CString("jupiter")); }, "jupiter"},
      {"parents (one)", []() -> Command* { return new ParentsCommand; }, "outer-planets"},
  };
  for (const Step& s : steps) {
    ASSERT_TRUE(Run(s.make())) << s.what;
    EXPECT_EQ(CurrentName(), s.arrives) << s.what;
  }
  ASSERT_TRUE(Run(new RootCommand));
  EXPECT_EQ(CurrentName(), Top());
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_P(SourcesTest, NextAndPreviousStepThroughTheHoldingCollection) {
  StartAndOpen();
  ASSERT_TRUE(Run(new GotoCommand(CString("inner-planets"))));
  ASSERT_TRUE(Run(new GotoCommand(CString("mercury"))));
  Names visited{CurrentName()};
  while (NextCommand::IsEnabled() && visited.size() < 5) {
    ASSERT_TRUE(Run(new NextCommand));
    if (CurrentName() == visited.back()) break;
    visited.push_back(CurrentName());
  }
  // Mercury, Venus and the Earth share one collection; next goes through
  // the others and previous comes back.
  std::sort(visited.begin(), visited.end());
  EXPECT_EQ(visited, (Names{"earth", "mercury", "venus"}));
}

TEST_P(SourcesTest, ActivatingTheLinksOfAPageFollowsThem) {
  StartAndOpen();
  struct Case {
    const char* page;
    Names reached;
  } cases[] = {
      {"welcome", {"planets", "mercury", "moon", "gallery", "media", "elsewhere"}},
      {"mercury", {"venus", "earth"}},
      {"jupiter", {"jupiter.gif", "saturn"}},
      {"saturn", {"saturn.bmp"}},
      {"moon-en", {"signal.wav", "orbit.avi", "anchor moon"}},
  };
  for (Case& c : cases) {
    Names reached = AnchorDestinations(c.page);
    std::sort(reached.begin(), reached.end());
    std::sort(c.reached.begin(), c.reached.end());
    EXPECT_EQ(reached, c.reached) << c.page;
  }
}

TEST_P(SourcesTest, AttributeSearchFindsTitlesAndKeywords) {
  StartAndOpen();
  struct Case {
    const char* expression;
    Names found;
  } cases[] = {
      {"rings", {"saturn", "saturn.bmp"}},
      {"observatory", {"rootcollection", "welcome"}},
      {"planet", {"earth", "jupiter", "mercury", "saturn", "venus"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(0, c.expression), c.found) << c.expression;
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_P(SourcesTest, FullTextSearchFindsTheWordsOfTheBodies) {
  StartAndOpen();
  struct Case {
    const char* expression;
    Names found;
  } cases[] = {
      {"storm", {"jupiter"}},
      {"SUNLIGHT", {"moon-en"}},
      {"noon", {"mercury"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(1, c.expression), c.found) << c.expression;
  EXPECT_TRUE(BoxTexts().empty()) << ::testing::PrintToString(BoxTexts());
}

TEST_P(SourcesTest, ASearchThatFindsNothingSaysSoAndStaysPut) {
  StartAndOpen();
  ASSERT_TRUE(Run(new GotoCommand(CString("planets"))));
  for (int mode : {0, 1}) {
    EXPECT_EQ(Found(mode, "xyzzynothinglikeit"), Names{}) << mode;
    EXPECT_EQ(CurrentName(), "planets");
  }
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No matching object found!", "No matching object found!"}));
}

// A user who ends a run on one source and starts the next on the other, in
// one process: when the first run ends, every object it fetched (members,
// pages with their links, search hits) and its store are given back, so
// nothing of it is left when the second run reads the other source.
TEST_P(SourcesTest, EndingARunGivesBackEveryObjectOfItsSource) {
  const int objects = KXObject::LiveCount();
  const int stores = Store::LiveCount();
  const DataSource other = GetParam() == DataSource::kPeer ? DataSource::kLocalDatabase : DataSource::kPeer;
  for (const DataSource source : {GetParam(), other}) {
    const char* name = source == DataSource::kPeer ? "peer" : "local database";
    StartAndOpen(source);
    if (HasFatalFailure()) return;
    // Pages that link to each other, with their links followed both ways; a
    // collection's members; a search's hits gathered into a cluster, and
    // one that goes to a single page.
    EXPECT_EQ(AnchorDestinations("mercury"), (Names{"venus", "earth"})) << name;
    EXPECT_EQ(AnchorDestinations("venus"), Names{"mercury"}) << name;
    for (const char* step : {"inner-planets", "earth", "planets"})
      ASSERT_TRUE(Run(new GotoCommand(CString(step)))) << name << ": " << step;
    EXPECT_EQ(MemberNames(TheHistory().Current()), (Names{"inner-planets", "moon", "outer-planets"})) << name;
    EXPECT_EQ(Found(0, "planet"), (Names{"earth", "jupiter", "mercury", "saturn", "venus"})) << name;
    EXPECT_EQ(Found(1, "storm"), Names{"jupiter"}) << name;
    EXPECT_EQ(Store::LiveCount(), stores + 1) << name << ": an earlier run's store is still alive";
    EXPECT_GT(KXObject::LiveCount(), objects) << name;

    EndRun();
    EXPECT_EQ(Store::LiveCount(), stores) << name << ": the store outlived its run";
    EXPECT_EQ(KXObject::LiveCount(), objects) << name << ": objects outlived their run";
  }
}

INSTANTIATE_TEST_SUITE_P(BothSources, SourcesTest,
                         ::testing::Values(DataSource::kPeer, DataSource::kLocalDatabase), DataSourceName);

// What the local database's full-text search adds to the peer's exact
// words, as the search command reaches it: stems, folded spellings and
// words that sound alike.
using LocalWordsTest = SourcesTest;

TEST_P(LocalWordsTest, FullTextSearchMatchesStemsFoldingAndSound) {
  StartAndOpen();
  struct Case {
    const char* expression;
    Names found;
  } cases[] = {
      {"storms", {"jupiter"}},
      {"lasting", {"jupiter", "mercury"}},  // "lasted", "lasts"
      {"sonnenlicht", {"moon-ge"}},
      {"Sonnenlicht", {"moon-ge"}},
      {"storm", {"jupiter"}},
      {"H\xF6ren", {"moon-ge"}},
      {"zur\xFC" "ckgeworfen", {"moon-ge"}},
      {"Jupitter", {"jupiter"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Found(1, c.expression), c.found) << c.expression;
}

INSTANTIATE_TEST_SUITE_P(LocalDatabaseOnly, LocalWordsTest, ::testing::Values(DataSource::kLocalDatabase),
                         DataSourceName);

}  // namespace
}  // namespace app_test
