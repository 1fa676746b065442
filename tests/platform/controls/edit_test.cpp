// Edit controls driven by keys and the mouse: notifications, styles,
// selection, the clipboard, and the EM_ messages.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_fixture.h"
#include "win/kernel.h"

namespace {

using namespace dialog_test;

class EditTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    host_ = Host(0, 0, 500, 400);
    // The clipboard outlives windows: start each test from an empty one.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
  }
  HWND Edit(DWORD style, int id = 50, int w = 300, int h = 24, const char* text = "") {
    HWND e = Control(host_, "EDIT", text, style, id, 10, 10 + (id - 50) * 30, w, h, WS_EX_CLIENTEDGE);
    SetFocus(e);
    Pump();
    notes().clear();
    return e;
  }
  static std::pair<DWORD, DWORD> Sel(HWND e) {
    DWORD a = 0, b = 0;
    SendMessage(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
  }
  static std::string Clipboard() {
    std::string out;
    if (!OpenClipboard(nullptr)) return out;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
      if (const char* p = static_cast<const char*>(GlobalLock(h))) {
        out = p;
        GlobalUnlock(h);
      }
    }
    CloseClipboard();
    return out;
  }
  HWND host_ = nullptr;
};

TEST_F(EditTest, TypingUpdatesThenTellsOfTheChange) {
  HWND e = Edit(ES_AUTOHSCROLL);
  SetFocus(host_);
  SetFocus(e);
  Type("ab");
  Pump();
  EXPECT_EQ(TextOf(e), "ab");
  EXPECT_EQ(Codes(50), (std::vector<int>{EN_KILLFOCUS, EN_SETFOCUS, EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
  EXPECT_TRUE(SendMessage(e, EM_GETMODIFY, 0, 0));
  SendMessage(e, EM_SETMODIFY, FALSE, 0);
  EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
  // WM_SETTEXT tells a single-line edit's parent too, but not a multi-line one's.
  notes().clear();
  SetWindowText(e, "set");
  EXPECT_EQ(Codes(50), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
  HWND multi = Edit(ES_MULTILINE, 51, 300, 60);
  SetWindowText(multi, "set");
  EXPECT_TRUE(Codes(51).empty());
  EXPECT_FALSE(SendMessage(e, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, StylesShapeWhatTypingDoes) {
  struct Case {
    DWORD style;
    int width;
    size_t limit;
    const char* typed;
    const char* result;
    bool maxText;
  };
  const Case cases[] = {
      {ES_NUMBER | ES_AUTOHSCROLL, 300, 0, "a1b2", "12", false},
      {ES_UPPERCASE | ES_AUTOHSCROLL, 300, 0, "MiXed 9", "MIXED 9", false},
      {ES_LOWERCASE | ES_AUTOHSCROLL, 300, 0, "MiXed", "mixed", false},
      {ES_READONLY | ES_AUTOHSCROLL, 300, 0, "abc", "", false},
      {ES_AUTOHSCROLL, 300, 3, "abcdef", "abc", true},
      // Without ES_AUTOHSCROLL a single line holds what its width shows.
      {0, 40, 0, "wwwwwwwwwwwwwwww", nullptr, true},
  };
  int id = 50;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HWND e = Edit(c.style, id, c.width);
    if (c.limit) SendMessage(e, EM_LIMITTEXT, c.limit, 0);
    Type(c.typed);
    Pump();
    const std::string text = TextOf(e);
    if (c.result) {
      EXPECT_EQ(text, c.result);
    } else {
      EXPECT_GT(text.size(), 0u);
      EXPECT_LT(text.size(), std::strlen(c.typed));
    }
    const auto codes = Codes(id);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_MAXTEXT) > 0, c.maxText);
    ++id;
  }
}

TEST_F(EditTest, KeysMoveAndSelect) {
  struct Case {
    const char* name;
    std::function<void()> keys;
    DWORD start, end;
    const char* text;
  };
  const Case cases[] = {
      {"Home, Shift+End", [] { Key(VK_HOME); Chord({VK_SHIFT}, VK_END); }, 0, 11, "hello world"},
      {"Ctrl+Left", [] { Chord({VK_CONTROL}, VK_LEFT); }, 6, 6, "hello world"},
      {"Ctrl+Shift+Right from Home", [] { Key(VK_HOME); Chord({VK_CONTROL, VK_SHIFT}, VK_RIGHT); }, 0, 6,
       "hello world"},
      {"Shift+Right after two steps", [] { Key(VK_HOME); Key(VK_RIGHT); Key(VK_RIGHT); Chord({VK_SHIFT}, VK_RIGHT); },
       2, 3, "hello world"},
      {"typing replaces the selection",
       [] { Key(VK_HOME); Chord({VK_CONTROL, VK_SHIFT}, VK_RIGHT); Type("X"); }, 1, 1, "Xworld"},
      {"Delete and Backspace", [] { Key(VK_HOME); Key(VK_DELETE); Key(VK_END); Key(VK_BACK); }, 9, 9, "ello worl"},
      {"Left collapses a selection to its start",
       [] { Chord({VK_SHIFT}, VK_HOME); Key(VK_LEFT); }, 0, 0, "hello world"},
  };
  int id = 50;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND e = Edit(ES_AUTOHSCROLL, id++);
    Type("hello world");
    Pump();
    c.keys();
    Pump();
    EXPECT_EQ(Sel(e), std::make_pair(c.start, c.end));
    EXPECT_EQ(TextOf(e), c.text);
  }
}

TEST_F(EditTest, CutCopyPasteAndUndoThroughTheClipboard) {
  HWND e = Edit(ES_AUTOHSCROLL);
  Type("copy me");
  Pump();
  Key(VK_HOME);
  Chord({VK_CONTROL, VK_SHIFT}, VK_RIGHT);
  Chord({VK_CONTROL}, 'C');
  Pump();
  EXPECT_EQ(Clipboard(), "copy ");
  Key(VK_END);
  Chord({VK_CONTROL}, 'V');
  Pump();
  EXPECT_EQ(TextOf(e), "copy mecopy ");
  Chord({VK_CONTROL}, 'Z');
  Pump();
  EXPECT_EQ(TextOf(e), "copy me");
  Chord({VK_SHIFT}, VK_HOME);
  Chord({VK_SHIFT}, VK_DELETE);  // cut
  Pump();
  EXPECT_EQ(TextOf(e), "");
  EXPECT_EQ(Clipboard(), "copy me");
  Chord({VK_SHIFT}, VK_INSERT);  // paste
  Chord({VK_SHIFT}, VK_INSERT);
  Pump();
  EXPECT_EQ(TextOf(e), "copy mecopy me");
  // The messages do the same.
  SendMessage(e, EM_SETSEL, 0, 4);
  SendMessage(e, WM_CUT, 0, 0);
  EXPECT_EQ(Clipboard(), "copy");
  EXPECT_EQ(TextOf(e), " mecopy me");
  SendMessage(e, EM_SETSEL, 0, -1);
  SendMessage(e, WM_CLEAR, 0, 0);
  EXPECT_EQ(TextOf(e), "");
  EXPECT_TRUE(SendMessage(e, EM_CANUNDO, 0, 0));
  SendMessage(e, WM_UNDO, 0, 0);
  EXPECT_EQ(TextOf(e), " mecopy me");
  // A password is never copied; pasting into a single line stops at the
  // first line break.
  HWND pw = Edit(ES_PASSWORD | ES_AUTOHSCROLL, 51);
  EXPECT_EQ(SendMessage(pw, EM_GETPASSWORDCHAR, 0, 0), '*');
  Type("secret");
  Pump();
  SendMessage(pw, EM_SETSEL, 0, -1);
  SendMessage(pw, WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard(), "copy");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 16);
  std::memcpy(GlobalLock(mem), "two\r\nlines", 11);
  GlobalUnlock(mem);
  EXPECT_EQ(SetClipboardData(CF_TEXT, mem), mem);
  CloseClipboard();
  SendMessage(e, EM_SETSEL, 0, -1);
  SendMessage(e, WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(e), "two");
}

TEST_F(EditTest, TheMouseSetsTheCaretSelectsAndPicksWords) {
  HWND e = Edit(ES_AUTOHSCROLL);
  SetWindowText(e, "alpha beta gamma");
  // The point of a character and the character of a point agree.
  const LRESULT at = SendMessage(e, EM_POSFROMCHAR, 6, 0);
  const POINT p{static_cast<SHORT>(LOWORD(at)), static_cast<SHORT>(HIWORD(at))};
  EXPECT_EQ(LOWORD(SendMessage(e, EM_CHARFROMPOS, 0, MAKELPARAM(p.x + 1, p.y + 2))), 6);
  POINT screen{p.x + 1, p.y + 2};
  ClientToScreen(e, &screen);
  // Dragging from there to the end selects.
  RECT r;
  GetWindowRect(e, &r);
  win::headless::PressButton(screen.x, screen.y);
  win::headless::MoveMouse(r.right - 3, screen.y);
  win::headless::ReleaseButton(r.right - 3, screen.y);
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{6}, DWORD{16}));
  // A click elsewhere puts the caret there; with Shift it extends.
  win::headless::Click(r.left + 3, screen.y);
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{0}, DWORD{0}));
  win::headless::PressKey(VK_SHIFT);
  win::headless::Click(screen.x + 30, screen.y);
  win::headless::ReleaseKey(VK_SHIFT);
  Pump();
  EXPECT_EQ(Sel(e).first, 0u);
  EXPECT_GT(Sel(e).second, 6u);
  // A double click takes the word and the blank after it.
  win::headless::Click(screen.x + 2, screen.y);
  win::headless::Click(screen.x + 2, screen.y);
  Pump();
  EXPECT_EQ(Sel(e), std::make_pair(DWORD{6}, DWORD{11}));
}

TEST_F(EditTest, MultiLineMessagesCountLinesInCharacters) {
  HWND e = Edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 50, 300, 60);
  SetWindowText(e, "line one\r\nline two\r\nthird");
  EXPECT_EQ(SendMessage(e, EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 1, 0), 10);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, 3, 0), -1);
  EXPECT_EQ(SendMessage(e, EM_LINELENGTH, 10, 0), 8);
  EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, 12, 0), 1);
  char line[16] = {};
  const WORD max = sizeof line;
  std::memcpy(line, &max, sizeof max);
  EXPECT_EQ(SendMessage(e, EM_GETLINE, 2, reinterpret_cast<LPARAM>(line)), 5);
  EXPECT_EQ(std::string(line, 5), "third");
  // The caret line is the default.
  SendMessage(e, EM_SETSEL, 12, 12);
  EXPECT_EQ(SendMessage(e, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 10);
  // Enter makes a line break (no dialog takes it here); Up keeps the column.
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(TextOf(e), "line one\r\nli\r\nne two\r\nthird");
  Key(VK_UP);
  Pump();
  EXPECT_EQ(SendMessage(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
  // EM_REPLACESEL inserts at the caret and tells the parent.
  notes().clear();
  SendMessage(e, EM_SETSEL, 0, 4);
  SendMessage(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("LINE"));
  EXPECT_EQ(TextOf(e).substr(0, 8), "LINE one");
  EXPECT_EQ(Codes(50), (std::vector<int>{EN_UPDATE, EN_CHANGE}));
  // Long text wraps at the width.
  HWND narrow = Edit(ES_MULTILINE | ES_AUTOVSCROLL, 51, 60, 200);
  SetWindowText(narrow, "some words that cannot fit");
  EXPECT_GT(SendMessage(narrow, EM_GETLINECOUNT, 0, 0), 2);
  // Scrolling follows the caret to the end.
  std::string many;
  for (int i = 0; i < 30; ++i) many += "row\r\n";
  SetWindowText(e, many.c_str());
  SetFocus(e);
  Chord({VK_CONTROL}, VK_END);
  Pump();
  const LRESULT first = SendMessage(e, EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(first, 20);
  EXPECT_EQ(GetScrollPos(e, SB_VERT), first);
}

TEST_F(EditTest, ReadOnlyAndPasswordCanBeSwitched) {
  HWND e = Edit(ES_AUTOHSCROLL);
  EXPECT_TRUE(SendMessage(e, EM_SETREADONLY, TRUE, 0));
  EXPECT_TRUE(GetWindowLong(e, GWL_STYLE) & ES_READONLY);
  Type("no");
  Pump();
  EXPECT_EQ(TextOf(e), "");
  SendMessage(e, EM_SETREADONLY, FALSE, 0);
  Type("yes");
  Pump();
  EXPECT_EQ(TextOf(e), "yes");
  SendMessage(e, EM_SETPASSWORDCHAR, '#', 0);
  EXPECT_EQ(SendMessage(e, EM_GETPASSWORDCHAR, 0, 0), '#');
  EXPECT_TRUE(GetWindowLong(e, GWL_STYLE) & ES_PASSWORD);
  SendMessage(e, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_FALSE(GetWindowLong(e, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(TextOf(e), "yes");
  // A single line scrolls sideways to keep the caret in view.
  HWND longer = Edit(ES_AUTOHSCROLL, 51, 60);
  Type("a rather long line of typed text");
  Pump();
  EXPECT_GT(SendMessage(longer, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  Key(VK_HOME);
  Pump();
  EXPECT_EQ(SendMessage(longer, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

INT_PTR CALLBACK WantReturnProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) notes().push_back(Note{dlg, msg, wp, 0});
  return msg == WM_INITDIALOG;
}

TEST_F(EditTest, InADialogEnterIsTheDefaultButtonUnlessTheEditWantsReturn) {
  const char script[] = R"(1 DIALOG 0, 0, 200, 100
STYLE WS_POPUP | WS_CAPTION
FONT 8, "MS Sans Serif"
BEGIN
  EDITTEXT 10, 5, 5, 150, 30, ES_MULTILINE | ES_WANTRETURN
  EDITTEXT 11, 5, 40, 150, 30, ES_MULTILINE
  DEFPUSHBUTTON "OK", IDOK, 5, 80, 40, 14
END)";
  HINSTANCE m = win::RegisterResourceScript("WantReturn", script, sizeof script - 1);
  HWND dlg = CreateDialogParam(m, MAKEINTRESOURCE(1), host_, WantReturnProc, 0);
  ASSERT_NE(dlg, nullptr);
  ShowWindow(dlg, SW_SHOW);
  Pump(dlg);
  notes().clear();
  Type("a");
  Key(VK_RETURN);
  Type("b");
  Key(VK_TAB);
  Type("c");
  Key(VK_RETURN);
  Pump(dlg);
  EXPECT_EQ(TextOf(GetDlgItem(dlg, 10)), "a\r\nb");
  EXPECT_EQ(TextOf(GetDlgItem(dlg, 11)), "c");
  ASSERT_EQ(notes().size(), 1u);
  EXPECT_EQ(LOWORD(notes()[0].wp), IDOK);
}

}  // namespace
