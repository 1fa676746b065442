// Message boxes: every box is recorded and answered from the script (queued
// answers, then the hook); otherwise a user answers the dialog-manager box on
// a display, and the default button answers headless.
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "dialogs/message_box_display.h"
#include "window_store.h"

namespace {

// The log keeps the newest boxes only, so a long headless run stays bounded.
constexpr size_t kMaxLogged = 10000;

enum class Shown { AsDisplayHas, Always, Never };

struct Boxes {
  std::deque<int> answers;
  std::vector<win::MessageBoxRecord> log;
  win::MessageBoxHook hook;
  Shown shown = Shown::AsDisplayHas;
  int depth = 0;  // boxes open as windows
};


Boxes& boxes() {
  static Boxes b;
  return b;
}

// Boxes opened from within boxes stop here: a box that keeps raising boxes
// answers them by default instead of nesting without end.
constexpr int kMaxOpenBoxes = 8;

bool ShowAsWindow() {
  const Boxes& b = boxes();
  if (b.depth >= kMaxOpenBoxes) return false;
  if (b.shown == Shown::AsDisplayHas) return !win::IsHeadless();
  return b.shown == Shown::Always;
}

}  // namespace

namespace win::user {

int MessageBoxButtons(UINT type, int out[3]) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: out[0] = IDOK; out[1] = IDCANCEL; return 2;
    case MB_ABORTRETRYIGNORE: out[0] = IDABORT; out[1] = IDRETRY; out[2] = IDIGNORE; return 3;
    case MB_YESNOCANCEL: out[0] = IDYES; out[1] = IDNO; out[2] = IDCANCEL; return 3;
    case MB_YESNO: out[0] = IDYES; out[1] = IDNO; return 2;
    case MB_RETRYCANCEL: out[0] = IDRETRY; out[1] = IDCANCEL; return 2;
    default: out[0] = IDOK; return 1;  // MB_OK and unknown types
  }
}

}  // namespace win::user

int MessageBoxDefaultAnswer(UINT type) {
  int buttons[3] = {IDOK, IDOK, IDOK};
  const int count = win::user::MessageBoxButtons(type, buttons);
  int index = 0;
  switch (type & MB_DEFMASK) {
    case MB_DEFBUTTON2: index = 1; break;
    case MB_DEFBUTTON3: index = 2; break;
    default: break;
  }
  // A default button that the box does not have falls back to the first.
  return buttons[index < count ? index : 0];
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Boxes& b = boxes();
  win::MessageBoxRecord record{owner, text ? text : "", caption ? caption : "Error", type, 0};
  if (std::getenv("ZEMRA_SHOW_BOXES"))
    std::fprintf(stderr, "[message box] %s: %s\n", record.caption.c_str(), record.text.c_str());
  if (!b.answers.empty()) {
    record.answer = b.answers.front();
    b.answers.pop_front();
  } else if (b.hook) {
    // A copy: the hook may show another box, which grows the log.
    const win::MessageBoxHook hook = b.hook;
    record.answer = hook(record);
  } else if (ShowAsWindow()) {
    ++b.depth;
    record.answer = win::user::RunMessageBoxDisplay(owner, record.text.c_str(), record.caption.c_str(), type);
    --boxes().depth;
  } else {
    record.answer = MessageBoxDefaultAnswer(type);
  }
  if (b.log.size() >= kMaxLogged) b.log.erase(b.log.begin());
  b.log.push_back(record);
  return record.answer;
}

BOOL MessageBeep(UINT) { return TRUE; }

namespace win {

void QueueMessageBoxAnswer(int answer) { boxes().answers.push_back(answer); }

const std::vector<MessageBoxRecord>& MessageBoxLog() { return boxes().log; }

void ClearMessageBoxLog() {
  boxes().log.clear();
  boxes().answers.clear();
}

void SetMessageBoxHook(MessageBoxHook hook) { boxes().hook = std::move(hook); }

void ShowMessageBoxWindows(int mode) {
  boxes().shown = mode < 0 ? Shown::AsDisplayHas : mode ? Shown::Always : Shown::Never;
}

namespace user {
void ResetMessageBoxes() { boxes() = Boxes{}; }
}  // namespace user

}  // namespace win
