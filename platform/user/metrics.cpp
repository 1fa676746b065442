// System metrics of a headless screen, with the sizes a Windows 95 desktop
// at 96 dots per inch reports.
#include "display/display.h"
#include "window_store.h"

namespace {

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

struct Screen {
  int width = kDefaultWidth;
  int height = kDefaultHeight;
};

Screen& screen() {
  static Screen s;
  return s;
}

constexpr int kCaption = 19;
constexpr int kFrame = 4;

}  // namespace

int GetSystemMetrics(int index) {
  win::display::Active();  // the display decides the screen size when it is chosen
  const Screen& s = screen();
  switch (index) {
    case SM_CXSCREEN: return s.width;
    case SM_CYSCREEN: return s.height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return kFrame;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return s.width;
    case SM_CYFULLSCREEN: return s.height - kCaption;
    case SM_MOUSEPRESENT: return 1;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CMOUSEBUTTONS: return 2;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMAXIMIZED: return s.width + 2 * kFrame;
    case SM_CYMAXIMIZED: return s.height + 2 * kFrame;
    default: return 0;
  }
}

namespace win {

void SetScreenSize(int width, int height) {
  display::Active();  // chosen first, so that its own size does not come later over this one
  screen().width = width > 0 ? width : kDefaultWidth;
  screen().height = height > 0 ? height : kDefaultHeight;
}

namespace user {
void ResetMetrics() { screen() = Screen{}; }
}  // namespace user

}  // namespace win
