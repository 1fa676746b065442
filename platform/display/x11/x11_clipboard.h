// The CLIPBOARD selection of an X display as the window system's clipboard:
// the program owns the selection when it copies and answers other programs'
// requests (TARGETS, UTF8_STRING, STRING, TEXT); a paste asks the owner for
// UTF-8 text (ISO 8859-1 STRING if it has none) and waits a bounded time,
// taking in the display's other events meanwhile.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "display/clipboard.h"

namespace win::display::x11 {

class X11Clipboard {
 public:
  // `others` takes the display's events that arrive while a paste waits.
  X11Clipboard(::Display* dpy, ::Window root, std::function<void(XEvent&)> others);
  ~X11Clipboard();
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  // The program's text (Windows-1252, CR LF): the program takes the selection.
  void SetText(const std::string& text);
  // Another program's text, converted; nullopt while the program owns the
  // selection, when nobody does, or when the owner gives no text in time.
  std::optional<std::string> GetText();
  // Takes the events meant for the clipboard's window (requests for the
  // selection, its loss); false for any other event.
  bool HandleEvent(XEvent& ev);

  // How long a paste waits for the owner's answer (and, for a text that
  // comes in pieces, for each further piece).
  static constexpr int kWaitMs = 1500;
  // The most text taken from another program or offered to one at once.
  static constexpr size_t kMaxBytes = 16u << 20;

 private:
  struct Received {
    Atom type = 0;
    std::string bytes;
  };
  enum class Outcome { Ok, Refused, Failed };
  Outcome Request(Atom target, long long deadlineMs, Received* out);
  bool ReadIncremental(long long deadlineMs, Received* out);
  // Waits for an event of the clipboard's window that `wanted` accepts,
  // passing the others on; false when the deadline passes first.
  bool WaitFor(const std::function<bool(const XEvent&)>& wanted, long long deadlineMs, XEvent* out);
  void Answer(const XSelectionRequestEvent& req);
  size_t MaxPropertyBytes() const;

  ::Display* dpy_;
  ::Window window_ = 0;
  std::function<void(XEvent&)> others_;
  Atom clipboard_, targets_, utf8_, text_, plainUtf8_, incr_, property_;
  std::string copied_;  // the program's own text
  bool owned_ = false;
};

// The window system's clipboard over an X11Clipboard that the display owns:
// once the display is gone it holds nothing and takes nothing.
class X11ClipboardLink final : public Clipboard {
 public:
  explicit X11ClipboardLink(std::weak_ptr<X11Clipboard> clipboard) : clipboard_(std::move(clipboard)) {}
  void SetText(const std::string& text) override {
    if (auto c = clipboard_.lock()) c->SetText(text);
  }
  std::optional<std::string> GetText() override {
    auto c = clipboard_.lock();
    return c ? c->GetText() : std::nullopt;
  }

 private:
  std::weak_ptr<X11Clipboard> clipboard_;
};

}  // namespace win::display::x11
