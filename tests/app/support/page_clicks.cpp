#include "app/support/page_clicks.h"

#include <filesystem>

#include "app/commands/command_queue.h"
#include "app/interpreter/interpreter.h"
#include "app/shell_ui.h"
#include "display/display.h"
#include "display/headless.h"
#include "pages/objects/vcoll_titles.h"
#include "pages/objects/vgroup.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/objects/vtoolbar.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/text/shell_picture_fetcher.h"
#include "win/user.h"

namespace app_test {

namespace {

bool Shows(VObject* object) { return object && object->IsShown() && !object->Has(VObject::kHidden); }

VCollTitles* TitleList(VPage* page) {
  VCollTitles* found = nullptr;
  ForEachObject(page, [&](VObject* o) {
    if (!found) found = dynamic_cast<VCollTitles*>(o);
  });
  return found;
}

BOOL RunThroughInterpreter(const char* text, const char* arguments) {
  Interpreter::Run(text, arguments);
  return TRUE;
}

long ShownObjectId() {
  VPage* page = CurrentPage();
  return page && page->Object() ? static_cast<long>(page->Object()->getObjectId()) : -1;
}

}  // namespace

void ForEachObject(VObject* root, const std::function<void(VObject*)>& visit) {
  if (!root) return;
  visit(root);
  if (auto* group = dynamic_cast<VGroup*>(root))
    for (VObject* child = group->FirstChild(); child; child = child->Next()) ForEachObject(child, visit);
}

std::vector<std::string> PageTitles(VPage* page) {
  std::vector<std::string> titles;
  ForEachObject(page, [&](VObject* o) {
    if (auto* title = dynamic_cast<VTitle*>(o); title && Shows(title))
      titles.push_back(title->CaptionText().str());
  });
  return titles;
}

VLabel* MemberLabel(VPage* page, const std::string& caption) {
  VCollTitles* list = TitleList(page);
  if (!list) return nullptr;
  for (int i = 0; i < list->TileCount(); ++i)
    if (VLabel* item = list->Item(i); Shows(item) && item->CaptionText().str() == caption) return item;
  return nullptr;
}

VObject* ToolButton(VPage* page, const char* name) {
  VToolbar* toolbar = nullptr;
  ForEachObject(page, [&](VObject* o) {
    if (!toolbar) toolbar = dynamic_cast<VToolbar*>(o);
  });
  VObject* button = toolbar ? toolbar->FindByName(name, false) : nullptr;
  return Shows(button) ? button : nullptr;
}

POINT ScreenCentre(VObject* object) {
  const RECT r = object->Rect();
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  // Page objects keep their rectangles in the coordinates of the page's
  // window, wherever that lies in the frame.
  VObject* page = object->GetPage();
  CWnd* window = page ? page->GetWindow() : nullptr;
  if (window && window->GetSafeHwnd()) ClientToScreen(window->GetSafeHwnd(), &p);
  return p;
}

void ClickingShellTest::SetUp() {
  ShellTest::SetUp();
  ini["INIT"]["Effects"] = "0";
  // The home directory as the program is installed: the shipped data with
  // the picture converters beside it (they are loaded from there).
  const std::filesystem::path home = tmp_.file("home");
  std::filesystem::create_directories(home);
  for (const auto& entry : std::filesystem::directory_iterator(DataDir()))
    std::filesystem::create_symlink(entry.path(), home / entry.path().filename());
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ZEMRA_BINARY_DIR) + "/bin"))
    if (entry.path().extension() == ".so")
      std::filesystem::create_symlink(entry.path(), home / entry.path().filename());
  ini["Tolm"]["HomeDir"] = home.string();
  // Tool buttons speak the command language, as the program's do (the
  // shell fixture starts without an interpreter).
  ShellUi ui;
  ui.run = &RunThroughInterpreter;
  SetShellUi(ui);
}

void ClickingShellTest::ClickOn(VObject* object) {
  const POINT p = ScreenCentre(object);
  win::headless::Click(p.x, p.y);
  win::headless::DispatchPending();
}

bool ClickingShellTest::ClickAndArrive(VObject* object, long id) {
  if (!object) return false;
  ClickOn(object);
  const bool arrived = IdleUntil(
      [&] { return TheCommandQueue().Count() == 0 && CurrentId() == id && ShownObjectId() == id; });
  Settle();
  return arrived;
}

bool ClickingShellTest::OpenMember(const std::string& caption, long id) {
  VPage* page = CurrentPage();
  VCollTitles* list = TitleList(page);
  if (!list) return false;
  VLabel* label = MemberLabel(page, caption);
  // The list shows a page of titles at a time: "more titles" until the one
  // wanted shows, at most once for each member.
  for (int turns = list->MemberCount(); !label && turns > 0; --turns) {
    VLabel* more = list->NextItem();
    if (!Shows(more)) break;
    ClickOn(more);
    Settle();
    label = MemberLabel(page, caption);
  }
  return ClickAndArrive(label, id);
}

bool ClickingShellTest::PressTool(const char* name, long id) { return ClickAndArrive(ToolButton(CurrentPage(), name), id); }

void ClickingShellTest::Settle() {
  IdleUntil([] { return TheCommandQueue().Count() == 0 && ViewerPictureFetcher().Waiting() == 0; });
  for (int round = 0; round < 100; ++round) {
    win::headless::DispatchPending();
    if (!win::display::Active().IsHeadless()) {
      win::FlushDisplay();
      win::display::Active().Sync();
    }
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) return;
  }
}

void ClickingShellTest::ExpectPage(long id, const std::string& title) {
  EXPECT_EQ(CurrentId(), id) << title;
  const std::vector<std::string> titles = PageTitles(CurrentPage());
  ASSERT_FALSE(titles.empty()) << title << ": the page shows no title";
  EXPECT_EQ(titles.front(), title);
  visited.insert(id);
}

void ClickingShellTest::WalkEveryCollection() {
  ExpectPage(0x101, "The Observatory");

  // Down the planets and back by each way the tool bar offers.
  ASSERT_TRUE(OpenMember("The planets", 0x102));
  ExpectPage(0x102, "The planets");
  ASSERT_TRUE(OpenMember("Inner planets", 0x103));
  ExpectPage(0x103, "Inner planets");
  ASSERT_TRUE(PressTool("up", 0x102));
  ExpectPage(0x102, "The planets");
  ASSERT_TRUE(OpenMember("Outer planets", 0x104));
  ExpectPage(0x104, "Outer planets");
  ASSERT_TRUE(PressTool("back", 0x102));
  ExpectPage(0x102, "The planets");
  ASSERT_TRUE(PressTool("forward", 0x104));
  ExpectPage(0x104, "Outer planets");
  ASSERT_TRUE(PressTool("back", 0x102));
  ASSERT_TRUE(OpenMember("The Moon", 0x105));
  ExpectPage(0x105, "The Moon");
  ASSERT_TRUE(PressTool("back", 0x102));
  ASSERT_TRUE(PressTool("up", 0x101));
  ExpectPage(0x101, "The Observatory");

  // The rooms of the root, each left by Back or by Up in turn.
  const struct {
    const char* title;
    long id;
    const char* leave;
  } rooms[] = {
      {"Picture gallery", 0x106, "back"},
      {"Media room", 0x107, "up"},
      {"Other servers", 0x108, "back"},
      {"Observers' corner", 0x109, "up"},
  };
  for (const auto& room : rooms) {
    ASSERT_TRUE(OpenMember(room.title, room.id)) << room.title;
    ExpectPage(room.id, room.title);
    ASSERT_TRUE(PressTool(room.leave, 0x101)) << room.title << ", " << room.leave;
    ExpectPage(0x101, "The Observatory");
  }

  // The moon is a member of the root too.
  ASSERT_TRUE(OpenMember("The Moon", 0x105));
  ASSERT_TRUE(PressTool("back", 0x101));
}

}  // namespace app_test
