// Menus: the item calls, menus from resources, popups tracked by keys and
// the mouse, the menu bar's keyboard and mouse entry, and accelerators.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"
#include "user/menus/menu_bar.h"
#include "user/menus/menu_window.h"

namespace {

using namespace dialog_test;

constexpr UINT kNew = 0xE100, kOpen = 0xE101, kFirst = 0xE110, kSecond = 0xE111, kPrint = 0xE107,
               kExit = 0xE141, kToolbar = 0xE800;

std::string StringOf(HMENU m, UINT item, UINT flags) {
  char buf[64] = {};
  GetMenuString(m, item, buf, sizeof buf, flags);
  return buf;
}

std::vector<UINT> CommandsTo(HWND wnd) {
  std::vector<UINT> out;
  for (const Note& n : notes())
    if (n.from == wnd && n.msg == WM_COMMAND) out.push_back(LOWORD(n.wp));
  return out;
}

using MenuTest = DialogTest;

TEST_F(MenuTest, ItemsByCommandAndByPosition) {
  HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(sub, MF_STRING, 21, "Twenty-&one"));
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(AppendMenu(menu, MF_STRING, 10, "&Ten"));
  ASSERT_TRUE(AppendMenu(menu, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Sub"));
  ASSERT_TRUE(InsertMenu(menu, 10, MF_BYCOMMAND | MF_STRING, 9, "Nine"));  // before Ten
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetMenuItemID(menu, 0), 9u);
  EXPECT_EQ(GetMenuItemID(menu, 2), 0u);           // a separator
  EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu);  // a popup
  EXPECT_EQ(GetSubMenu(menu, 3), sub);
  EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION), static_cast<UINT>((1 << 8) | MF_POPUP));
  EXPECT_EQ(StringOf(menu, 21, MF_BYCOMMAND), "Twenty-&one");  // found in the submenu
  char small[4];
  EXPECT_EQ(GetMenuString(menu, 1, small, sizeof small, MF_BYPOSITION), 3);
  EXPECT_STREQ(small, "&Te");
  // Check and enable answer the state before.
  EXPECT_EQ(CheckMenuItem(menu, 21, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 21, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(EnableMenuItem(menu, 1, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(GetMenuState(menu, 10, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(menu, 10, MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(CheckMenuItem(menu, 999, MF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(EnableMenuItem(menu, 999, MF_GRAYED), -1);
  EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), 0xFFFFFFFFu);
  ASSERT_TRUE(ModifyMenu(menu, 9, MF_BYCOMMAND | MF_STRING, 8, "Eight"));
  EXPECT_EQ(GetMenuItemID(menu, 0), 8u);
  // RemoveMenu keeps a submenu, DeleteMenu and DestroyMenu destroy it.
  ASSERT_TRUE(RemoveMenu(menu, 3, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(sub));
  ASSERT_TRUE(AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&Sub"));
  ASSERT_TRUE(DeleteMenu(menu, 3, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(sub));
  HMENU sub2 = CreatePopupMenu();
  AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub2), "x");
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_FALSE(IsMenu(sub2));
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  EXPECT_FALSE(AppendMenu(CreatePopupMenu(), MF_POPUP, 12345, "not a menu"));
}

TEST_F(MenuTest, MenusFromResourcesAndTheWindowsMenu) {
  HMENU bar = LoadMenu(module_, MAKEINTRESOURCE(128));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 7);
  EXPECT_EQ(StringOf(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(StringOf(file, kOpen, MF_BYCOMMAND), "&Open...\tCtrl+O");
  EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(bar, kPrint, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(bar, kToolbar, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(file, 3)), 2);
  // The same from the template in memory.
  HRSRC r = FindResource(module_, MAKEINTRESOURCE(128), RT_MENU);
  HMENU again = LoadMenuIndirect(LockResource(LoadResource(module_, r)));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(again, 1)), 2);
  EXPECT_EQ(LoadMenu(module_, MAKEINTRESOURCE(129)), nullptr);
  // A top-level window has a menu; a child has none.
  HWND frame = Host();
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_TRUE(SetMenu(frame, bar));
  EXPECT_EQ(GetMenu(frame), bar);
  HWND child = Control(frame, "STATIC", "", 0, 3, 0, 0, 5, 5);
  EXPECT_FALSE(SetMenu(child, again));
  EXPECT_EQ(GetMenu(child), nullptr);
  EXPECT_TRUE(DrawMenuBar(frame));
  EXPECT_TRUE(SetMenu(frame, nullptr));
  EXPECT_EQ(GetMenu(frame), nullptr);
  EXPECT_TRUE(IsMenu(bar));  // taking it away does not destroy it
}

class TrackTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    owner_ = Host();
    bar_ = LoadMenu(module_, MAKEINTRESOURCE(128));
    file_ = GetSubMenu(bar_, 0);
  }
  UINT Track(UINT flags = TPM_RETURNCMD, int x = 100, int y = 100) {
    return static_cast<UINT>(TrackPopupMenu(file_, flags, x, y, 0, owner_, nullptr));
  }
  // The screen centre of an item of a popup shown with its corner at `at`.
  static POINT ItemCentre(HMENU menu, int index, POINT at) {
    const win::user::PopupLayout layout = win::user::LayoutPopup(menu);
    const RECT r = layout.items[static_cast<size_t>(index)];
    return POINT{at.x + (r.left + r.right) / 2, at.y + (r.top + r.bottom) / 2};
  }
  HWND owner_ = nullptr;
  HMENU bar_ = nullptr;
  HMENU file_ = nullptr;
};

TEST_F(TrackTest, TheKeyboardChoosesFromAPopup) {
  struct Case {
    const char* name;
    std::function<void()> keys;
    UINT id;
  };
  const Case cases[] = {
      {"Down, Enter", [] { Key(VK_DOWN); Key(VK_RETURN); }, kNew},
      {"Down twice", [] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); }, kOpen},
      {"Up from nothing is the last", [] { Key(VK_UP); Key(VK_RETURN); }, kExit},
      {"a mnemonic chooses", [] { Type("x"); }, kExit},
      {"a mnemonic opens a submenu", [] { Type("r"); Key(VK_RETURN); }, kFirst},
      {"Right opens, Down moves in it", [] { Key(VK_DOWN); Key(VK_DOWN); Key(VK_DOWN); Key(VK_RIGHT); Key(VK_DOWN);
                                             Key(VK_RETURN); },
       kSecond},
      {"Left closes the submenu; Enter on a grayed item does nothing",
       [] { Type("r"); Key(VK_LEFT); Key(VK_DOWN); Key(VK_RETURN); Key(VK_ESCAPE); }, 0},
      {"a grayed item is not chosen", [] { Type("p"); Key(VK_ESCAPE); }, 0},
      {"Escape dismisses", [] { Key(VK_ESCAPE); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    notes().clear();
    c.keys();
    EXPECT_EQ(Track(), c.id);
    // Whatever was left of the keys goes.
    Pump();
  }
}

TEST_F(TrackTest, TheOwnerHearsOfTheMenuAndGetsTheCommand) {
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_TRUE(Track(0));
  Pump();
  EXPECT_EQ(CommandsTo(owner_), std::vector<UINT>{kNew});
  std::vector<UINT> seen;
  for (const Note& n : notes()) seen.push_back(n.msg);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front(), static_cast<UINT>(WM_ENTERMENULOOP));
  EXPECT_EQ(seen[1], static_cast<UINT>(WM_INITMENUPOPUP));
  EXPECT_EQ(reinterpret_cast<HMENU>(notes()[1].wp), file_);
  // TPM_NONOTIFY keeps it quiet; the command still comes.
  notes().clear();
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_TRUE(Track(TPM_NONOTIFY));
  Pump();
  EXPECT_EQ(notes().size(), 1u);
  EXPECT_EQ(CommandsTo(owner_), std::vector<UINT>{kNew});
  // A menu needs an owner.
  EXPECT_FALSE(TrackPopupMenu(file_, 0, 0, 0, 0, nullptr, nullptr));
  EXPECT_FALSE(TrackPopupMenu(nullptr, 0, 0, 0, 0, owner_, nullptr));
}

TEST_F(TrackTest, TheMouseChoosesOpensSubmenusAndDismisses) {
  const POINT at{100, 100};
  POINT open = ItemCentre(file_, 1, at);
  win::headless::MoveMouse(open.x, open.y);
  win::headless::Click(open.x, open.y);
  EXPECT_EQ(Track(), kOpen);
  // A click on Recent opens it beside; its first item is clicked. (Moves
  // that follow each other are merged, so a test clicks rather than hovers.)
  notes().clear();
  const POINT recent = ItemCentre(file_, 3, at);
  const RECT recentItem = win::user::LayoutPopup(file_).items[3];
  const POINT subAt{at.x + recentItem.right - 3, at.y + recentItem.top - 3};
  const POINT first = ItemCentre(GetSubMenu(file_, 3), 0, subAt);
  win::headless::Click(recent.x, recent.y);
  win::headless::Click(first.x, first.y);
  EXPECT_EQ(Track(), kFirst);
  int popups = 0;
  for (const Note& n : notes()) popups += n.msg == WM_INITMENUPOPUP;
  EXPECT_EQ(popups, 2);
  // A click outside the menu dismisses it; one on a separator does not choose.
  const POINT separator = ItemCentre(file_, 2, at);
  win::headless::Click(separator.x, separator.y);
  win::headless::Click(5, 600);
  EXPECT_EQ(Track(), 0u);
  // No menu windows stay behind.
  Pump();
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassName(w, cls, sizeof cls);
    EXPECT_STRNE(cls, "#32768");
  }
}

TEST_F(TrackTest, AMenuNearTheScreensEdgeStaysOnIt) {
  const SIZE size = win::user::LayoutPopup(file_).size;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  // Opened at the bottom-right corner, it opens up and to the left.
  const POINT at{sw - size.cx, sh - size.cy};
  const POINT open = ItemCentre(file_, 1, at);
  win::headless::Click(open.x, open.y);
  EXPECT_EQ(Track(TPM_RETURNCMD, sw - 1, sh - 1), kOpen);
  // TPM_RIGHTALIGN | TPM_BOTTOMALIGN put the corner at the point.
  const POINT at2{300 - size.cx, 300 - size.cy};
  const POINT newItem = ItemCentre(file_, 0, at2);
  win::headless::Click(newItem.x, newItem.y);
  EXPECT_EQ(Track(TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 300, 300), kNew);
}

TEST_F(TrackTest, TheMenuBarByKeysAndByTheMouse) {
  HWND frame = Host(50, 50, 400, 300);
  ASSERT_TRUE(SetMenu(frame, bar_));
  const RECT barRect = win::user::MenuBarRect(frame);
  EXPECT_EQ(barRect.bottom - barRect.top, GetSystemMetrics(SM_CYMENU));
  EXPECT_GT(barRect.top, 0);  // below the caption
  EXPECT_TRUE(win::user::MenuBarHitTest(frame, POINT{barRect.left + 5, barRect.top + 5}));
  EXPECT_FALSE(win::user::MenuBarHitTest(frame, POINT{barRect.left + 5, barRect.bottom + 5}));
  // Alt+V: the View menu opens with its first item selected.
  Key(VK_RETURN);
  win::user::TrackMenuBarKey(frame, 'v');
  Pump();
  EXPECT_EQ(CommandsTo(frame), std::vector<UINT>{kToolbar});
  // Alt alone: the bar is entered; Right moves to View, Down opens it.
  notes().clear();
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  win::user::TrackMenuBarKey(frame, 0);
  Pump();
  EXPECT_EQ(CommandsTo(frame), std::vector<UINT>{0xE801});
  // A letter that no item has: nothing opens.
  notes().clear();
  win::user::TrackMenuBarKey(frame, 'q');
  EXPECT_TRUE(CommandsTo(frame).empty());
  // By the mouse: a press on File drops it; a click on Exit chooses.
  RECT wr;
  GetWindowRect(frame, &wr);
  const win::user::BarLayout layout = win::user::LayoutMenuBar(bar_, barRect.right - barRect.left);
  const POINT file{wr.left + barRect.left + (layout.items[0].left + layout.items[0].right) / 2,
                   wr.top + barRect.top + 5};
  const RECT fileItem{wr.left + barRect.left + layout.items[0].left, wr.top + barRect.top,
                      wr.left + barRect.left + layout.items[0].right, wr.top + barRect.bottom};
  const POINT exit = ItemCentre(file_, 6, POINT{fileItem.left, fileItem.bottom});
  win::headless::ReleaseButton(file.x, file.y);
  win::headless::Click(exit.x, exit.y);
  win::user::TrackMenuBarMouse(frame, file);
  Pump();
  EXPECT_EQ(CommandsTo(frame), std::vector<UINT>{kExit});
}

// ---- Accelerators ------------------------------------------------------------------------

class AcceleratorTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    frame_ = Host();
    table_ = LoadAccelerators(module_, MAKEINTRESOURCE(128));
    ASSERT_NE(table_, nullptr);
  }
  // Runs the waiting input through the table as a frame's loop does; the
  // commands sent, and whether any key message got past the table.
  std::vector<UINT> Run(bool* passed = nullptr) {
    notes().clear();
    MSG m;
    bool through = false;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateAccelerator(frame_, table_, &m)) continue;
      if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) through = true;
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
    if (passed) *passed = through;
    std::vector<UINT> out;
    for (const Note& n : notes())
      if (n.msg == WM_COMMAND) {
        EXPECT_EQ(HIWORD(n.wp), 1) << "an accelerator's command says so";
        out.push_back(LOWORD(n.wp));
      }
    return out;
  }
  HWND frame_ = nullptr;
  HACCEL table_ = nullptr;
};

TEST_F(AcceleratorTest, TheMainFramesKeysBecomeCommands) {
  EXPECT_EQ(CopyAcceleratorTable(table_, nullptr, 0), 19);
  struct Case {
    const char* name;
    std::function<void()> keys;
    std::vector<UINT> commands;
  };
  const Case cases[] = {
      {"Ctrl+Alt+D", [] { Chord({VK_CONTROL, VK_MENU}, 'D'); }, {32774}},
      {"Ctrl+Alt+R", [] { Chord({VK_CONTROL, VK_MENU}, 'R'); }, {32775}},
      {"Alt+F4", [] { Chord({VK_MENU}, VK_F4); }, {32777}},
      {"Ctrl+C", [] { Chord({VK_CONTROL}, 'C'); }, {0xE122}},
      {"Ctrl+Insert", [] { Chord({VK_CONTROL}, VK_INSERT); }, {0xE122}},
      {"Shift+Insert", [] { Chord({VK_SHIFT}, VK_INSERT); }, {0xE125}},
      {"Shift+Delete", [] { Chord({VK_SHIFT}, VK_DELETE); }, {0xE123}},
      {"Alt+Backspace", [] { Chord({VK_MENU}, VK_BACK); }, {0xE12B}},
      {"F6 and Shift+F6", [] { Key(VK_F6); Chord({VK_SHIFT}, VK_F6); }, {0xE150, 0xE151}},
      {"Ctrl+Q as a character", [] { Chord({VK_CONTROL}, 'Q'); }, {0xE141}},
      {"Ctrl+Shift+C is another key", [] { Chord({VK_CONTROL, VK_SHIFT}, 'C'); }, {}},
      {"Ctrl+D without Alt", [] { Chord({VK_CONTROL}, 'D'); }, {}},
      {"a plain letter", [] { Key('C'); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.keys();
    EXPECT_EQ(Run(), c.commands);
  }
}

TEST_F(AcceleratorTest, AKeyThatIsACommandGoesNoFurther) {
  bool passed = true;
  Chord({VK_CONTROL}, 'N');
  EXPECT_EQ(Run(&passed), std::vector<UINT>{0xE100});
  // The Ctrl key's own message goes on; the N does not.
  Key('N');
  EXPECT_TRUE(Run(&passed).empty());
  EXPECT_TRUE(passed);
  // The command of a grayed menu item is swallowed, not sent.
  HMENU menu = CreateMenu();
  AppendMenu(menu, MF_STRING | MF_GRAYED, 0xE100, "&New");
  SetMenu(frame_, menu);
  Chord({VK_CONTROL}, 'N');
  EXPECT_TRUE(Run().empty());
  // Built tables work alike; a destroyed one does nothing.
  ACCEL keys[] = {{FVIRTKEY | FSHIFT, VK_F2, 77}};
  HACCEL built = CreateAcceleratorTable(keys, 1);
  ASSERT_NE(built, nullptr);
  ACCEL copy{};
  EXPECT_EQ(CopyAcceleratorTable(built, &copy, 1), 1);
  EXPECT_EQ(copy.cmd, 77);
  std::swap(built, table_);
  Chord({VK_SHIFT}, VK_F2);
  EXPECT_EQ(Run(), std::vector<UINT>{77});
  EXPECT_TRUE(DestroyAcceleratorTable(table_));
  MSG m{frame_, WM_KEYDOWN, VK_F2, 0, 0, {}};
  EXPECT_EQ(TranslateAccelerator(frame_, table_, &m), 0);
  EXPECT_EQ(CreateAcceleratorTable(keys, 0), nullptr);
  EXPECT_EQ(LoadAccelerators(module_, MAKEINTRESOURCE(129)), nullptr);
  table_ = built;
}

}  // namespace
