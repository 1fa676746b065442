#include <cstring>
#include <string>

#include "recorder.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using WindowTest = UserTest;

TEST_F(WindowTest, CreationSendsNcCreateThenCreateWithTheCreateStruct) {
  static int param = 7;
  const CREATESTRUCT* seen = nullptr;
  std::string seenName;
  anyWindowReactions()[WM_CREATE] = [&](HWND, UINT, WPARAM, LPARAM lp) -> LRESULT {
    seen = reinterpret_cast<const CREATESTRUCT*>(lp);
    seenName = seen->lpszName;
    EXPECT_EQ(seen->lpCreateParams, &param);
    EXPECT_EQ(seen->cx, 100);
    EXPECT_EQ(seen->cy, 80);
    EXPECT_EQ(static_cast<DWORD>(seen->style), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
    return 0;
  };
  HWND w = CreateWindowEx(WS_EX_TOPMOST, "recorder", "Hello", WS_POPUP | WS_VISIBLE, 5, 6, 100, 80,
                          nullptr, nullptr, nullptr, &param);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(w), 1u);  // handles are small integers
  EXPECT_EQ(seenName, "Hello");
  ASSERT_GE(received().size(), 4u);
  EXPECT_EQ(received()[0].msg, static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(received()[1].msg, static_cast<UINT>(WM_CREATE));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetWindowLong(w, GWL_EXSTYLE), WS_EX_TOPMOST);
  char text[16];
  EXPECT_EQ(GetWindowText(w, text, sizeof text), 5);
  EXPECT_STREQ(text, "Hello");
}

TEST_F(WindowTest, RefusalInNcCreateOrCreateDestroysTheWindow) {
  struct Case {
    UINT msg;
    LRESULT answer;
    std::vector<UINT> expected;
  };
  const Case cases[] = {
      {WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
      {WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const Case& c : cases) {
    received().clear();
    anyWindowReactions().clear();
    anyWindowReactions()[c.msg] = [&](HWND, UINT, WPARAM, LPARAM) { return c.answer; };
    EXPECT_EQ(Top(), nullptr) << c.msg;
    std::vector<UINT> got;
    for (const Received& r : received()) got.push_back(r.msg);
    EXPECT_EQ(got, c.expected) << c.msg;
    const HWND gone = received().front().wnd;
    EXPECT_FALSE(IsWindow(gone));
  }
}

TEST_F(WindowTest, DestroyGoesParentFirstForDestroyAndChildrenFirstForNcDestroy) {
  HWND top = Top();
  HWND a = Child(top, 1);
  HWND b = Child(top, 2);
  HWND a1 = Child(a, 3);
  // The parent's WM_DESTROY handler still finds its children.
  reactions()[{top, WM_DESTROY}] = [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    EXPECT_TRUE(IsWindow(a));
    EXPECT_EQ(GetDlgItem(top, 2), b);
    return 0;
  };
  received().clear();
  EXPECT_TRUE(DestroyWindow(top));
  const std::vector<Received> expected = {
      {top, WM_DESTROY, 0, 0},   {a, WM_DESTROY, 0, 0},      {a1, WM_DESTROY, 0, 0},
      {b, WM_DESTROY, 0, 0},     {a1, WM_NCDESTROY, 0, 0},   {a, WM_NCDESTROY, 0, 0},
      {b, WM_NCDESTROY, 0, 0},   {top, WM_NCDESTROY, 0, 0},
  };
  EXPECT_EQ(Only({WM_DESTROY, WM_NCDESTROY}), expected);
  for (HWND w : {top, a, b, a1}) EXPECT_FALSE(IsWindow(w));
  // Messages to a destroyed window go nowhere.
  received().clear();
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(a, WM_USER, 0, 0));
  EXPECT_TRUE(received().empty());
  EXPECT_FALSE(DestroyWindow(top));
}

TEST_F(WindowTest, DestroyingAnOwnerDestroysItsOwnedWindowsFirst) {
  HWND owner = Top("owner");
  HWND popup = CreateWindow(kClass, "popup", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(GetParent(popup), owner);  // a popup's parent is its owner
  EXPECT_EQ(GetWindowLong(popup, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(owner));
  received().clear();
  DestroyWindow(owner);
  const std::vector<Received> expected = {{popup, WM_DESTROY, 0, 0},
                                          {popup, WM_NCDESTROY, 0, 0},
                                          {owner, WM_DESTROY, 0, 0},
                                          {owner, WM_NCDESTROY, 0, 0}};
  EXPECT_EQ(Only({WM_DESTROY, WM_NCDESTROY}), expected);
}

TEST_F(WindowTest, ChildrenBelongToTheirParentInCreationOrder) {
  HWND top = Top();
  HWND c1 = Child(top, 10);
  HWND c2 = Child(top, 20);
  EXPECT_EQ(GetParent(c1), top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_TRUE(IsChild(top, c2));
  EXPECT_FALSE(IsChild(c1, c2));
  EXPECT_EQ(GetDlgItem(top, 20), c2);
  EXPECT_EQ(GetDlgCtrlID(c1), 10);
  EXPECT_EQ(GetWindowLong(c1, GWL_ID), 10);
  // A child needs a parent; a bad parent or class fails.
  EXPECT_EQ(CreateWindow(kClass, "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindow(kClass, "", WS_CHILD, 0, 0, 1, 1, reinterpret_cast<HWND>(999), nullptr,
                         nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindow("NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

LRESULT SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
WNDPROC gOriginal = nullptr;
int gSubclassCalls = 0;

LRESULT SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 1) {
    ++gSubclassCalls;
    return 42;
  }
  return CallWindowProc(gOriginal, w, msg, wp, lp);
}

TEST_F(WindowTest, SubclassingThroughGwlWndprocChainsToTheOriginal) {
  HWND w = Top();
  gSubclassCalls = 0;
  gOriginal = reinterpret_cast<WNDPROC>(
      SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  EXPECT_EQ(gOriginal, &RecordingProc);
  EXPECT_EQ(GetWindowLong(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&SubclassProc));
  received().clear();
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 42);
  SendMessage(w, WM_USER + 2, 0, 0);
  EXPECT_EQ(gSubclassCalls, 1);
  ASSERT_EQ(received().size(), 1u);  // only the other message reached the original
  EXPECT_EQ(received()[0].msg, static_cast<UINT>(WM_USER + 2));
  // A null procedure is refused: the next message would call it.
  EXPECT_EQ(SetWindowLong(w, GWL_WNDPROC, 0), 0);
  EXPECT_EQ(GetWindowLong(w, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&SubclassProc));
}

TEST_F(WindowTest, WindowLongsAndExtraBytes) {
  HWND w = Top();
  EXPECT_EQ(SetWindowLong(w, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLong(w, GWL_USERDATA), 1234);
  // 12 extra bytes: offset 0 and 4 are pointer-wide, offset 8 a 32-bit LONG.
  int marker = 0;
  SetWindowLong(w, 0, reinterpret_cast<LONG_PTR>(&marker));
  EXPECT_EQ(GetWindowLong(w, 0), reinterpret_cast<LONG_PTR>(&marker));
  EXPECT_EQ(SetWindowLong(w, 8, -5), 0);
  EXPECT_EQ(GetWindowLong(w, 8), -5);
  SetLastError(0);
  EXPECT_EQ(GetWindowLong(w, 9), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(SetWindowLong(w, 12, 1), 0);
  // Styles: overlapped windows always have a caption; WS_CHILD stays fixed.
  const LONG_PTR style = GetWindowLong(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  SetWindowLong(w, GWL_STYLE, style | WS_CHILD | WS_DISABLED);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_EQ(GetWindowLong(nullptr, GWL_STYLE), 0);
}

TEST_F(WindowTest, ClassesAreFoundWithoutCaseAndCannotGoWhileTheyHaveWindows) {
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = "RECORDER";
  EXPECT_EQ(RegisterClass(&wc), 0);  // the same name in another case
  WNDCLASS info{};
  ASSERT_TRUE(GetClassInfo(nullptr, "reCorder", &info));
  EXPECT_EQ(info.lpfnWndProc, &RecordingProc);
  EXPECT_STREQ(info.lpszClassName, "Recorder");
  HWND w = Top();
  char name[32];
  EXPECT_EQ(GetClassName(w, name, sizeof name), 8);
  EXPECT_FALSE(UnregisterClass(kClass, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  // Class longs: the background brush and cursor a window's class keeps.
  HBRUSH brush = reinterpret_cast<HBRUSH>(0x55);
  EXPECT_EQ(SetClassLong(w, GCL_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush)), 0);
  EXPECT_EQ(GetClassLong(w, GCL_HBRBACKGROUND), reinterpret_cast<LONG_PTR>(brush));
  HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
  SetClassLong(w, GCL_HCURSOR, reinterpret_cast<LONG_PTR>(wait));
  EXPECT_EQ(GetClassLong(w, GCL_HCURSOR), reinterpret_cast<LONG_PTR>(wait));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("RECORDER", nullptr));
  EXPECT_FALSE(GetClassInfo(nullptr, kClass, &info));
}

TEST_F(WindowTest, AResetStateHasTheStandardClassesAgain) {
  const char* const standard[] = {"BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR", WC_DIALOG,
                                  "#32768"};
  WNDCLASS info{};
  EXPECT_TRUE(UnregisterClass("SCROLLBAR", nullptr));
  EXPECT_TRUE(UnregisterClass(WC_DIALOG, nullptr));
  EXPECT_FALSE(GetClassInfo(nullptr, "SCROLLBAR", &info));
  win::ResetUserState();
  for (const char* name : standard) EXPECT_TRUE(GetClassInfo(nullptr, name, &info)) << name;
  // Usable at once: a control is made without registering anything.
  HWND parent = CreateWindow("STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(CreateWindow("SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 16, 50, parent, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(WindowTest, DefWindowProcKeepsTheTextAndDestroysOnClose) {
  HWND w = Top("abc");
  EXPECT_EQ(GetWindowTextLength(w), 3);
  EXPECT_TRUE(SetWindowText(w, "longer title"));
  char small[5];
  EXPECT_EQ(GetWindowText(w, small, sizeof small), 4);  // cut to the buffer
  EXPECT_STREQ(small, "long");
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
  SendMessage(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowTest, ShowAndEnableSendTheirMessagesOnlyOnChange) {
  HWND w = Top();
  received().clear();
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(EnableWindow(w, FALSE));
  EXPECT_TRUE(EnableWindow(w, FALSE));
  EXPECT_TRUE(EnableWindow(w, TRUE));
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const Received& r : Only({WM_SHOWWINDOW, WM_ENABLE})) got.push_back({r.msg, r.wp});
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_SHOWWINDOW, TRUE}, {WM_SHOWWINDOW, FALSE}, {WM_ENABLE, FALSE}, {WM_ENABLE, TRUE}};
  EXPECT_EQ(got, expected);
  // A child is visible only while its parent is.
  HWND c = Child(w, 1);
  EXPECT_FALSE(IsWindowVisible(c));
  ShowWindow(w, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(c));
}

TEST_F(WindowTest, ResetDropsWindowsWithoutCallingThemAndRestartsHandles) {
  HWND w = Top();
  SetTimer(w, 1, 10, nullptr);
  PostMessage(w, WM_USER, 0, 0);
  received().clear();
  win::ResetUserState();
  EXPECT_TRUE(received().empty());
  EXPECT_FALSE(IsWindow(w));
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  WNDCLASS wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.lpszClassName = kClass;
  ASSERT_NE(RegisterClass(&wc), 0);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(Top()), 1u);
}

TEST_F(WindowTest, DesktopIsAWindowThatCannotBeDestroyed) {
  HWND desk = GetDesktopWindow();
  EXPECT_TRUE(IsWindow(desk));
  EXPECT_FALSE(DestroyWindow(desk));
  // A window created with the desktop as parent is a top-level window.
  HWND w = CreateWindow(kClass, "", WS_OVERLAPPED, 0, 0, 5, 5, desk, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetParent(w), nullptr);
}

}  // namespace
