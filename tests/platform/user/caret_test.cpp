// The caret: drawn by inversion, blinking on the system timer, hidden while
// the window paints, following ScrollWindow.
#include "display/headless.h"
#include "recorder.h"
#include "support/user_clock.h"
#include "win/gdi.h"
#include "win/kernel.h"

using namespace user_test;
namespace hl = win::headless;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

class CaretTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    WNDCLASS wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "White";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClass(&wc), 0);
    wnd_ = CreateWindow("White", "", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40, nullptr, nullptr, nullptr, nullptr);
    hl::DispatchPending();
  }
  std::uint32_t Pixel(int x, int y) {
    auto picture = hl::CaptureWindow(wnd_);
    return picture ? picture->At(x, y) : 0xDEAD;
  }
  HWND wnd_ = nullptr;
};

TEST_F(CaretTest, ShowingInvertsAndBlinkingTogglesOnTheSystemTimer) {
  testing_support::TestUserClock clock;
  ASSERT_TRUE(CreateCaret(wnd_, nullptr, 2, 10));
  SetCaretPos(5, 6);
  EXPECT_EQ(Pixel(5, 6), kWhite);  // a new caret is hidden
  SetCaretBlinkTime(30);
  ShowCaret(wnd_);
  EXPECT_EQ(Pixel(5, 6), kBlack);
  EXPECT_EQ(Pixel(6, 15), kBlack);
  EXPECT_EQ(Pixel(7, 6), kWhite);
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.y, 6);
  // The blink comes as WM_SYSTIMER, which the window procedure never sees.
  MSG msg;
  clock.Advance(29);
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
  clock.Advance(1);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_SYSTIMER));
  received().clear();
  DispatchMessage(&msg);
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(Pixel(5, 6), kWhite);
  clock.Advance(40);
  hl::DispatchPending();
  EXPECT_EQ(Pixel(5, 6), kBlack);
  // Hidden twice, it needs two shows.
  HideCaret(wnd_);
  HideCaret(wnd_);
  EXPECT_EQ(Pixel(5, 6), kWhite);
  ShowCaret(wnd_);
  EXPECT_EQ(Pixel(5, 6), kWhite);
  ShowCaret(wnd_);
  EXPECT_EQ(Pixel(5, 6), kBlack);
  // Moving it takes it away from the old place.
  SetCaretPos(20, 6);
  EXPECT_EQ(Pixel(5, 6), kWhite);
  EXPECT_EQ(Pixel(20, 6), kBlack);
  DestroyCaret();
  EXPECT_EQ(Pixel(20, 6), kWhite);
  clock.Advance(40);
  EXPECT_EQ(hl::DispatchPending(), 0);  // no blinking without a caret
}

TEST_F(CaretTest, PaintingHidesTheCaretUntilEndPaint) {
  CreateCaret(wnd_, nullptr, 2, 10);
  SetCaretPos(5, 6);
  ShowCaret(wnd_);
  std::uint32_t during = 0xDEAD;
  reactions()[{wnd_, WM_PAINT}] = [&](HWND w, UINT, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    BeginPaint(w, &ps);
    during = Pixel(5, 6);
    EndPaint(w, &ps);
    return 0;
  };
  InvalidateRect(wnd_, nullptr, TRUE);
  hl::DispatchPending();
  EXPECT_EQ(during, kWhite);
  EXPECT_EQ(Pixel(5, 6), kBlack);  // erased under it, drawn again after
}

TEST_F(CaretTest, ScrollingMovesTheCaretWithThePixels) {
  CreateCaret(wnd_, nullptr, 2, 10);
  SetCaretPos(5, 6);
  ShowCaret(wnd_);
  ScrollWindow(wnd_, 0, 10, nullptr, nullptr);
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.y, 16);
  hl::DispatchPending();  // the uncovered strip is painted white
  EXPECT_EQ(Pixel(5, 6), kWhite);
  EXPECT_EQ(Pixel(5, 16), kBlack);
  EXPECT_EQ(Pixel(5, 25), kBlack);
  EXPECT_EQ(Pixel(5, 26), kWhite);
}

}  // namespace
