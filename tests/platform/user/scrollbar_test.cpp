// Scroll bars of windows: their state, showing and hiding, and the codes
// the mouse makes them send.
#include <vector>

#include "display/headless.h"
#include "recorder.h"
#include "support/user_clock.h"
#include "win/kernel.h"

using namespace user_test;
namespace hl = win::headless;

namespace {

class ScrollBarTest : public UserTest {
 protected:
  // A popup at (100, 100), 200 x 150, with a vertical bar of 0 .. 99, page 10.
  // Its bar lies at screen x 284 .. 299; arrows at y 100 .. 115 and 234 .. 249.
  HWND Scrolled(DWORD style = WS_VSCROLL) {
    HWND w = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE | style, 100, 100, 200, 150, nullptr,
                          nullptr, nullptr, nullptr);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    if (style & WS_HSCROLL) SetScrollInfo(w, SB_HORZ, &si, TRUE);
    hl::DispatchPending();
    received().clear();
    return w;
  }
  // The scroll codes (and positions) the window received.
  static std::vector<std::pair<WORD, WORD>> Codes(UINT msg = WM_VSCROLL) {
    std::vector<std::pair<WORD, WORD>> out;
    for (const Received& r : Only({msg})) out.push_back({LOWORD(r.wp), HIWORD(r.wp)});
    return out;
  }
};

TEST_F(ScrollBarTest, InfoIsKeptWithinTheRangeAndTheBarShowsWhenNeeded) {
  HWND w = CreateWindow(kClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 100);  // a new bar's range
  struct Case {
    const char* what;
    UINT mask;
    int min, max;
    UINT page;
    int pos;
    bool shown;
    int expectPos;
    UINT expectPage;
  };
  const Case cases[] = {
      {"a range that scrolls shows the bar", SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, true, 0, 10},
      {"the position stops a page before the end", SIF_POS, 0, 0, 0, 500, true, 90, 10},
      {"below the range", SIF_POS, 0, 0, 0, -5, true, 0, 10},
      {"a page larger than the range is cut", SIF_PAGE, 0, 0, 500, 0, false, 0, 100},
      {"a range that needs no bar hides it", SIF_RANGE | SIF_PAGE, 0, 9, 10, 0, false, 0, 10},
      {"a page alone does not show it", SIF_RANGE, 0, 50, 0, 0, true, 0, 10},
      {"without scrolling, disabled instead", SIF_RANGE | SIF_DISABLENOSCROLL, 0, 5, 0, 0, true, 0, 6},
  };
  for (const Case& c : cases) {
    SCROLLINFO in{sizeof in, c.mask, c.min, c.max, c.page, c.pos, 0};
    const int returned = SetScrollInfo(w, SB_VERT, &in, TRUE);
    SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(w, SB_VERT, &out);
    EXPECT_EQ(returned, c.expectPos) << c.what;
    EXPECT_EQ(out.nPos, c.expectPos) << c.what;
    EXPECT_EQ(out.nPage, c.expectPage) << c.what;
    EXPECT_EQ((GetWindowLong(w, GWL_STYLE) & WS_VSCROLL) != 0, c.shown) << c.what;
  }
  // Showing the bar narrows the client area and says so with WM_SIZE.
  ShowScrollBar(w, SB_VERT, FALSE);
  received().clear();
  ShowScrollBar(w, SB_VERT, TRUE);
  const std::vector<Received> sizes = Only({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lp), 200 - 16);
  SCROLLINFO wide{sizeof wide, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
  SetScrollInfo(w, SB_VERT, &wide, TRUE);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 3, TRUE), 0);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 3);
  EXPECT_TRUE(SetScrollRange(w, SB_VERT, 0, 0, TRUE));
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  int lo = -1, hi = -1;
  GetScrollRange(w, SB_VERT, &lo, &hi);
  EXPECT_EQ(hi, 0);
}

TEST_F(ScrollBarTest, ClicksOnTheArrowsAndBesideTheThumb) {
  struct Case {
    const char* what;
    int y;
    WORD code;
  };
  const Case cases[] = {
      {"top arrow", 105, SB_LINEUP},
      {"bottom arrow", 245, SB_LINEDOWN},
      {"below the thumb", 180, SB_PAGEDOWN},
  };
  for (const Case& c : cases) {
    win::ResetUserState();
    SetUp();
    HWND w = Scrolled();
    if (c.code == SB_LINEUP) SetScrollPos(w, SB_VERT, 50, TRUE);
    hl::Click(292, c.y);
    hl::DispatchPending();
    const std::vector<std::pair<WORD, WORD>> expected = {{c.code, 0}, {SB_ENDSCROLL, 0}};
    EXPECT_EQ(Codes(), expected) << c.what;
    EXPECT_EQ(GetCapture(), nullptr) << c.what;
  }
  // Above the thumb, once it has moved down.
  win::ResetUserState();
  SetUp();
  HWND w = Scrolled();
  SetScrollPos(w, SB_VERT, 90, TRUE);
  hl::Click(292, 130);
  hl::DispatchPending();
  EXPECT_EQ(Codes().front().first, SB_PAGEUP);
  // A disabled bar sends nothing.
  EnableScrollBar(w, SB_VERT, ESB_DISABLE_BOTH);
  received().clear();
  hl::Click(292, 245);
  hl::DispatchPending();
  EXPECT_TRUE(Codes().empty());
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithItsPosition) {
  HWND w = Scrolled();
  // The thumb: 118 * 10 / 100 = 11 pixels at the top of the track (y 116 .. 126).
  hl::PressButton(292, 121);
  hl::MoveMouse(292, 180);
  hl::DispatchPending();
  SCROLLINFO si{sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  EXPECT_EQ(si.nTrackPos, 50);
  EXPECT_EQ(si.nPos, 0);  // the window sets the position itself
  EXPECT_EQ(GetCapture(), w);
  hl::ReleaseButton(292, 180);
  hl::DispatchPending();
  const std::vector<std::pair<WORD, WORD>> expected = {
      {SB_THUMBTRACK, 50}, {SB_THUMBPOSITION, 50}, {SB_ENDSCROLL, 0}};
  EXPECT_EQ(Codes(), expected);
  EXPECT_EQ(GetCapture(), nullptr);
  // The horizontal bar sends WM_HSCROLL: its bottom-right arrow.
  received().clear();
  HWND h = Scrolled(WS_VSCROLL | WS_HSCROLL);
  hl::Click(100 + 184 - 8, 100 + 150 - 8);
  hl::DispatchPending();
  EXPECT_EQ(Codes(WM_HSCROLL).front().first, SB_LINERIGHT);
  (void)h;
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsOnATimer) {
  testing_support::TestUserClock clock;
  Scrolled();
  hl::PressButton(292, 245);
  hl::DispatchPending();
  EXPECT_EQ(Codes().size(), 1u);
  clock.Advance(199);  // the first repeat waits 200 ms
  hl::DispatchPending();
  EXPECT_EQ(Codes().size(), 1u);
  clock.Advance(1);
  hl::DispatchPending();
  EXPECT_EQ(Codes().size(), 2u);
  // Then one every 50 ms, however late the queue is read.
  clock.Advance(49);
  hl::DispatchPending();
  EXPECT_EQ(Codes().size(), 2u);
  clock.Advance(500);
  hl::DispatchPending();
  EXPECT_EQ(Codes().size(), 3u);
  hl::ReleaseButton(292, 245);
  hl::DispatchPending();
  const std::vector<std::pair<WORD, WORD>> codes = Codes();
  ASSERT_EQ(codes.size(), 4u);
  for (size_t i = 0; i + 1 < codes.size(); ++i) EXPECT_EQ(codes[i].first, SB_LINEDOWN) << i;
  EXPECT_EQ(codes.back().first, SB_ENDSCROLL);
  // The repeat stopped with the release.
  received().clear();
  clock.Advance(1000);
  hl::DispatchPending();
  EXPECT_TRUE(Codes().empty());
}

}  // namespace
