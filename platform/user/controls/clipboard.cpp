// The Win32 clipboard for text: kept in the program, and handed to the
// display's clipboard when one is installed.
#include <cstring>
#include <string>

#include "display/clipboard.h"
#include "win/kernel.h"
#include "win/user.h"

namespace win::display {
namespace {
std::unique_ptr<Clipboard>& Installed() {
  static std::unique_ptr<Clipboard> c;
  return c;
}
}  // namespace

void UseClipboard(std::unique_ptr<Clipboard> clipboard) { Installed() = std::move(clipboard); }
Clipboard* ActiveClipboard() { return Installed().get(); }

}  // namespace win::display

namespace {

struct ClipboardState {
  bool open = false;
  HWND owner = nullptr;
  std::string text;
  bool hasText = false;
  HGLOBAL given = nullptr;  // the block SetClipboardData took over
  HGLOBAL handedOut = nullptr;  // the block GetClipboardData gave (the clipboard's)
};

ClipboardState& state() {
  static ClipboardState s;
  return s;
}

void FreeBlocks(ClipboardState& s) {
  if (s.given) GlobalFree(s.given);
  if (s.handedOut && s.handedOut != s.given) GlobalFree(s.handedOut);
  s.given = s.handedOut = nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  ClipboardState& s = state();
  if (s.open) return FALSE;
  s.open = true;
  s.owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  ClipboardState& s = state();
  if (!s.open) return FALSE;
  s.open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  ClipboardState& s = state();
  if (!s.open) return FALSE;
  FreeBlocks(s);
  s.text.clear();
  s.hasText = false;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  ClipboardState& s = state();
  if (!s.open || format != CF_TEXT || !data) return nullptr;
  const auto size = static_cast<size_t>(GlobalSize(data));
  const char* p = static_cast<const char*>(GlobalLock(data));
  if (!p) return nullptr;
  std::string text(p, strnlen(p, size));
  GlobalUnlock(data);
  FreeBlocks(s);
  s.text = std::move(text);
  s.hasText = true;
  s.given = data;
  if (auto* c = win::display::ActiveClipboard()) c->SetText(s.text);
  return data;
}

HANDLE GetClipboardData(UINT format) {
  ClipboardState& s = state();
  if (!s.open || format != CF_TEXT) return nullptr;
  if (auto* c = win::display::ActiveClipboard()) {
    if (auto other = c->GetText()) {
      FreeBlocks(s);
      s.text = std::move(*other);
      s.hasText = true;
    }
  }
  if (!s.hasText) return nullptr;
  if (s.handedOut && s.handedOut != s.given) GlobalFree(s.handedOut);
  s.handedOut = GlobalAlloc(GMEM_MOVEABLE, s.text.size() + 1);
  if (!s.handedOut) return nullptr;
  if (void* p = GlobalLock(s.handedOut)) {
    std::memcpy(p, s.text.c_str(), s.text.size() + 1);
    GlobalUnlock(s.handedOut);
  }
  return s.handedOut;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (format != CF_TEXT) return FALSE;
  if (auto* c = win::display::ActiveClipboard())
    if (c->GetText()) return TRUE;
  return state().hasText ? TRUE : FALSE;
}
