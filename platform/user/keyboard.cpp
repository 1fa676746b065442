// Key states as the thread has seen them, and the characters that
// TranslateMessage makes of key codes (a US keyboard layout).
#include <array>

#include "input_queue.h"
#include "message_queue.h"
#include "window_store.h"

using namespace win::user;

namespace {

struct Keys {
  std::array<bool, 256> down{};   // as the messages taken so far said
  std::array<bool, 256> async{};  // as the display reports them now
  bool capsLock = false;
  UINT menuKey = 0;  // Alt or F10 pressed, and no other key or button since
};

Keys& keys() {
  static Keys k;
  return k;
}

bool isDown(UINT vk) { return vk < 256 && keys().down[vk]; }

void setDown(UINT vk, bool down) {
  if (vk >= 256) return;
  if (vk == VK_CAPITAL && down && !keys().down[vk]) keys().capsLock = !keys().capsLock;
  keys().down[vk] = down;
}

// Shifted and unshifted characters of the keys that are not letters.
struct KeyChars {
  UINT vk;
  char plain;
  char shifted;
};
constexpr KeyChars kPunctuation[] = {
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'},
    {'4', '4', '$'}, {'5', '5', '%'}, {'6', '6', '^'}, {'7', '7', '&'},
    {'8', '8', '*'}, {'9', '9', '('}, {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'},
    {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
    {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'}, {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'}, {VK_OEM_7, '\'', '"'},
    {VK_SPACE, ' ', ' '}, {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'},
    {VK_SUBTRACT, '-', '-'}, {VK_DECIMAL, '.', '.'}, {VK_DIVIDE, '/', '/'},
};

// Alt or F10 pressed and released alone opens the menu bar; any other key
// or button between them (Alt+letter, Alt+click) does not.
void NoteMenuKey(const MSG& msg) {
  const auto vk = static_cast<UINT>(msg.wParam);
  const bool repeat = (msg.lParam & (1 << 30)) != 0;
  if (repeat && vk == keys().menuKey) return;
  const bool plain = !isDown(VK_CONTROL) && !(vk == VK_F10 && isDown(VK_SHIFT));
  keys().menuKey = (vk == VK_MENU || vk == VK_F10) && !repeat && plain ? vk : 0;
}

// Presses and double clicks of any button, in the client area or not (each
// button has down, up and double-click messages in that order).
bool IsButtonPress(UINT m) {
  if (m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK) return (m - WM_LBUTTONDOWN) % 3 != 1;
  if (m >= WM_NCLBUTTONDOWN && m <= WM_NCMBUTTONDBLCLK) return (m - WM_NCLBUTTONDOWN) % 3 != 1;
  return false;
}

}  // namespace

namespace win::user {

void NoteKeyMessage(const MSG& msg) {
  if (IsButtonPress(msg.message)) keys().menuKey = 0;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      NoteMenuKey(msg);
      setDown(static_cast<UINT>(msg.wParam), true);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP: setDown(static_cast<UINT>(msg.wParam), false); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: setDown(VK_LBUTTON, true); return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: setDown(VK_LBUTTON, false); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: setDown(VK_RBUTTON, true); return;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP: setDown(VK_RBUTTON, false); return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK: setDown(VK_MBUTTON, true); return;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP: setDown(VK_MBUTTON, false); return;
    default: return;
  }
}

UINT MenuKeyAlone() { return keys().menuKey; }
void ForgetMenuKey() { keys().menuKey = 0; }

void NoteAsyncKey(UINT vk, bool down) {
  if (vk < 256) keys().async[vk] = down;
}

bool AsyncKeyDown(UINT vk) { return vk < 256 && keys().async[vk]; }

int CharacterOfKey(UINT vk) {
  const bool shift = isDown(VK_SHIFT);
  const bool ctrl = isDown(VK_CONTROL);
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<int>(vk - 'A' + 1);  // Ctrl+A is 1
    const bool upper = shift != keys().capsLock;
    return static_cast<int>(upper ? vk : vk - 'A' + 'a');
  }
  if (ctrl) return vk == VK_OEM_4 ? 0x1B : vk == VK_OEM_6 ? 0x1D : vk == VK_OEM_5 ? 0x1C : 0;
  switch (vk) {
    case VK_BACK: return 0x08;
    case VK_TAB: return '\t';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 0x1B;
    default: break;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<int>('0' + (vk - VK_NUMPAD0));
  for (const KeyChars& k : kPunctuation)
    if (k.vk == vk) return shift ? k.shifted : k.plain;
  return 0;
}

void ResetKeyboard() { keys() = Keys{}; }

}  // namespace win::user

SHORT GetKeyState(int vk) {
  if (vk < 0 || vk >= 256) return 0;
  SHORT state = isDown(static_cast<UINT>(vk)) ? static_cast<SHORT>(0x8000) : 0;
  if (vk == VK_CAPITAL && keys().capsLock) state = static_cast<SHORT>(state | 1);
  return state;
}

SHORT GetAsyncKeyState(int vk) {
  if (vk < 0 || vk >= 256) return 0;
  return AsyncKeyDown(static_cast<UINT>(vk)) ? static_cast<SHORT>(0x8000) : 0;
}
