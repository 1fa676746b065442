// Script pages: which objects the page switch shows as one, how the page
// finds and fetches its script, the names its members get, and the timer
// that drives the script.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/object_utils.h"
#include "core/sort_order.h"
#include "pages/objects/vlabel.h"
#include "pages/page/page_switch.h"
#include "pages/page/vsyncpage.h"
#include "pages/script/sync_script.h"
#include "pages/support/page_fixture.h"
#include "support/user_clock.h"

namespace {

using pages_test::PageTest;
using Lines = std::vector<std::string>;

class VSyncpageTest : public PageTest {
 protected:
  void SetUp() override {
    // The script log goes to this test's own temporary directory.
    if (const char* old = std::getenv("TMPDIR")) oldTemp_ = old;
    setenv("TMPDIR", tmp_.path().string().c_str(), 1);
    PageTest::SetUp();
    clock_ = std::make_unique<testing_support::TestUserClock>();
    Ticks() = 100000;  // as the USER clock's start
    SetPageTickSource([]() -> DWORD { return Ticks(); });
    previousOrder_ = GetSortOrder();
    SetSortOrder("T");
    Styles("Page = { }\nPage SyncPage { }\n");
  }
  void TearDown() override {
    PageTest::TearDown();
    SetSortOrder(previousOrder_);
    clock_.reset();
    if (oldTemp_)
      setenv("TMPDIR", oldTemp_->c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  static DWORD& Ticks() {
    static DWORD ticks = 0;
    return ticks;
  }
  // Moves both clocks and lets the windows take what became due.
  void Advance(DWORD ms) {
    clock_->Advance(ms);
    Ticks() += ms;
    Settle();
  }
  // A sync document whose file the file cache hands out.
  Ref<KXObject> Script(std::int32_t id, const std::string& text, const char* subType = "sync") {
    const std::string goid = "0x" + std::to_string(id) + "@sample";
    const std::string extra = std::string("SubType=") + subType + "\nGOid=" + goid + "\n";
    Ref<KXObject> script = objects_.Document(id, "Generic", extra.c_str());
    shell_.cached[objectUrl(script).str()] = tmp_.write("script" + std::to_string(id), text);
    return script;
  }
  static std::string Titled(const char* title, const char* goid) {
    return std::string("Title=en:") + title + "\nGOid=" + goid + "\n";
  }

  std::unique_ptr<testing_support::TestUserClock> clock_;
  CString previousOrder_;
  std::optional<std::string> oldTemp_;
};

TEST_F(VSyncpageTest, WhichObjectsArePresentations) {
  const Ref<KXObject> sync = Script(50, "");
  const Ref<KXObject> other = Script(51, "", "Sync");  // the case counts
  const Ref<KXObject> picture = objects_.Image(52);
  const char* layout = "Layout=SyncPage()\n";
  struct Case {
    const char* what;
    Ref<KXObject> object;
    int accepted;
  };
  const Case cases[] = {
      {"nothing", Ref<KXObject>(), 0},
      {"sync document", sync, 1},
      {"other subtype", other, 0},
      {"picture", picture, 0},
      {"collection with layout", objects_.Collection(60, {picture, sync}, layout), 1},
      {"collection without layout", objects_.Collection(61, {picture, sync}), 0},
      {"collection without script", objects_.Collection(62, {picture, other}, layout), 0},
      {"result list", objects_.Collection(63, {sync}, "Layout=SyncPage()\nTitle=en:Moon search\n"), 0},
      {"result list de", objects_.Collection(64, {sync}, "Layout=SyncPage()\nTitle=en:Suche Mond\n"), 0},
      {"cluster with script", objects_.Cluster(65, {picture, sync}), 1},
      {"cluster without script", objects_.Cluster(66, {picture}), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VSyncpage::Accepts(c.object), c.accepted) << c.what;
}

TEST_F(VSyncpageTest, TheFirstScriptOfTheMembersIsPlayed) {
  const Ref<KXObject> first = Script(50, "0 LOAD LBL 1 \"first\" \"0 0 50 20\"\n");
  const Ref<KXObject> second = Script(51, "0 LOAD LBL 1 \"second\" \"0 0 50 20\"\n");
  const Ref<KXObject> show = objects_.Collection(60, {first, second}, "Layout=SyncPage()\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(show));
  ASSERT_NE(page, nullptr);
  EXPECT_STREQ(page->GetClassName(), "VSyncpage");
  EXPECT_EQ(page->ScriptDocument().get(), first.get());
  ASSERT_NE(page->Script(), nullptr);
  auto* label = dynamic_cast<VLabel*>(page->Script()->ObjectAt(ScriptObject::Label, 1));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->CaptionText(), "first");
  EXPECT_NE(page->BackgroundPart(), nullptr);
  EXPECT_NE(page->ToolbarPart(), nullptr);
  EXPECT_FALSE(page->ClockRunning());  // a script page has no page clock
}

TEST_F(VSyncpageTest, MembersAreNumberedByKindInSortOrder) {
  const Ref<KXObject> script = Script(50, "0 SHOW BGR\n");
  // Made out of order: the page sorts them (by title here).
  const Ref<KXObject> members[] = {
      objects_.Image(76, Titled("f image", "G76").c_str()),
      objects_.Text(71, Titled("a text", "G71").c_str()),
      objects_.Document(75, "PIC", Titled("e pic", "G75").c_str()),
      objects_.Image(72, Titled("b image", "G72").c_str()),
      objects_.Movie(74, Titled("d movie", "G74").c_str()),
      objects_.Text(73, Titled("c text", "G73").c_str()),
  };
  std::vector<Ref<KXObject>> list(std::begin(members), std::end(members));
  list.push_back(script);
  auto* page = dynamic_cast<VSyncpage*>(
      Show(objects_.Collection(60, list, "Layout=SyncPage()\nTitle=en:zz show\n")));
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->Script(), nullptr);
  Lines names;
  for (const SyncScript::UrlEntry& u : page->Script()->Urls())
    names.push_back(std::to_string(static_cast<int>(u.kind)) + " " + u.name.str() + " " +
                    u.url.str());
  EXPECT_EQ(names, (Lines{"4 #1 korvex:G71", "0 #1 korvex:G72", "4 #2 korvex:G73",
                          "2 #1 korvex:G74", "0 #2 korvex:G76"}));
}

TEST_F(VSyncpageTest, AClusterLendsItsMembersForOnePresentation) {
  // The member list is made for the page (and, under the leak checker,
  // freed with it).
  const Ref<KXObject> script = Script(50, "0 SHOW BGR\n");
  const Ref<KXObject> sound = objects_.Sound(81, "GOid=G81\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(objects_.Cluster(60, {sound, script})));
  ASSERT_NE(page, nullptr);
  ASSERT_NE(page->Script(), nullptr);
  ASSERT_EQ(page->Script()->Urls().size(), 1u);
  EXPECT_EQ(page->Script()->Urls()[0].kind, ScriptObject::Sound);
  EXPECT_EQ(page->Script()->Urls()[0].url, "korvex:G81");
}

TEST_F(VSyncpageTest, AScriptWithoutAnAddressIsNotFetched) {
  const Ref<KXObject> script = objects_.Document(50, "Generic", "SubType=sync\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(script));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->ScriptDocument().get(), script.get());
  EXPECT_EQ(page->Script(), nullptr);
  EXPECT_TRUE(shell_.fetched.empty());

  // A file the cache cannot supply: a page without a script, too.
  const Ref<KXObject> lost = objects_.Document(51, "Generic", "SubType=sync\nGOid=0x51@far\n");
  page = dynamic_cast<VSyncpage*>(Show(lost));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(shell_.fetched, Lines{"korvex:0x51@far"});
  EXPECT_EQ(page->Script(), nullptr);
  Advance(1000);  // timer messages do nothing
}

TEST_F(VSyncpageTest, TheWindowTimerDrivesTheScriptUntilALinkIsFollowed) {
  const Ref<KXObject> script = Script(50,
                                      "0 TIMERINTERVAL 40\n"
                                      "0 LOAD LBL 1 \"go\" \"0 0 50 20\"\n"
                                      "0 LOAD LBL 2 \"stay\" \"0 30 50 50\"\n"
                                      "0 SETGOTO LBL 1 \"korvex:/harbour\"\n"
                                      "300 SHOW LBL 1\n"
                                      "600 SHOW LBL 2\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(script));
  ASSERT_NE(page, nullptr);
  SyncScript* s = page->Script();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->TimerInterval(), 40);
  VObject* go = s->ObjectAt(ScriptObject::Label, 1);
  VObject* stay = s->ObjectAt(ScriptObject::Label, 2);
  Advance(299);
  EXPECT_TRUE(go->Has(VObject::kHidden));
  Advance(100);
  EXPECT_FALSE(go->Has(VObject::kHidden));

  // A click on a label without a target leaves the timer running; one on
  // a label that leads somewhere stops the presentation.
  page->Notify(VLabel::kClicked, stay);
  page->Notify(VLabel::kClicked, go);
  Advance(1000);
  EXPECT_TRUE(stay->Has(VObject::kHidden));

  // A timer message of any id moves the script on when it is due.
  page->OnTimer(77);
  EXPECT_FALSE(stay->Has(VObject::kHidden));
}

TEST_F(VSyncpageTest, ThePageEmptiedByAReloadPlaysNoMore) {
  const Ref<KXObject> script = Script(50,
                                      "0 LOAD LBL 1 \"a\" \"0 0 50 20\"\n"
                                      "500 SHOW LBL 1\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(script));
  ASSERT_NE(page, nullptr);
  page->DeleteChildren();
  EXPECT_EQ(page->FirstChild(), nullptr);
  EXPECT_EQ(page->Script(), nullptr);
  page->OnTimer(VSyncpage::kScriptTimer);
  Advance(1000);
}

TEST_F(VSyncpageTest, LeavingThePageStopsTheScript) {
  const Ref<KXObject> script = Script(50,
                                      "0 LOAD LBL 1 \"a\" \"0 0 50 20\"\n"
                                      "500 SHOW LBL 1\n");
  auto* page = dynamic_cast<VSyncpage*>(Show(script));
  ASSERT_NE(page, nullptr);
  VObject* label = page->Script()->ObjectAt(ScriptObject::Label, 1);
  page->Leave();
  Advance(1000);
  EXPECT_TRUE(label->Has(VObject::kHidden));
  page->Enter();
  Advance(100);
  EXPECT_FALSE(label->Has(VObject::kHidden));
}

}  // namespace
