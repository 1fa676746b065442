// The display's clipboard, for the window system's clipboard (text only).
// The X11 display installs one so that text copied in the program reaches
// other programs and back; without one the clipboard stays in the program.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace win::display {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The program copied `text` (CR LF line ends, as Windows keeps them).
  virtual void SetText(const std::string& text) = 0;
  // The clipboard's text now, when another program owns it; nullopt when
  // the program's own copy stands (or nothing can be had).
  virtual std::optional<std::string> GetText() = 0;
};

// Installs the display's clipboard (null: none).
void UseClipboard(std::unique_ptr<Clipboard> clipboard);
Clipboard* ActiveClipboard();

}  // namespace win::display
