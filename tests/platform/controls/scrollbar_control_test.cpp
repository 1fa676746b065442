// Scroll-bar controls: the SBM_ messages and what the mouse and keys tell
// the parent.
#include <vector>

#include "platform/dialogs/dialog_fixture.h"

namespace {

using namespace dialog_test;

class ScrollBarControlTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host(0, 0, 300, 300);
    bar_ = Control(host_, "SCROLLBAR", "", SBS_VERT, 80, 20, 20, 16, 200);
    ASSERT_NE(bar_, nullptr);
    SendMessage(bar_, SBM_SETRANGE, 0, 100);
    SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 10, 0, 0};
    SendMessage(bar_, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si));
    notes().clear();
  }
  // The scroll codes (and positions) the parent heard.
  static std::vector<std::pair<int, int>> Heard() {
    std::vector<std::pair<int, int>> out;
    for (const Note& n : notes())
      if (n.msg == WM_VSCROLL) out.emplace_back(LOWORD(n.wp), static_cast<SHORT>(HIWORD(n.wp)));
    return out;
  }
  POINT At(int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar_, &p);
    return p;
  }
  HWND host_ = nullptr, bar_ = nullptr;
};

TEST_F(ScrollBarControlTest, TheMessagesKeepThePositionInRange) {
  EXPECT_EQ(SendMessage(bar_, SBM_SETPOS, 50, TRUE), 0);
  EXPECT_EQ(SendMessage(bar_, SBM_GETPOS, 0, 0), 50);
  EXPECT_EQ(SendMessage(bar_, SBM_SETPOS, 500, TRUE), 50);
  EXPECT_EQ(SendMessage(bar_, SBM_GETPOS, 0, 0), 91);  // max - page + 1
  SendMessage(bar_, SBM_SETPOS, -5, TRUE);
  EXPECT_EQ(SendMessage(bar_, SBM_GETPOS, 0, 0), 0);
  int lo = -1, hi = -1;
  SendMessage(bar_, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 100);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(SendMessage(bar_, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si)));
  EXPECT_EQ(si.nPage, 10u);
  EXPECT_EQ(SendMessage(bar_, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarControlTest, ArrowsTrackAndThumbTellTheParent) {
  // The down arrow is the bottom 16 pixels; the thumb starts under the top arrow.
  POINT down = At(8, 192);
  win::headless::Click(down.x, down.y);
  Pump();
  EXPECT_EQ(Heard(), (std::vector<std::pair<int, int>>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  notes().clear();
  POINT track = At(8, 150);
  win::headless::Click(track.x, track.y);
  Pump();
  EXPECT_EQ(Heard(), (std::vector<std::pair<int, int>>{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  // Dragging the thumb to the bottom tracks to the highest position.
  notes().clear();
  POINT thumb = At(8, 20);
  POINT bottom = At(8, 250);
  win::headless::PressButton(thumb.x, thumb.y);
  win::headless::MoveMouse(bottom.x, bottom.y);
  win::headless::ReleaseButton(bottom.x, bottom.y);
  Pump();
  const auto heard = Heard();
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard[0], std::make_pair(static_cast<int>(SB_THUMBTRACK), 91));
  EXPECT_EQ(heard[heard.size() - 2], std::make_pair(static_cast<int>(SB_THUMBPOSITION), 91));
  EXPECT_EQ(heard.back().first, SB_ENDSCROLL);
  // The control leaves its position to the parent.
  EXPECT_EQ(SendMessage(bar_, SBM_GETPOS, 0, 0), 0);
  // Keys, when it has the focus.
  notes().clear();
  SetFocus(bar_);
  Key(VK_NEXT);
  Key(VK_HOME);
  Pump();
  EXPECT_EQ(Heard(), (std::vector<std::pair<int, int>>{
                         {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_TOP, 0}, {SB_ENDSCROLL, 0}}));
  // A disabled arrow does nothing.
  notes().clear();
  SendMessage(bar_, SBM_ENABLE_ARROWS, ESB_DISABLE_DOWN, 0);
  win::headless::Click(down.x, down.y);
  Pump();
  EXPECT_TRUE(Heard().empty());
}

TEST_F(ScrollBarControlTest, TheScrollBarFunctionsWorkOnTheControlWithSbCtl) {
  // The bar's own state answers, not the (absent) standard bars of the window.
  EXPECT_TRUE(SetScrollRange(bar_, SB_CTL, 10, 60, TRUE));
  int lo = -1, hi = -1;
  EXPECT_TRUE(GetScrollRange(bar_, SB_CTL, &lo, &hi));
  EXPECT_EQ(lo, 10);
  EXPECT_EQ(hi, 60);
  EXPECT_EQ(SetScrollPos(bar_, SB_CTL, 30, TRUE), 10);  // the old position
  EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 30);
  EXPECT_EQ(SendMessage(bar_, SBM_GETPOS, 0, 0), 30);
  EXPECT_EQ(GetScrollPos(bar_, SB_VERT), 0);
  SCROLLINFO si{sizeof si, SIF_PAGE | SIF_POS, 0, 0, 20, 99, 0};
  EXPECT_EQ(SetScrollInfo(bar_, SB_CTL, &si, TRUE), 41);  // kept within max - page + 1
  SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(bar_, SB_CTL, &got));
  EXPECT_EQ(got.nMin, 10);
  EXPECT_EQ(got.nMax, 60);
  EXPECT_EQ(got.nPage, 20u);
  EXPECT_EQ(got.nPos, 41);
  // The widest range an int holds keeps the position in it.
  EXPECT_TRUE(SetScrollRange(bar_, SB_CTL, -0x40000000, 0x3FFFFFFF, FALSE));
  SetScrollPos(bar_, SB_CTL, 0x3FFFFFFF, TRUE);
  EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 0x3FFFFFFF - 19);
  UpdateWindow(host_);
  // Arrows and visibility go to the control as a window.
  EXPECT_TRUE(EnableScrollBar(bar_, SB_CTL, ESB_DISABLE_BOTH));
  const POINT down = At(8, 192);
  win::headless::Click(down.x, down.y);
  Pump();
  EXPECT_TRUE(Heard().empty());
  EXPECT_TRUE(ShowScrollBar(bar_, SB_CTL, FALSE));
  EXPECT_FALSE(IsWindowVisible(bar_));
  EXPECT_FALSE(GetWindowLong(bar_, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_FALSE(GetScrollInfo(nullptr, SB_CTL, &got));
}

}  // namespace
