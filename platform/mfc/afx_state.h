// The framework's state shared between its window classes (one thread):
// the window being created, the message being handled, notification lockout
// and the handle maps.
#pragma once

#include "handle_map.h"
#include "win/user.h"

class CWnd;
class CDC;
class CGdiObject;
class CMenu;

namespace zemra_mfc {

struct ThreadState {
  CWnd* windowInit = nullptr;      // the window the next CreateWindowEx ties to
  MSG lastSentMsg{};               // the message WindowProc is handling
  HWND lockoutNotifyWindow = nullptr;  // UpdateData is running for this window
  int tempMapLock = 0;
};

ThreadState& State();

HandleMap<HWND, CWnd>& WindowMap();
HandleMap<HDC, CDC>& DCMap();
HandleMap<void*, CGdiObject>& GdiMap();
HandleMap<HMENU, CMenu>& MenuMap();

// Installs the window-creation hook (once).
void EnsureCreationHook();

// Frees every temporary object of the four maps.
void DeleteAllTemporaries();

// Ties `wnd` to the handle and routes its messages through AfxWndProc (the
// window's previous procedure becomes the default processing). FALSE when
// the handle is no window or already has a permanent object.
bool SubclassForFramework(CWnd* wnd, HWND hwnd);

// The window the pending creation request names, tied to `hwnd`, when the
// window system did not run the creation hook for it; null otherwise.
CWnd* AttachPendingWindow(HWND hwnd);

// One message of the current thread's loop (the application's PumpMessage
// when there is an application); FALSE on WM_QUIT. `msg` receives it.
bool PumpOneMessage(MSG& msg);
bool IsIdleMessage(MSG& msg);

// A built-in text for a framework prompt whose string-table entry is missing.
const char* PromptText(UINT id);

}  // namespace zemra_mfc
