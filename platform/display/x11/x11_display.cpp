// The X11 display: one X window per top-level window, showing its backing
// store; X events become raw input for the USER queue. The CLIPBOARD
// selection is the window system's clipboard (x11_clipboard.h).
// Our headers first: Xlib's macros (None, Bool, Status) would clash in them.
#include "display/clipboard.h"
#include "display/display.h"
#include "display/x11_module.h"
#include "user/display_link.h"
#include "user/geometry.h"
#include "user/input_queue.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "x11_clipboard.h"
#include "x11_cursors.h"
#include "x11_image.h"
#include "x11_keys.h"

namespace win::display {
namespace {

using user::InputKind;
using user::RawInput;

int IgnoreErrors(::Display*, XErrorEvent* e) {
  // A window that went away between our request and the server's answer,
  // and the like: nothing to stop for.
  char text[128];
  XGetErrorText(e->display, e->error_code, text, sizeof text);
  std::fprintf(stderr, "zemra: X error: %s (request %d)\n", text, e->request_code);
  return 0;
}

// What the X side of a top-level window looks like now.
struct XWin {
  ::Window xwin = 0;
  RECT rect{};      // screen rectangle last set or reported
  bool mapped = false;
  bool iconic = false;
  std::string title;
  bool sendAll = false;      // the whole store is to be sent at the next flush
  std::vector<RECT> exposed;  // areas the server asked for again
};

class X11Display final : public Display {
 public:
  explicit X11Display(::Display* dpy)
      : dpy_(dpy), screen_(DefaultScreen(dpy)), root_(RootWindow(dpy, screen_)),
        visual_(DefaultVisual(dpy, screen_)), depth_(DefaultDepth(dpy, screen_)),
        sender_(dpy, DefaultVisual(dpy, screen_), DefaultDepth(dpy, screen_)) {
    XSetErrorHandler(IgnoreErrors);
    wmProtocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    wmDelete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
    motifHints_ = XInternAtom(dpy_, "_MOTIF_WM_HINTS", False);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(dpy_, True, &supported);  // repeats without releases
    gc_ = XCreateGC(dpy_, root_, 0, nullptr);
    // While a paste waits for another program, the display's own events are
    // still taken in and its windows still repainted.
    clipboard_ = std::make_shared<x11::X11Clipboard>(dpy_, root_, [this](XEvent& ev) {
      Handle(ev);
      SendExposed();
    });
    UseClipboard(std::make_unique<x11::X11ClipboardLink>(clipboard_));
  }

  ~X11Display() override {
    clipboard_.reset();  // its window goes while the connection is open
    for (auto& [wnd, x] : wins_) XDestroyWindow(dpy_, x.xwin);
    for (auto& [name, c] : cursors_) XFreeCursor(dpy_, c);
    if (blank_) XFreeCursor(dpy_, blank_);
    XFreeGC(dpy_, gc_);
    XCloseDisplay(dpy_);
  }

  bool IsHeadless() const override { return false; }
  SIZE ScreenSize() const override {
    return SIZE{DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
  }

  void WindowChanged(HWND top) override {
    user::Window* w = user::FindWindow(top);
    if (!w) return;
    auto it = wins_.find(top);
    if (it == wins_.end()) it = Create(top, *w);
    XWin& x = it->second;
    RECT rect;
    GetWindowRect(top, &rect);
    const bool iconic = (w->style & WS_MINIMIZE) != 0;
    const bool show = w->visible();
    const int width = std::max<int>(1, rect.right - rect.left), height = std::max<int>(1, rect.bottom - rect.top);
    if (!iconic && (rect.left != x.rect.left || rect.top != x.rect.top || rect.right != x.rect.right ||
                    rect.bottom != x.rect.bottom)) {
      const bool sized = rect.right - rect.left != x.rect.right - x.rect.left ||
                         rect.bottom - rect.top != x.rect.bottom - x.rect.top;
      XMoveResizeWindow(dpy_, x.xwin, rect.left, rect.top, static_cast<unsigned>(width),
                        static_cast<unsigned>(height));
      x.rect = rect;
      if (sized) x.sendAll = true;
    }
    if (w->text != x.title) {
      x.title = w->text;
      XStoreName(dpy_, x.xwin, x.title.c_str());
    }
    if (show && !x.mapped) {
      XMapWindow(dpy_, x.xwin);
      x.mapped = true;
      x.iconic = false;
      x.sendAll = true;
    } else if (!show && x.mapped) {
      XUnmapWindow(dpy_, x.xwin);
      x.mapped = false;
    }
    if (show && iconic && !x.iconic) {
      XIconifyWindow(dpy_, x.xwin, screen_);
      x.iconic = true;
    } else if (show && !iconic && x.iconic) {
      XMapRaised(dpy_, x.xwin);
      x.iconic = false;
      x.sendAll = true;
    }
    Restack();
  }

  void WindowDestroyed(HWND top) override {
    auto it = wins_.find(top);
    if (it == wins_.end()) return;
    byX_.erase(it->second.xwin);
    XDestroyWindow(dpy_, it->second.xwin);
    wins_.erase(it);
    XFlush(dpy_);
  }

  void Flush() override {
    for (auto& [top, x] : wins_) {
      gdi::Surface* s = user::TopSurface(top);
      if (!s) continue;
      std::vector<RECT> rects = s->TakeDamage();
      if (!x.mapped || x.iconic) continue;  // sent whole when it shows again
      if (x.sendAll) {
        rects.assign(1, RECT{0, 0, s->width(), s->height()});
        x.sendAll = false;
      }
      for (const RECT& r : rects) sender_.Send(x.xwin, gc_, *s, r);
    }
    XFlush(dpy_);
  }

  void CursorChanged() override {
    ::Cursor c = CurrentCursor();
    for (auto& [top, x] : wins_) XDefineCursor(dpy_, x.xwin, c);
    XFlush(dpy_);
  }

  void Poll() override {
    while (XPending(dpy_)) {
      XEvent ev;
      XNextEvent(dpy_, &ev);
      Handle(ev);
    }
    SendExposed();
  }

  void Wait(DWORD timeoutMs) override {
    XFlush(dpy_);
    if (XPending(dpy_)) {
      Poll();
      return;
    }
    pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
    const int timeout = timeoutMs == kForever ? -1 : static_cast<int>(std::min<DWORD>(timeoutMs, 0x7FFFFFFF));
    poll(&fd, 1, timeout);
    Poll();
  }

  int InputDescriptor() const override { return ConnectionNumber(dpy_); }

  void Sync() override {
    // The exposures of what the server processed are queued by the time
    // its answer comes; the second round trip waits for their pixels.
    XSync(dpy_, False);
    Poll();
    XSync(dpy_, False);
  }

  void Reset() override {
    for (auto& [wnd, x] : wins_) XDestroyWindow(dpy_, x.xwin);
    wins_.clear();
    byX_.clear();
    XSync(dpy_, True);  // and drop the events of the windows just gone
  }

 private:
  std::map<HWND, XWin>::iterator Create(HWND top, const user::Window& w) {
    XSetWindowAttributes a{};
    a.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                   ButtonPressMask | ButtonReleaseMask | PointerMotionMask | FocusChangeMask;
    a.background_pixmap = None;  // the store paints it; no flash of background
    a.bit_gravity = NorthWestGravity;
    a.cursor = CurrentCursor();
    RECT rect;
    GetWindowRect(top, &rect);
    const int width = std::max<int>(1, rect.right - rect.left), height = std::max<int>(1, rect.bottom - rect.top);
    ::Window xwin = XCreateWindow(dpy_, root_, rect.left, rect.top, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, depth_, InputOutput, visual_,
                                  CWEventMask | CWBackPixmap | CWBitGravity | CWCursor, &a);
    XSetWMProtocols(dpy_, xwin, &wmDelete_, 1);
    // The window draws its own frame: no decorations from the window manager.
    const long motif[5] = {2 /* decorations given */, 0, 0 /* none */, 0, 0};
    XChangeProperty(dpy_, xwin, motifHints_, motifHints_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = rect.left;
    hints.y = rect.top;
    hints.width = width;
    hints.height = height;
    XSetWMNormalHints(dpy_, xwin, &hints);
    XWMHints wm{};
    wm.flags = InputHint;
    wm.input = True;
    XSetWMHints(dpy_, xwin, &wm);
    if (w.owner) {
      auto owner = wins_.find(user::TopLevelOf(w.owner));
      if (owner != wins_.end()) XSetTransientForHint(dpy_, xwin, owner->second.xwin);
    }
    XWin x;
    x.xwin = xwin;
    x.rect = rect;
    byX_[xwin] = top;
    return wins_.emplace(top, std::move(x)).first;
  }

  // Our Z order on the X side, for the windows that are mapped.
  void Restack() {
    std::vector<::Window> order;
    for (HWND t : user::TopLevelWindows()) {
      auto it = wins_.find(t);
      if (it != wins_.end() && it->second.mapped) order.push_back(it->second.xwin);
    }
    if (order != stacked_ && order.size() > 1)
      XRestackWindows(dpy_, order.data(), static_cast<int>(order.size()));
    stacked_ = order;
  }

  ::Cursor CurrentCursor() {
    const char* shape = CursorShapeName(GetCursor());
    if (!shape || user::CursorShowCount() < 0) return BlankCursor();
    auto it = cursors_.find(shape);
    if (it != cursors_.end()) return it->second;
    ::Cursor c = XCreateFontCursor(dpy_, x11::CursorFontShape(shape));
    cursors_[shape] = c;
    return c;
  }

  ::Cursor BlankCursor() {
    if (!blank_) {
      static const char bits[1] = {0};
      Pixmap p = XCreateBitmapFromData(dpy_, root_, bits, 1, 1);
      XColor black{};
      blank_ = XCreatePixmapCursor(dpy_, p, p, &black, &black, 0, 0);
      XFreePixmap(dpy_, p);
    }
    return blank_;
  }

  HWND TopOf(::Window xwin) const {
    auto it = byX_.find(xwin);
    return it == byX_.end() ? nullptr : it->second;
  }

  // The pointer in root coordinates, which are our screen coordinates
  // (the window's own coordinates go stale while it is being moved).
  static POINT ScreenPoint(int rootX, int rootY) { return POINT{rootX, rootY}; }

  void Handle(XEvent& ev) {
    if (clipboard_ && clipboard_->HandleEvent(ev)) return;
    const HWND top = TopOf(ev.xany.window);
    if (!top) return;
    XWin& x = wins_.at(top);
    RawInput in;
    in.top = top;
    switch (ev.type) {
      case Expose:
        x.exposed.push_back(RECT{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                                 ev.xexpose.y + ev.xexpose.height});
        return;
      case ConfigureNotify: {
        // Where the window really is on the root, whatever frame holds it.
        int rx = 0, ry = 0;
        ::Window child;
        XTranslateCoordinates(dpy_, x.xwin, root_, 0, 0, &rx, &ry, &child);
        const RECT now{rx, ry, rx + ev.xconfigure.width, ry + ev.xconfigure.height};
        if (now.left == x.rect.left && now.top == x.rect.top && now.right == x.rect.right &&
            now.bottom == x.rect.bottom)
          return;
        if (now.right - now.left != x.rect.right - x.rect.left || now.bottom - now.top != x.rect.bottom - x.rect.top)
          x.sendAll = true;
        x.rect = now;
        in.kind = InputKind::Configure;
        in.rect = now;
        user::QueueInput(in);
        return;
      }
      case MapNotify:
        // Mapped while we thought it minimized: the window manager restored it.
        if (x.iconic) {
          x.iconic = false;
          x.mapped = true;
          x.sendAll = true;
          in.kind = InputKind::Command;
          in.command = SC_RESTORE;
          user::QueueInput(in);
        }
        return;
      case UnmapNotify:
        // Unmapped while we keep it shown: the window manager minimized it.
        if (x.mapped && !x.iconic) {
          x.iconic = true;
          in.kind = InputKind::Command;
          in.command = SC_MINIMIZE;
          user::QueueInput(in);
        }
        return;
      case FocusIn:
        if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab) return;
        in.kind = InputKind::Activate;
        user::QueueInput(in);
        return;
      case MotionNotify:
        in.kind = InputKind::MouseMove;
        in.pt = ScreenPoint(ev.xmotion.x_root, ev.xmotion.y_root);
        user::QueueInput(in);
        return;
      case ButtonPress:
      case ButtonRelease: {
        const unsigned b = ev.xbutton.button;
        if (b < 1 || b > 3) return;  // wheel steps: Windows 95 has no wheel
        in.kind = ev.type == ButtonPress ? InputKind::ButtonDown : InputKind::ButtonUp;
        in.button = b == 1 ? user::MouseButton::Left : b == 2 ? user::MouseButton::Middle : user::MouseButton::Right;
        in.pt = ScreenPoint(ev.xbutton.x_root, ev.xbutton.y_root);
        user::QueueInput(in);
        return;
      }
      case KeyPress:
      case KeyRelease: {
        const KeySym sym = XLookupKeysym(&ev.xkey, 0);
        char text[8] = {};
        KeySym typed = 0;
        const int n = ev.type == KeyPress ? XLookupString(&ev.xkey, text, sizeof text, &typed, nullptr) : 0;
        UINT vk = x11::VirtualKeyOf(sym);
        if (!vk && n == 1) vk = 0xDF;  // VK_OEM_8: a key of the layout's own characters
        if (!vk) return;
        in.kind = ev.type == KeyPress ? InputKind::KeyDown : InputKind::KeyUp;
        in.vk = vk;
        in.scan = ev.xkey.keycode >= 8 ? ev.xkey.keycode - 8 : 0;
        if (n == 1) in.character = static_cast<unsigned char>(text[0]);
        else if (ev.type == KeyPress) in.character = 0;
        user::QueueInput(in);
        return;
      }
      case ClientMessage:
        if (ev.xclient.message_type == wmProtocols_ &&
            static_cast<Atom>(ev.xclient.data.l[0]) == wmDelete_) {
          in.kind = InputKind::Close;
          user::QueueInput(in);
        }
        return;
      default: return;
    }
  }

  void SendExposed() {
    bool sent = false;
    for (auto& [top, x] : wins_) {
      if (x.exposed.empty()) continue;
      if (gdi::Surface* s = user::TopSurface(top))
        for (const RECT& r : x.exposed) sender_.Send(x.xwin, gc_, *s, r);
      x.exposed.clear();
      sent = true;
    }
    if (sent) XFlush(dpy_);
  }

  ::Display* dpy_;
  int screen_;
  ::Window root_;
  Visual* visual_;
  int depth_;
  x11::ImageSender sender_;
  GC gc_;
  Atom wmProtocols_ = 0, wmDelete_ = 0, motifHints_ = 0;
  std::map<HWND, XWin> wins_;
  std::map<::Window, HWND> byX_;
  std::vector<::Window> stacked_;
  std::map<std::string, ::Cursor> cursors_;
  ::Cursor blank_ = 0;
  std::shared_ptr<x11::X11Clipboard> clipboard_;
};

std::unique_ptr<Display> Open(const char* name, std::string* error) {
  ::Display* dpy = XOpenDisplay(name);
  if (!dpy) {
    *error = std::string("the X server ") + (name ? name : XDisplayName(nullptr)) + " cannot be reached";
    return nullptr;
  }
  const int screen = DefaultScreen(dpy);
  if (DefaultVisual(dpy, screen)->c_class != TrueColor) {
    // Palette visuals would need colour allocation; we draw in true colour.
    *error = "the X display has no true-colour visual";
    XCloseDisplay(dpy);
    return nullptr;
  }
  return std::make_unique<X11Display>(dpy);
}

constexpr X11Module kModule{&Open};

}  // namespace
}  // namespace win::display

extern "C" __attribute__((visibility("default"))) const win::display::X11Module* ZemraX11Module() {
  return &win::display::kModule;
}
