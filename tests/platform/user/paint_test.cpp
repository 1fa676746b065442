// Update regions and WM_PAINT: coalescing, order, erasing, validation.
#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "support/user_clock.h"
#include "win/gdi.h"
#include "win/kernel.h"

using namespace user_test;
using win::headless::DispatchPending;

namespace {

class PaintTest : public UserTest {
 protected:
  HWND Shown(DWORD style = WS_POPUP) {
    HWND w = CreateWindow(kClass, "", style | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr, nullptr,
                          nullptr);
    DispatchPending();
    received().clear();
    return w;
  }
  static std::vector<UINT> Messages() {
    std::vector<UINT> out;
    for (const Received& r : received()) out.push_back(r.msg);
    return out;
  }
};

TEST_F(PaintTest, InvalidationsCoalesceIntoOnePaint) {
  HWND w = Shown();
  RECT a{0, 0, 10, 10}, b{50, 40, 60, 50};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  InvalidateRect(w, &a, FALSE);
  RECT seen{};
  reactions()[{w, WM_PAINT}] = [&](HWND wnd, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    seen = ps.rcPaint;
    EndPaint(wnd, &ps);
    return 0;
  };
  RECT pending;
  ASSERT_TRUE(GetUpdateRect(w, &pending, FALSE));
  EXPECT_EQ(pending.right, 60);
  EXPECT_EQ(DispatchPending(), 1);
  EXPECT_EQ(Only({WM_PAINT}).size(), 1u);
  EXPECT_EQ(seen.left, 0);
  EXPECT_EQ(seen.bottom, 50);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
}

TEST_F(PaintTest, PaintComesAfterPostedMessagesAndBeforeTimers) {
  testing_support::TestUserClock clock;
  HWND w = Shown();
  SetTimer(w, 1, 10, nullptr);
  clock.Advance(20);
  InvalidateRect(w, nullptr, FALSE);
  PostMessage(w, WM_USER, 0, 0);
  MSG msg;
  std::vector<UINT> order;
  for (int i = 0; i < 3 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    order.push_back(msg.message);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
  // A range without WM_PAINT does not see it; PM_NOREMOVE leaves it.
  InvalidateRect(w, nullptr, FALSE);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
  EXPECT_TRUE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE));
  EXPECT_TRUE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE));  // not taken until validated
  ValidateRect(w, nullptr);
  EXPECT_FALSE(PeekMessage(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE));
}

TEST_F(PaintTest, ParentsPaintFirstAndClipChildrenKeepsChildrenOut) {
  for (DWORD clip : {0u, static_cast<unsigned>(WS_CLIPCHILDREN)}) {
    SetUp();
    HWND top = Shown(WS_POPUP | clip);
    HWND c1 = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, top, nullptr, nullptr, nullptr);
    HWND c2 = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 60, 0, 30, 30, top, nullptr, nullptr, nullptr);
    DispatchPending();
    received().clear();
    RECT left{0, 0, 40, 40};
    InvalidateRect(top, &left, TRUE);
    DispatchPending();
    std::vector<HWND> painted;
    for (const Received& r : Only({WM_PAINT})) painted.push_back(r.wnd);
    if (clip)
      EXPECT_EQ(painted, std::vector<HWND>{top});
    else
      EXPECT_EQ(painted, (std::vector<HWND>{top, c1}));
    (void)c2;
  }
}

TEST_F(PaintTest, HiddenWindowsCollectNothingAndShowingPaintsAll) {
  HWND w = CreateWindow(kClass, "", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  EXPECT_EQ(DispatchPending(), 0);
  ShowWindow(w, SW_SHOW);
  RECT r;
  ASSERT_TRUE(GetUpdateRect(w, &r, FALSE));
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 80);
}

TEST_F(PaintTest, BeginPaintDrawsTheFrameAndErasesFirst) {
  HWND w = CreateWindow(kClass, "", WS_POPUP | WS_BORDER, 0, 0, 100, 80, nullptr, nullptr, nullptr, nullptr);
  BOOL erase = -1;
  reactions()[{w, WM_PAINT}] = [&](HWND wnd, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    erase = ps.fErase;
    EndPaint(wnd, &ps);
    return 0;
  };
  received().clear();
  ShowWindow(w, SW_SHOW);
  received().clear();
  DispatchPending();
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
  EXPECT_TRUE(erase);  // the class has no brush: WM_ERASEBKGND erased nothing
  // Without erase asked for, no WM_ERASEBKGND.
  InvalidateRect(w, nullptr, FALSE);
  received().clear();
  DispatchPending();
  EXPECT_EQ(Messages(), std::vector<UINT>{WM_PAINT});
  EXPECT_FALSE(erase);
}

TEST_F(PaintTest, AHandlerThatDoesNotPaintGetsOnePaintOnly) {
  HWND w = Shown();
  reactions()[{w, WM_PAINT}] = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
  InvalidateRect(w, nullptr, FALSE);
  EXPECT_EQ(DispatchPending(), 1);
  EXPECT_EQ(DispatchPending(), 0);
}

TEST_F(PaintTest, UpdateWindowAndRedrawWindowPaintAtOnce) {
  HWND top = Shown();
  HWND c = CreateWindow(kClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, top, nullptr, nullptr, nullptr);
  DispatchPending();
  received().clear();
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  std::vector<HWND> painted;
  for (const Received& r : Only({WM_PAINT})) painted.push_back(r.wnd);
  EXPECT_EQ(painted, (std::vector<HWND>{top, c}));
  EXPECT_EQ(DispatchPending(), 0);

  // An internal paint: WM_PAINT with nothing to draw.
  RedrawWindow(top, nullptr, nullptr, RDW_INTERNALPAINT | RDW_NOCHILDREN);
  RECT seen{1, 1, 1, 1};
  reactions()[{top, WM_PAINT}] = [&](HWND wnd, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    seen = ps.rcPaint;
    EndPaint(wnd, &ps);
    return 0;
  };
  EXPECT_EQ(DispatchPending(), 1);
  EXPECT_TRUE(IsRectEmpty(&seen));

  // Validation takes part of the region away.
  InvalidateRect(top, nullptr, FALSE);
  RECT left{0, 0, 50, 80};
  ValidateRect(top, &left);
  RECT rest;
  ASSERT_TRUE(GetUpdateRect(top, &rest, FALSE));
  EXPECT_EQ(rest.left, 50);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), SIMPLEREGION);
  RECT box;
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.left, 50);
  DeleteObject(rgn);
}

}  // namespace
