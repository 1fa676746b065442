#include "recorder.h"

using namespace user_test;

namespace {

using FocusTest = UserTest;

TEST_F(FocusTest, SetFocusSendsKillThenSetAndReturnsTheOldFocus) {
  HWND top = Top();
  HWND a = Child(top, 1);
  HWND b = Child(top, 2);
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetActiveWindow(), top);  // the focus activated its top-level window
  received().clear();
  EXPECT_EQ(SetFocus(b), a);
  const std::vector<Received> expected = {{a, WM_KILLFOCUS, 0, 0}, {b, WM_SETFOCUS, 0, 0}};
  ASSERT_EQ(received(), expected);
  EXPECT_EQ(received()[0].wp, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(received()[1].wp, reinterpret_cast<WPARAM>(a));
  // The same window again: nothing is sent.
  received().clear();
  EXPECT_EQ(SetFocus(b), b);
  EXPECT_TRUE(received().empty());
  // A bad window changes nothing.
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(999)), nullptr);
  EXPECT_EQ(GetFocus(), b);
  // Null takes the focus away.
  EXPECT_EQ(SetFocus(nullptr), b);
  EXPECT_EQ(Only({WM_KILLFOCUS}).size(), 1u);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FocusTest, ActivationSendsActivateAndMovesTheFocus) {
  HWND one = Top("one");
  HWND two = Top("two");
  EXPECT_EQ(SetActiveWindow(one), nullptr);
  EXPECT_EQ(GetFocus(), one);  // DefWindowProc gives an activated window the focus
  received().clear();
  EXPECT_EQ(SetActiveWindow(two), one);
  std::vector<std::pair<HWND, WORD>> got;
  for (const Received& r : Only({WM_ACTIVATE})) got.push_back({r.wnd, LOWORD(r.wp)});
  const std::vector<std::pair<HWND, WORD>> expected = {{one, WA_INACTIVE}, {two, WA_ACTIVE}};
  EXPECT_EQ(got, expected);
  EXPECT_EQ(GetFocus(), two);
  // Child windows are not activated.
  HWND c = Child(two, 3);
  EXPECT_EQ(SetActiveWindow(c), two);
  EXPECT_EQ(GetActiveWindow(), two);
}

TEST_F(FocusTest, DestroyingTheFocusWindowMovesTheFocusToItsParent) {
  HWND top = Top();
  HWND c = Child(top, 1);
  SetFocus(c);
  received().clear();
  DestroyWindow(c);
  EXPECT_EQ(GetFocus(), top);
  // WM_KILLFOCUS came before WM_DESTROY.
  const std::vector<Received> order = Only({WM_KILLFOCUS, WM_DESTROY});
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0].msg, static_cast<UINT>(WM_KILLFOCUS));
  DestroyWindow(top);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(FocusTest, DisablingTheFocusWindowTakesTheFocusAway) {
  HWND top = Top();
  HWND c = Child(top, 1);
  SetFocus(c);
  EnableWindow(top, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace
