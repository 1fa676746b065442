// Window geometry: the client area each style leaves, coordinates, Z order,
// SetWindowPos and its messages, finding windows by position.
#include <vector>

#include "recorder.h"
#include "win/kernel.h"

using namespace user_test;

namespace {

using GeometryTest = UserTest;

RECT ClientInWindow(HWND w) {
  RECT win, client;
  GetWindowRect(w, &win);
  GetClientRect(w, &client);
  POINT o{0, 0};
  ClientToScreen(w, &o);
  return RECT{o.x - win.left, o.y - win.top, o.x - win.left + client.right, o.y - win.top + client.bottom};
}

TEST_F(GeometryTest, EachStyleLeavesItsClientArea) {
  struct Case {
    const char* what;
    DWORD style;
    DWORD exStyle;
    RECT client;  // in a 100 x 80 window
  };
  const Case cases[] = {
      {"popup", WS_POPUP, 0, {0, 0, 100, 80}},
      {"thin border", WS_POPUP | WS_BORDER, 0, {1, 1, 99, 79}},
      {"dialog frame", WS_POPUP | WS_DLGFRAME, 0, {3, 3, 97, 77}},
      {"sizing frame", WS_POPUP | WS_THICKFRAME, 0, {4, 4, 96, 76}},
      {"caption", WS_POPUP | WS_CAPTION, 0, {3, 22, 97, 77}},
      {"overlapped window", WS_OVERLAPPEDWINDOW, 0, {4, 23, 96, 76}},
      {"vertical bar", WS_POPUP | WS_VSCROLL, 0, {0, 0, 84, 80}},
      {"both bars", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 84, 64}},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 98, 78}},
      {"static edge", WS_POPUP, WS_EX_STATICEDGE, {1, 1, 99, 79}},
      {"edit field", WS_POPUP | WS_BORDER | WS_VSCROLL, WS_EX_CLIENTEDGE, {3, 3, 81, 77}},
  };
  for (const Case& c : cases) {
    HWND w = CreateWindowEx(c.exStyle, kClass, "", c.style, 10, 20, 100, 80, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(w, nullptr) << c.what;
    const RECT got = ClientInWindow(w);
    EXPECT_TRUE(EqualRect(&got, &c.client))
        << c.what << ": " << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    // AdjustWindowRectEx goes back from the client area (scroll bars aside).
    if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
      RECT r{0, 0, c.client.right - c.client.left, c.client.bottom - c.client.top};
      AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
      EXPECT_EQ(r.right - r.left, 100) << c.what;
      EXPECT_EQ(r.bottom - r.top, 80) << c.what;
    }
    DestroyWindow(w);
  }
}

TEST_F(GeometryTest, HitTestNamesTheFrameParts) {
  HWND w = CreateWindow(kClass, "t", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, 100, 100, 200,
                        150, nullptr, nullptr, nullptr, nullptr);
  struct Case {
    int x, y;  // window coordinates
    LRESULT hit;
  };
  const Case cases[] = {
      {50, 10, HTCAPTION},   {190, 10, HTCLOSE},       {8, 10, HTSYSMENU},  {50, 60, HTCLIENT},
      {185, 60, HTVSCROLL},  {50, 135, HTHSCROLL},     {185, 135, HTSIZE},  {1, 60, HTLEFT},
      {198, 60, HTRIGHT},    {100, 1, HTTOP},          {100, 148, HTBOTTOM}, {1, 1, HTTOPLEFT},
      {198, 148, HTBOTTOMRIGHT}, {-5, 60, HTNOWHERE},
  };
  for (const Case& c : cases) {
    const LRESULT hit = SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(100 + c.x, 100 + c.y));
    EXPECT_EQ(hit, c.hit) << c.x << "," << c.y;
  }
}

TEST_F(GeometryTest, CoordinatesOfNestedChildren) {
  HWND top = CreateWindow(kClass, "", WS_POPUP | WS_BORDER, 100, 50, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
  HWND a = CreateWindowEx(WS_EX_CLIENTEDGE, kClass, "", WS_CHILD | WS_VISIBLE, 10, 20, 100, 100, top,
                          nullptr, nullptr, nullptr);
  HWND b = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 5, 6, 30, 30, a, nullptr, nullptr, nullptr);
  RECT r;
  GetWindowRect(b, &r);
  // 100 + 1 (border) + 10 + 2 (edge) + 5
  EXPECT_EQ(r.left, 118);
  EXPECT_EQ(r.top, 50 + 1 + 20 + 2 + 6);
  POINT p{0, 0};
  ClientToScreen(b, &p);
  EXPECT_EQ(p.x, 118);
  ScreenToClient(a, &p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 6);
  POINT pts[2] = {{0, 0}, {1, 1}};
  const int offset = MapWindowPoints(b, top, pts, 2);
  EXPECT_EQ(pts[0].x, 10 + 2 + 5);
  EXPECT_EQ(pts[1].y, 20 + 2 + 6 + 1);
  EXPECT_EQ(static_cast<SHORT>(LOWORD(offset)), 17);
  MapWindowPoints(top, nullptr, pts, 1);  // null: the screen
  EXPECT_EQ(pts[0].x, 101 + 17);
}

TEST_F(GeometryTest, SetWindowPosSendsChangingChangedThenMoveAndSize) {
  HWND top = Top();
  HWND c = Child(top, 1);
  received().clear();
  SetWindowPos(c, nullptr, 7, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  std::vector<UINT> got;
  for (const Received& r : received()) got.push_back(r.msg);
  EXPECT_EQ(got, (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
  EXPECT_EQ(received().back().lp, MAKELPARAM(7, 8));

  // A handler of WM_WINDOWPOSCHANGING may change where the window goes.
  reactions()[{c, WM_WINDOWPOSCHANGING}] = [](HWND, UINT, WPARAM, LPARAM lp) -> LRESULT {
    reinterpret_cast<WINDOWPOS*>(lp)->cx = 11;
    return 0;
  };
  received().clear();
  MoveWindow(c, 7, 8, 50, 40, TRUE);
  const std::vector<Received> sizes = Only({WM_SIZE, WM_MOVE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].msg, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(sizes[0].lp, MAKELPARAM(11, 40));
  RECT rc;
  GetClientRect(c, &rc);
  EXPECT_EQ(rc.right, 11);
  // Negative sizes count as nothing.
  MoveWindow(c, -10000, -10000, -1, -1, FALSE);
  GetClientRect(c, &rc);
  EXPECT_EQ(rc.right, 11);  // the handler still sets cx
  reactions().clear();
  MoveWindow(c, -10000, -10000, -1, -1, FALSE);
  GetClientRect(c, &rc);
  EXPECT_EQ(rc.right, 0);
  EXPECT_EQ(rc.bottom, 0);
}

TEST_F(GeometryTest, CreationReportsTheClientSizeAndOrigin) {
  HWND w = CreateWindow(kClass, "", WS_POPUP | WS_BORDER | WS_VSCROLL, 30, 40, 100, 80, nullptr,
                        nullptr, nullptr, nullptr);
  const std::vector<Received> got = Only({WM_SIZE, WM_MOVE});
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].lp, MAKELPARAM(100 - 2 - 16, 80 - 2));
  EXPECT_EQ(got[1].lp, MAKELPARAM(31, 41));
  (void)w;
}

TEST_F(GeometryTest, ZOrderOfChildrenAndTopLevelWindows) {
  HWND top = Top();
  HWND a = Child(top, 1), b = Child(top, 2), c = Child(top, 3);
  // New children go to the bottom: creation order is Z order.
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), nullptr);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(top), c);
  SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // behind b
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), a);

  // Top-level windows: the newest is on top, but topmost ones stay above.
  HWND pinned = CreateWindowEx(WS_EX_TOPMOST, kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  HWND later = CreateWindow(kClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetTopWindow(nullptr), pinned);
  EXPECT_EQ(GetWindow(pinned, GW_HWNDNEXT), later);
  BringWindowToTop(top);
  EXPECT_EQ(GetTopWindow(nullptr), pinned);
  EXPECT_EQ(GetWindow(pinned, GW_HWNDNEXT), top);
  SetWindowPos(pinned, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLong(pinned, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(top, GW_OWNER), nullptr);
}

TEST_F(GeometryTest, WindowFromPointFindsTheDeepestShownEnabledWindow) {
  HWND top = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                          nullptr, nullptr);
  HWND a = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, top, nullptr, nullptr, nullptr);
  HWND a1 = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, a, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindow(kClass, "", WS_CHILD, 50, 50, 20, 20, a, nullptr, nullptr, nullptr);
  HWND off = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 80, 80, 20, 20, a, nullptr,
                          nullptr, nullptr);
  struct Case {
    POINT pt;
    HWND expected;
  };
  const Case cases[] = {
      {{25, 25}, a1}, {{15, 15}, a}, {{65, 65}, a}, {{95, 95}, a}, {{150, 150}, top}, {{500, 5}, nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(WindowFromPoint(c.pt), c.expected) << c.pt.x << "," << c.pt.y;
  // ChildWindowFromPoint looks one level down and sees hidden and disabled children.
  EXPECT_EQ(ChildWindowFromPoint(a, POINT{55, 55}), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(a, POINT{55, 55}, CWP_SKIPINVISIBLE), a);
  EXPECT_EQ(ChildWindowFromPoint(a, POINT{85, 85}), off);
  EXPECT_EQ(ChildWindowFromPoint(a, POINT{500, 5}), nullptr);
}

TEST_F(GeometryTest, MaximizeAndRestoreKeepTheNormalPlace) {
  HWND w = CreateWindow(kClass, "", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr, nullptr,
                        nullptr);
  received().clear();
  ShowWindow(w, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, -4);
  EXPECT_EQ(r.right, 1024 + 4);
  const std::vector<Received> sizes = Only({WM_SIZE});
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().wp, static_cast<WPARAM>(SIZE_MAXIMIZED));
  EXPECT_EQ(GetActiveWindow(), w);
  WINDOWPLACEMENT wp{};
  GetWindowPlacement(w, &wp);
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(wp.rcNormalPosition.left, 10);
  ShowWindow(w, SW_RESTORE);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 220);
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(WindowFromPoint(POINT{50, 50}), nullptr);
}

}  // namespace
