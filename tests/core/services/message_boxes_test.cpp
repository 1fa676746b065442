#include "core/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

#include "win/user.h"

namespace {

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override { win::ResetUserState(); }
  void TearDown() override { win::ResetUserState(); }
  const win::MessageBoxRecord& last() { return win::MessageBoxLog().back(); }
};

TEST_F(MessageBoxes, CaptionsIconsAndButtons) {
  struct Case {
    int (*show)();
    const char* text;
    const char* caption;
    UINT icon;
  };
  const Case cases[] = {
      {[] { return ShowInfoId(kStrErrorCaption); }, "Error !", "Information", MB_ICONINFORMATION},
      {[] { return ShowMessageId(kStrInformation); }, "Information", "Error !", MB_ICONEXCLAMATION},
      {[] { return ShowErrorText("disk full"); }, "disk full", "Error !", MB_ICONEXCLAMATION},
      {[] { return ShowErrorNumber("code ", -42); }, "code -42", "Error !", MB_ICONEXCLAMATION},
      {[] { return ShowErrorTexts("one ", "two"); }, "one two", "Error !", MB_ICONEXCLAMATION},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(c.show(), IDOK);
    ASSERT_EQ(win::MessageBoxLog().size(), 1u);
    EXPECT_EQ(last().text, c.text);
    EXPECT_EQ(last().caption, c.caption);
    EXPECT_EQ(last().type & MB_ICONMASK, c.icon) << c.text;
    EXPECT_EQ(last().type & MB_TYPEMASK, static_cast<UINT>(MB_OK)) << c.text;
  }
}

TEST_F(MessageBoxes, OwnedByTheFocusWindow) {
  WNDCLASS cls{};
  cls.lpfnWndProc = DefWindowProc;
  cls.lpszClassName = "ZemraBoxOwner";
  ASSERT_NE(RegisterClass(&cls), 0);
  HWND wnd = CreateWindow("ZemraBoxOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                          nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  SetFocus(wnd);
  ShowErrorText("x");
  ShowInfoId(kStrInformation);
  ASSERT_EQ(win::MessageBoxLog().size(), 2u);
  EXPECT_EQ(win::MessageBoxLog()[0].owner, wnd);
  EXPECT_EQ(win::MessageBoxLog()[1].owner, wnd);
}

TEST_F(MessageBoxes, FormattedTextsAreCutTo1023Bytes) {
  std::string longText(2000, 'x');
  ShowErrorTexts(longText.c_str(), "tail");
  EXPECT_EQ(last().text, std::string(1023, 'x'));
  ShowErrorNumber(std::string(1020, 'y').c_str(), 12345);
  EXPECT_EQ(last().text, std::string(1020, 'y') + "123");
}

TEST_F(MessageBoxes, UnknownStringIdShowsEmptyText) {
  ShowMessageId(999999);
  EXPECT_EQ(last().text, "");
  EXPECT_EQ(last().caption, "Error !");
}

}  // namespace
