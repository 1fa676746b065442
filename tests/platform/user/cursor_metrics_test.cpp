#include <cstring>

#include "recorder.h"

using namespace user_test;

namespace {

using CursorTest = UserTest;

TEST_F(CursorTest, LoadCursorGivesStableHandlesForKnownNames) {
  struct Case {
    LPCSTR name;
    const char* shape;  // null: unknown
  };
  const Case cases[] = {
      {IDC_ARROW, "left_ptr"},
      {IDC_WAIT, "watch"},
      {IDC_IBEAM, "xterm"},
      {"BUSYCURSOR", "watch"},
      {"busycursor", "watch"},
      {MAKEINTRESOURCE(135), "hand2"},
      {"#135", "hand2"},
      {"NOSUCHCURSOR", nullptr},
      {MAKEINTRESOURCE(4242), nullptr},
  };
  for (const Case& c : cases) {
    HCURSOR h = LoadCursor(nullptr, c.name);
    if (!c.shape) {
      EXPECT_EQ(h, nullptr);
      continue;
    }
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(win::CursorShapeName(h), c.shape);
    EXPECT_EQ(LoadCursor(reinterpret_cast<HINSTANCE>(1), c.name), h);  // the same every time
  }
  EXPECT_NE(LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_WAIT));
  EXPECT_EQ(win::CursorShapeName(nullptr), nullptr);
}

TEST_F(CursorTest, SetCursorReturnsThePreviousOne) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR busy = LoadCursor(nullptr, "BUSYCURSOR");
  EXPECT_EQ(GetCursor(), arrow);  // a program starts with the arrow
  EXPECT_EQ(SetCursor(busy), arrow);
  EXPECT_EQ(SetCursor(busy), busy);
  EXPECT_EQ(SetCursor(nullptr), busy);
  EXPECT_EQ(GetCursor(), nullptr);
  win::ResetUserState();
  EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(CursorTest, CursorPositionStaysOnTheScreenAndShowCounts) {
  POINT p{};
  SetCursorPos(5000, -3);
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 1023);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(ShowCursor(TRUE), -1);
}

TEST_F(CursorTest, MetricsOfTheHeadlessScreen) {
  EXPECT_TRUE(win::IsHeadless());
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), 32);
  EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYBORDER));
  EXPECT_EQ(GetSystemMetrics(9999), 0);
  win::SetScreenSize(640, 480);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 480 - GetSystemMetrics(SM_CYCAPTION));
  win::ResetUserState();
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

}  // namespace
