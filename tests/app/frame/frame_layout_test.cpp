// Where the main window and the page area lie, from the INIT settings
// MainWindow and Window, and the background colour from MainWindowColor.
#include <gtest/gtest.h>

#include "app/frame/frame_layout.h"

namespace app_test {
namespace {

TEST(FrameLayout, RectangleTextsWithinTheScreen) {
  const RECT screen{0, 0, 1024, 768};
  struct Case {
    const char* text;
    RECT expected;
  } cases[] = {
      {nullptr, {0, 0, 1024, 768}},
      {"", {0, 0, 1024, 768}},
      {"no digits", {0, 0, 1024, 768}},
      {"100,50,640,480", {100, 50, 740, 530}},
      {" 100 , 50 , 640 , 480 ", {100, 50, 740, 530}},
      // Reaching past the right and bottom edges: cut there.
      {"800,600,640,480", {800, 600, 1024, 768}},
      // An x outside the screen centres the window.
      {"2000,50,640,480", {192, 50, 832, 530}},
      // A width of 0 or a missing one spans the screen.
      {"10,10,0,0", {10, 10, 1024, 768}},
      {"10,10", {10, 10, 1024, 768}},
      // Wider than the screen and off it: cut to the screen first, so the
      // window stays on the screen instead of being centred off its left.
      {"5000,5000,3000,2000", {0, 0, 1024, 768}},
      // A minus sign reads as a missing number and stops the reading.
      {"-5,20,100,100", {0, 0, 1024, 768}},
  };
  for (const Case& c : cases) {
    const RECT r = ParseWindowRect(c.text, screen);
    EXPECT_EQ(r.left, c.expected.left) << (c.text ? c.text : "(null)");
    EXPECT_EQ(r.top, c.expected.top) << (c.text ? c.text : "(null)");
    EXPECT_EQ(r.right, c.expected.right) << (c.text ? c.text : "(null)");
    EXPECT_EQ(r.bottom, c.expected.bottom) << (c.text ? c.text : "(null)");
  }
}

TEST(FrameLayout, ColourIsReadAsRedGreenBlue) {
  EXPECT_EQ(ParseWindowColor("0xFF0000"), RGB(255, 0, 0));
  EXPECT_EQ(ParseWindowColor("0x0000ff"), RGB(0, 0, 255));
  EXPECT_EQ(ParseWindowColor("0x123456"), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(ParseWindowColor("red"), RGB(0, 0, 0));
  EXPECT_EQ(ParseWindowColor(nullptr), RGB(0, 0, 0));
}

}  // namespace
}  // namespace app_test
