// Our headers first: Xlib's macros (None, Bool, Status) would clash in them.
#include "display/clipboard_text.h"
#include "win/kernel.h"

#include "x11_clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <vector>

namespace win::display::x11 {
namespace {

long long NowMs() { return static_cast<long long>(GetTickCount()); }

}  // namespace

X11Clipboard::X11Clipboard(::Display* dpy, ::Window root, std::function<void(XEvent&)> others)
    : dpy_(dpy), others_(std::move(others)) {
  XSetWindowAttributes a{};
  a.event_mask = PropertyChangeMask;
  // Never mapped: it only owns the selection and receives answers.
  window_ = XCreateWindow(dpy_, root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent,
                          CWEventMask, &a);
  clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
  targets_ = XInternAtom(dpy_, "TARGETS", False);
  utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
  text_ = XInternAtom(dpy_, "TEXT", False);
  plainUtf8_ = XInternAtom(dpy_, "text/plain;charset=utf-8", False);
  incr_ = XInternAtom(dpy_, "INCR", False);
  property_ = XInternAtom(dpy_, "ZEMRA_CLIPBOARD", False);
}

X11Clipboard::~X11Clipboard() {
  if (window_) XDestroyWindow(dpy_, window_);
}

size_t X11Clipboard::MaxPropertyBytes() const {
  long units = XExtendedMaxRequestSize(dpy_);
  if (units <= 0) units = XMaxRequestSize(dpy_);
  // Room for the request's own header.
  const size_t bytes = units > 64 ? static_cast<size_t>(units - 64) * 4 : 0;
  return std::min(bytes, kMaxBytes);
}

void X11Clipboard::SetText(const std::string& text) {
  copied_ = text;
  XSetSelectionOwner(dpy_, clipboard_, window_, CurrentTime);
  owned_ = XGetSelectionOwner(dpy_, clipboard_) == window_;
  XFlush(dpy_);
}

std::optional<std::string> X11Clipboard::GetText() {
  const ::Window owner = XGetSelectionOwner(dpy_, clipboard_);
  if (owner == None || owner == window_) return std::nullopt;
  owned_ = false;
  const long long deadline = NowMs() + kWaitMs;
  for (Atom target : {utf8_, static_cast<Atom>(XA_STRING)}) {
    Received got;
    const Outcome o = Request(target, deadline, &got);
    if (o == Outcome::Failed) return std::nullopt;
    if (o == Outcome::Refused) continue;
    if (got.type == utf8_ || got.type == plainUtf8_) return ClipboardTextFromUtf8(got.bytes);
    return ClipboardTextFromLatin1(got.bytes);
  }
  return std::nullopt;
}

X11Clipboard::Outcome X11Clipboard::Request(Atom target, long long deadline, Received* out) {
  XDeleteProperty(dpy_, window_, property_);
  XConvertSelection(dpy_, clipboard_, target, property_, window_, CurrentTime);
  XFlush(dpy_);
  XEvent ev;
  const bool answered = WaitFor(
      [&](const XEvent& e) { return e.type == SelectionNotify && e.xselection.selection == clipboard_; },
      deadline, &ev);
  if (!answered) return Outcome::Failed;
  if (ev.xselection.property == None) return Outcome::Refused;

  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const long words = static_cast<long>(kMaxBytes / 4);
  if (XGetWindowProperty(dpy_, window_, property_, 0, words, True, AnyPropertyType, &type, &format, &count,
                         &after, &data) != Success)
    return Outcome::Refused;
  out->type = type;
  if (type == incr_) {
    // Deleting the property above asked the owner for the first piece.
    if (data) XFree(data);
    return ReadIncremental(deadline, out) ? Outcome::Ok : Outcome::Failed;
  }
  const bool fits = after == 0 && format == 8;
  if (fits && data) out->bytes.assign(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return fits ? Outcome::Ok : Outcome::Refused;
}

bool X11Clipboard::ReadIncremental(long long deadline, Received* out) {
  out->bytes.clear();
  for (;;) {
    XEvent ev;
    const bool more = WaitFor(
        [&](const XEvent& e) {
          return e.type == PropertyNotify && e.xproperty.atom == property_ && e.xproperty.state == PropertyNewValue;
        },
        deadline, &ev);
    if (!more) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const long words = static_cast<long>((kMaxBytes - out->bytes.size()) / 4 + 1);
    if (XGetWindowProperty(dpy_, window_, property_, 0, words, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
      return false;
    const bool ok = format == 8 && after == 0 && out->bytes.size() + count <= kMaxBytes;
    if (ok && data) out->bytes.append(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    if (!ok) return false;
    if (count == 0) {  // the empty piece ends the transfer
      out->type = type;
      return true;
    }
    // A transfer that keeps coming is not cut short; each piece has the
    // whole wait.
    deadline = NowMs() + kWaitMs;
  }
}

bool X11Clipboard::WaitFor(const std::function<bool(const XEvent&)>& wanted, long long deadline, XEvent* out) {
  for (;;) {
    while (XPending(dpy_)) {
      XEvent ev;
      XNextEvent(dpy_, &ev);
      if (ev.xany.window == window_ && wanted(ev)) {
        *out = ev;
        return true;
      }
      if (!HandleEvent(ev) && others_) others_(ev);
    }
    const long long left = deadline - NowMs();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long long>(left, 50)));
  }
}

bool X11Clipboard::HandleEvent(XEvent& ev) {
  switch (ev.type) {
    case SelectionRequest:
      if (ev.xselectionrequest.owner != window_) return false;
      Answer(ev.xselectionrequest);
      return true;
    case SelectionClear:
      if (ev.xselectionclear.window != window_) return false;
      if (ev.xselectionclear.selection == clipboard_) owned_ = false;
      return true;
    default:
      // Answers and property changes outside a paste are stale.
      return ev.xany.window == window_;
  }
}

void X11Clipboard::Answer(const XSelectionRequestEvent& req) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = dpy_;
  reply.requestor = req.requestor;
  reply.selection = req.selection;
  reply.target = req.target;
  reply.time = req.time;
  reply.property = None;
  // Clients of the oldest conventions name no property: the target then.
  const Atom property = req.property == None ? req.target : req.property;
  if (req.selection == clipboard_ && owned_) {
    if (req.target == targets_) {
      const Atom offered[] = {targets_, utf8_, plainUtf8_, XA_STRING, text_};
      XChangeProperty(dpy_, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered), static_cast<int>(std::size(offered)));
      reply.property = property;
    } else if (req.target == utf8_ || req.target == plainUtf8_ || req.target == XA_STRING || req.target == text_) {
      const bool utf8 = req.target == utf8_ || req.target == plainUtf8_;
      const std::string data = utf8 ? ClipboardTextToUtf8(copied_) : ClipboardTextToLatin1(copied_);
      // Text too large for one property is refused rather than sent in
      // pieces: the Windows programs this serves copy far less.
      if (data.size() <= MaxPropertyBytes()) {
        XChangeProperty(dpy_, req.requestor, property, utf8 ? req.target : XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
        reply.property = property;
      }
    }
  }
  XEvent out{};
  out.xselection = reply;
  XSendEvent(dpy_, req.requestor, False, NoEventMask, &out);
  XFlush(dpy_);
}

}  // namespace win::display::x11
