// Tracking a menu: the popup levels on the screen, the mouse (held by the
// tracker) and the keyboard, until an item is chosen or the menu is
// dismissed. TrackPopupMenu and the menu bar share it.
#include <algorithm>
#include <string>
#include <vector>

#include "menu_bar.h"
#include "menu_store.h"
#include "menu_window.h"
#include "user/controls/control_common.h"
#include "user/input_queue.h"

namespace win::user {
namespace {

class Tracker;
Tracker* gActive = nullptr;

class Tracker {
 public:
  Tracker(HWND owner, UINT flags) : owner_(owner), flags_(flags) {}

  // A popup at a screen point.
  UINT RunPopup(HMENU menu, POINT at) {
    if (!Begin(owner_)) return 0;
    Notify(WM_ENTERMENULOOP, TRUE, 0);
    OpenLevel(menu, at, false, RECT{});
    if (levels_.empty()) {
      End();
      return 0;
    }
    Loop();
    return End();
  }

  // The bar of `frame`: the item to start with, opened or only selected.
  UINT RunBar(HWND frame, HMENU bar, int item, bool open, bool selectFirst) {
    frame_ = frame;
    barMenu_ = bar;
    if (!Begin(frame)) return 0;
    Notify(WM_ENTERMENULOOP, FALSE, 0);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    SwitchBar(item, open);
    if (open && selectFirst) SelectFirst();
    Loop();
    return End();
  }

  void Cancel() { done_ = true; }
  HWND frame() const { return frame_; }
  int barSel() const { return barSel_; }
  bool barOpen() const { return barOpen_; }

 private:
  struct Level {
    HMENU menu;
    HWND wnd;
  };

  bool Begin(HWND captureWnd) {
    if (gActive || !IsWindow(captureWnd)) return false;
    gActive = this;
    capture_ = captureWnd;
    SetCapture(capture_);
    return true;
  }

  UINT End() {
    CloseFrom(0);
    if (GetCapture() == capture_) ReleaseCapture();
    gActive = nullptr;
    // Alt or F10 that closed the menu does not open it again when released.
    ForgetMenuKey();
    const bool wasBar = frame_ != nullptr;
    barSel_ = -1;
    if (wasBar && IsWindow(frame_)) PaintMenuBar(frame_);
    Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Notify(WM_EXITMENULOOP, wasBar ? FALSE : TRUE, 0);
    return chosen_;
  }

  void Notify(UINT msg, WPARAM wp, LPARAM lp) {
    if ((flags_ & TPM_NONOTIFY) || !IsWindow(owner_)) return;
    SendMessage(owner_, msg, wp, lp);
  }

  Menu* MenuAt(size_t level) { return level < levels_.size() ? FindMenu(levels_[level].menu) : nullptr; }

  // Shows a menu level: at `at`, or beside (below, for the bar) `item`.
  void OpenLevel(HMENU menu, POINT at, bool beside, RECT item) {
    if (!FindMenu(menu)) return;
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
           MAKELPARAM(static_cast<WORD>(levels_.empty() ? std::max(barSel_, 0) : 0), 0));
    if (!FindMenu(menu)) return;
    HWND wnd = CreateMenuWindow(menu, owner_);
    if (!wnd) return;
    RECT wr;
    GetWindowRect(wnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int x = at.x, y = at.y;
    if (beside) {
      if (frame_ && levels_.empty()) {
        x = item.left;
        y = item.bottom;
        if (y + h > sh) y = item.top - h;
      } else {
        x = item.right - 3;
        y = item.top - 3;
        if (x + w > sw) x = item.left - w + 3;
      }
    } else {
      if (flags_ & TPM_RIGHTALIGN) x -= w;
      else if (flags_ & TPM_CENTERALIGN) x -= w / 2;
      if (flags_ & TPM_BOTTOMALIGN) y -= h;
      else if (flags_ & TPM_VCENTERALIGN) y -= h / 2;
      // Flipped where the screen ends.
      if (x + w > sw) x = std::max(0, x - w);
      if (y + h > sh) y = std::max(0, y - h);
    }
    x = std::clamp(x, 0, std::max(0, sw - w));
    y = std::clamp(y, 0, std::max(0, sh - h));
    SetWindowPos(wnd, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    levels_.push_back(Level{menu, wnd});
  }

  void CloseFrom(size_t level) {
    while (levels_.size() > level) {
      HWND wnd = levels_.back().wnd;
      levels_.pop_back();
      if (IsWindow(wnd)) DestroyWindow(wnd);
    }
  }

  void Select(size_t level, int index) {
    if (level >= levels_.size()) return;
    HWND wnd = levels_[level].wnd;
    if (SelectionOfWindow(wnd) == index) return;
    SelectInWindow(wnd, index);
    UpdateWindow(wnd);
    Menu* m = MenuAt(level);
    if (m && index >= 0 && static_cast<size_t>(index) < m->items.size()) {
      const MenuItem& it = m->items[static_cast<size_t>(index)];
      const UINT id = (it.flags & MF_POPUP) ? static_cast<UINT>(index) : it.id;
      Notify(WM_MENUSELECT, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(it.flags & 0xFFFF)),
             reinterpret_cast<LPARAM>(levels_[level].menu));
    }
  }

  // Opens the submenu of the selected item of `level` (closing deeper ones).
  void OpenSelected(size_t level) {
    Menu* m = MenuAt(level);
    if (!m) return;
    const int sel = SelectionOfWindow(levels_[level].wnd);
    if (sel < 0 || static_cast<size_t>(sel) >= m->items.size()) return;
    const MenuItem& it = m->items[static_cast<size_t>(sel)];
    if (!(it.flags & MF_POPUP) || it.disabled()) return;
    if (levels_.size() > level + 1 && levels_[level + 1].menu == it.popup) return;
    CloseFrom(level + 1);
    OpenLevel(it.popup, POINT{}, true, MenuWindowItemRect(levels_[level].wnd, sel));
  }

  void SelectFirst() {
    if (levels_.empty()) return;
    Step(levels_.size() - 1, 1, true);
  }

  // Moves the selection of a level by one (skipping separators), or to the
  // first item with `fromStart`.
  void Step(size_t level, int dir, bool fromStart = false) {
    Menu* m = MenuAt(level);
    if (!m || m->items.empty()) return;
    const int n = static_cast<int>(m->items.size());
    int i = fromStart ? -1 : SelectionOfWindow(levels_[level].wnd);
    if (i < 0 && dir < 0) i = n;
    for (int k = 0; k < n; ++k) {
      i = ((i + dir) % n + n) % n;
      if (!m->items[static_cast<size_t>(i)].separator()) {
        CloseFrom(level + 1);
        Select(level, i);
        return;
      }
    }
  }

  void Choose(const MenuItem& it) {
    if (it.disabled() || it.separator() || (it.flags & MF_POPUP)) return;
    chosen_ = it.id;
    done_ = true;
  }

  // ---- The bar ------------------------------------------------------------------------
  RECT BarItemScreenRect(int index) {
    const BarLayout layout = LayoutMenuBar(barMenu_, MenuBarRect(frame_).right - MenuBarRect(frame_).left);
    if (index < 0 || static_cast<size_t>(index) >= layout.items.size()) return RECT{};
    RECT r = layout.items[static_cast<size_t>(index)];
    const RECT bar = MenuBarRect(frame_);
    RECT wr;
    GetWindowRect(frame_, &wr);
    OffsetRect(&r, wr.left + bar.left, wr.top + bar.top);
    return r;
  }

  int BarItemAt(POINT screen) {
    Menu* m = FindMenu(barMenu_);
    if (!m) return -1;
    for (size_t i = 0; i < m->items.size(); ++i) {
      const RECT r = BarItemScreenRect(static_cast<int>(i));
      if (PtInRect(&r, screen)) return static_cast<int>(i);
    }
    return -1;
  }

  bool OnBar(POINT screen) {
    if (!frame_) return false;
    RECT wr;
    GetWindowRect(frame_, &wr);
    const POINT p{screen.x - wr.left, screen.y - wr.top};
    return MenuBarHitTest(frame_, p);
  }

  void SwitchBar(int index, bool open) {
    Menu* m = FindMenu(barMenu_);
    if (!m || m->items.empty()) {
      done_ = true;
      return;
    }
    index = std::clamp(index, 0, static_cast<int>(m->items.size()) - 1);
    CloseFrom(0);
    barSel_ = index;
    barOpen_ = false;
    const MenuItem& it = m->items[static_cast<size_t>(index)];
    if (open && (it.flags & MF_POPUP) && !it.disabled()) {
      barOpen_ = true;
      OpenLevel(it.popup, POINT{}, true, BarItemScreenRect(index));
    }
    PaintMenuBar(frame_);
  }

  void StepBar(int dir) {
    Menu* m = FindMenu(barMenu_);
    if (!m || m->items.empty()) return;
    const int n = static_cast<int>(m->items.size());
    const bool open = barOpen_;
    SwitchBar(((barSel_ + dir) % n + n) % n, open);
    if (open) SelectFirst();
  }

  // ---- Input ------------------------------------------------------------------------------
  void Mouse(const MSG& msg) {
    POINT pt{static_cast<SHORT>(LOWORD(msg.lParam)), static_cast<SHORT>(HIWORD(msg.lParam))};
    ClientToScreen(capture_, &pt);
    int level = -1, item = -1;
    for (size_t l = levels_.size(); l-- > 0;) {
      RECT wr;
      GetWindowRect(levels_[l].wnd, &wr);
      if (PtInRect(&wr, pt)) {
        level = static_cast<int>(l);
        item = MenuWindowItemAt(levels_[l].wnd, pt);
        break;
      }
    }
    const bool onBar = level < 0 && OnBar(pt);
    const int barItem = onBar ? BarItemAt(pt) : -1;
    const bool down = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                      msg.message == WM_LBUTTONDBLCLK || msg.message == WM_RBUTTONDBLCLK;
    const bool up = msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP;
    if (msg.message == WM_MOUSEMOVE || down) {
      if (level >= 0) {
        if (down) pressedInMenu_ = true;
        const size_t l = static_cast<size_t>(level);
        if (item >= 0 && item != SelectionOfWindow(levels_[l].wnd)) {
          CloseFrom(l + 1);
          Select(l, item);
        }
        if (item >= 0) OpenSelected(l);  // nothing when it is open already
        return;
      }
      if (onBar) {
        if (down && barItem == barSel_ && barOpen_) {
          done_ = true;  // a second press on the open item closes it
          return;
        }
        if (barItem >= 0 && (barItem != barSel_ || !barOpen_) && (down || barOpen_)) SwitchBar(barItem, true);
        return;
      }
      if (down) done_ = true;  // a press anywhere else dismisses the menu
      return;
    }
    if (up) {
      if (level >= 0 && item >= 0) {
        Menu* m = MenuAt(static_cast<size_t>(level));
        if (m && static_cast<size_t>(item) < m->items.size()) Choose(m->items[static_cast<size_t>(item)]);
        return;
      }
      if (level < 0 && !onBar && pressedInMenu_) done_ = true;
    }
  }

  void Key(WPARAM vk) {
    const size_t deepest = levels_.empty() ? 0 : levels_.size() - 1;
    switch (vk) {
      case VK_ESCAPE:
        if (levels_.size() > 1) {
          CloseFrom(levels_.size() - 1);
        } else if (frame_ && barOpen_) {
          CloseFrom(0);
          barOpen_ = false;
          PaintMenuBar(frame_);
        } else {
          done_ = true;
        }
        return;
      case VK_MENU:
      case VK_F10:
        if (frame_) done_ = true;
        return;
      case VK_UP:
      case VK_DOWN:
        if (levels_.empty()) {
          if (frame_ && vk == VK_DOWN) {
            SwitchBar(barSel_, true);
            SelectFirst();
          }
          return;
        }
        Step(deepest, vk == VK_DOWN ? 1 : -1);
        return;
      case VK_LEFT:
        if (levels_.size() > 1) CloseFrom(levels_.size() - 1);
        else if (frame_) StepBar(-1);
        return;
      case VK_RIGHT: {
        Menu* m = MenuAt(deepest);
        const int sel = levels_.empty() ? -1 : SelectionOfWindow(levels_[deepest].wnd);
        if (m && sel >= 0 && (m->items[static_cast<size_t>(sel)].flags & MF_POPUP)) {
          OpenSelected(deepest);
          SelectFirst();
        } else if (frame_) {
          StepBar(1);
        }
        return;
      }
      case VK_RETURN: {
        if (levels_.empty()) {
          if (frame_) {
            SwitchBar(barSel_, true);
            SelectFirst();
          }
          return;
        }
        Menu* m = MenuAt(deepest);
        const int sel = SelectionOfWindow(levels_[deepest].wnd);
        if (!m || sel < 0) return;
        const MenuItem& it = m->items[static_cast<size_t>(sel)];
        if (it.flags & MF_POPUP) {
          OpenSelected(deepest);
          SelectFirst();
        } else {
          Choose(it);
        }
        return;
      }
      default: return;
    }
  }

  void Char(WPARAM ch) {
    char c = static_cast<char>(ch & 0xFF);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (static_cast<unsigned char>(c) <= ' ') return;
    if (levels_.empty()) {
      if (!frame_) return;
      Menu* bar = FindMenu(barMenu_);
      if (!bar) return;
      for (size_t i = 0; i < bar->items.size(); ++i) {
        if (MnemonicOf(bar->items[i].text) == c) {
          SwitchBar(static_cast<int>(i), true);
          SelectFirst();
          return;
        }
      }
      MessageBeep(0);
      return;
    }
    const size_t level = levels_.size() - 1;
    Menu* m = MenuAt(level);
    if (!m) return;
    const int n = static_cast<int>(m->items.size());
    const int from = SelectionOfWindow(levels_[level].wnd);
    for (int k = 1; k <= n; ++k) {
      const int i = ((from + k) % n + n) % n;
      const MenuItem& it = m->items[static_cast<size_t>(i)];
      if (it.separator() || MnemonicOf(it.text) != c) continue;
      Select(level, i);
      if (it.flags & MF_POPUP) {
        OpenSelected(level);
        SelectFirst();
      } else {
        Choose(it);
      }
      return;
    }
    MessageBeep(0);
  }

  void Loop() {
    MSG msg{};
    while (!done_) {
      const BOOL got = GetMessage(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (GetCapture() != capture_) break;  // someone else took the mouse
      const UINT m = msg.message;
      if (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
        if (msg.hwnd == capture_) Mouse(msg);
        continue;
      }
      if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) continue;
      if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
        TranslateMessage(&msg);
        Key(msg.wParam);
        continue;
      }
      if (m == WM_CHAR || m == WM_SYSCHAR) {
        Char(msg.wParam);
        continue;
      }
      if (m == WM_KEYUP || m == WM_SYSKEYUP) continue;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }

  HWND owner_;
  UINT flags_;
  HWND capture_ = nullptr;
  std::vector<Level> levels_;
  bool done_ = false;
  UINT chosen_ = 0;
  bool pressedInMenu_ = false;
  HWND frame_ = nullptr;
  HMENU barMenu_ = nullptr;
  int barSel_ = -1;
  bool barOpen_ = false;
};

}  // namespace

int TrackedBarItem(HWND wnd, bool* open) {
  if (!gActive || gActive->frame() != wnd) return -1;
  if (open) *open = gActive->barOpen();
  return gActive->barSel();
}

void TrackMenuBarMouse(HWND wnd, POINT screen) {
  HMENU bar = GetMenu(wnd);
  if (!bar || gActive) return;
  RECT wr;
  GetWindowRect(wnd, &wr);
  const BarLayout layout = LayoutMenuBar(bar, MenuBarRect(wnd).right - MenuBarRect(wnd).left);
  const RECT barRect = MenuBarRect(wnd);
  int item = -1;
  for (size_t i = 0; i < layout.items.size(); ++i) {
    RECT r = layout.items[i];
    OffsetRect(&r, wr.left + barRect.left, wr.top + barRect.top);
    if (PtInRect(&r, screen)) item = static_cast<int>(i);
  }
  if (item < 0) return;
  Tracker t(wnd, 0);
  if (const UINT id = t.RunBar(wnd, bar, item, true, false))
    PostMessage(wnd, id >= 0xF000 ? WM_SYSCOMMAND : WM_COMMAND, id, 0);
}

void TrackMenuBarKey(HWND wnd, char ch) {
  HMENU bar = GetMenu(wnd);
  Menu* m = FindMenu(bar);
  if (!m || gActive) return;
  int item = 0;
  bool open = false;
  if (ch) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    item = -1;
    for (size_t i = 0; i < m->items.size(); ++i)
      if (MnemonicOf(m->items[i].text) == ch) {
        item = static_cast<int>(i);
        break;
      }
    if (item < 0) {
      MessageBeep(0);
      return;
    }
    open = true;
  }
  Tracker t(wnd, 0);
  if (const UINT id = t.RunBar(wnd, bar, item, open, true))
    PostMessage(wnd, id >= 0xF000 ? WM_SYSCOMMAND : WM_COMMAND, id, 0);
}

}  // namespace win::user

using namespace win::user;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (!FindMenu(menu) || !IsWindow(owner) || gActive) return FALSE;
  Tracker t(owner, flags);
  const UINT id = t.RunPopup(menu, POINT{x, y});
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  if (id && IsWindow(owner)) PostMessage(owner, WM_COMMAND, id, 0);
  return id ? TRUE : FALSE;
}

BOOL EndMenu() {
  if (!gActive) return FALSE;
  gActive->Cancel();
  return TRUE;
}
