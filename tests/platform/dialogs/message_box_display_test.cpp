// The message box as a user sees it on a display: its icon, text, buttons
// and size, and the keys that answer it.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"
#include "user/dialogs/message_box_display.h"

namespace {

using namespace dialog_test;
using win::user::RunMessageBoxDisplay;

using MessageBoxDisplayTest = DialogTest;

TEST_F(MessageBoxDisplayTest, KeysAnswerTheBox) {
  struct Case {
    UINT type;
    std::function<void()> keys;
    int answer;
  };
  const Case cases[] = {
      {MB_YESNO, [] { Key(VK_RETURN); }, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, [] { Key(VK_RETURN); }, IDNO},
      {MB_YESNO, [] { Type("n"); }, IDNO},
      {MB_YESNO, [] { Key(VK_ESCAPE); Type("y"); }, IDYES},  // no Cancel: Escape does nothing
      {MB_OK, [] { Key(VK_ESCAPE); }, IDOK},
      {MB_OKCANCEL, [] { Key(VK_ESCAPE); }, IDCANCEL},
      {MB_OKCANCEL, [] { Key(VK_TAB); Key(VK_RETURN); }, IDCANCEL},
      {MB_YESNOCANCEL, [] { Key(VK_RIGHT); Key(VK_RIGHT); Key(VK_SPACE); }, IDCANCEL},
      {MB_ABORTRETRYIGNORE, [] { Type("i"); }, IDIGNORE},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, [] { Key(VK_RETURN); }, IDRETRY},
      {MB_RETRYCANCEL | MB_DEFBUTTON2 | MB_ICONHAND, [] { Key(VK_RETURN); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    HWND owner = Host();
    c.keys();
    EXPECT_EQ(RunMessageBoxDisplay(owner, "Delete File Cache?", "Tolm", c.type), c.answer);
    EXPECT_TRUE(IsWindowEnabled(owner));
    Pump();
    DestroyWindow(owner);
  }
}

struct Seen {
  HWND owner = nullptr;
  bool ownerEnabled = true;
  std::string caption;
  HICON icon = nullptr;
  std::vector<std::string> buttons;
  std::string text;
  RECT textRect{};
  RECT client{};
};
Seen gSeen;

// Runs inside the box's loop: looks at the box and closes it.
void CALLBACK LookAtTheBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = GetActiveWindow();
  gSeen.ownerEnabled = gSeen.owner && IsWindowEnabled(gSeen.owner);
  gSeen.caption = TextOf(box);
  GetClientRect(box, &gSeen.client);
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[16] = {};
    GetClassName(c, cls, sizeof cls);
    const std::string name = cls;
    if (name == "BUTTON") {
      gSeen.buttons.push_back(TextOf(c));
    } else if (name == "STATIC" && (GetWindowLong(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      gSeen.icon = reinterpret_cast<HICON>(SendMessage(c, STM_GETICON, 0, 0));
    } else if (name == "STATIC") {
      gSeen.text = TextOf(c);
      GetWindowRect(c, &gSeen.textRect);
    }
  }
  PostMessage(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  PostMessage(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  PostMessage(box, WM_COMMAND, MAKEWPARAM(IDABORT, BN_CLICKED), 0);
}

Seen Look(HWND owner, const char* text, UINT type) {
  gSeen = Seen{};
  gSeen.owner = owner;
  SetTimer(nullptr, 0, 10, LookAtTheBox);
  RunMessageBoxDisplay(owner, text, "Caption", type);
  return gSeen;
}

TEST_F(MessageBoxDisplayTest, TheBoxShowsItsIconTextAndButtons) {
  struct Case {
    UINT type;
    LPCSTR icon;
    std::vector<std::string> buttons;
  };
  const Case cases[] = {
      {MB_OK, nullptr, {"OK"}},
      {MB_OKCANCEL | MB_ICONHAND, IDI_HAND, {"OK", "Cancel"}},
      {MB_YESNO | MB_ICONQUESTION, IDI_QUESTION, {"&Yes", "&No"}},
      {MB_YESNOCANCEL | MB_ICONEXCLAMATION, IDI_EXCLAMATION, {"&Yes", "&No", "Cancel"}},
      {MB_ABORTRETRYIGNORE | MB_ICONASTERISK, IDI_ASTERISK, {"&Abort", "&Retry", "&Ignore"}},
  };
  HWND owner = Host();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const Seen seen = Look(owner, "Connection failed", c.type);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_EQ(seen.caption, "Caption");
    EXPECT_EQ(seen.text, "Connection failed");
    EXPECT_EQ(seen.buttons, c.buttons);
    EXPECT_EQ(seen.icon, c.icon ? LoadIcon(nullptr, c.icon) : nullptr);
  }
}

TEST_F(MessageBoxDisplayTest, TheBoxIsSizedToItsText) {
  const Seen shortBox = Look(nullptr, "Short", MB_OK);
  std::string long_text;
  for (int i = 0; i < 40; ++i) long_text += "many words ";
  const Seen longBox = Look(nullptr, long_text.c_str(), MB_OK);
  const int shortW = shortBox.textRect.right - shortBox.textRect.left;
  const int longW = longBox.textRect.right - longBox.textRect.left;
  const int shortH = shortBox.textRect.bottom - shortBox.textRect.top;
  const int longH = longBox.textRect.bottom - longBox.textRect.top;
  EXPECT_LT(shortW, 100);
  EXPECT_LE(longW, 420);  // wrapped at 420 pixels
  EXPECT_GT(longW, 300);
  EXPECT_GE(longH, 3 * shortH);
  EXPECT_GT(longBox.client.bottom, shortBox.client.bottom);
  // A box is never narrower than its buttons.
  const Seen three = Look(nullptr, "x", MB_YESNOCANCEL);
  EXPECT_GE(three.client.right, 3 * 75 + 2 * 6);
}

TEST_F(MessageBoxDisplayTest, QuitGivesTheDefaultAnswerAndStaysQueued) {
  HWND owner = Host();
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(3);
  });
  EXPECT_EQ(RunMessageBoxDisplay(owner, "text", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_TRUE(IsWindowEnabled(owner));
  MSG m{};
  EXPECT_TRUE(PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
