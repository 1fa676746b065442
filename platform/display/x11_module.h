// The X11 display backend (platform/display/x11) lives in a module of its
// own, libzemrax11.so beside the library, loaded when a display is first
// opened: a headless program never loads Xlib.
#pragma once

#include <memory>
#include <string>

#include "display/display.h"

namespace win::display {

struct X11Module {
  // The display of the X server `name` (null: $DISPLAY); null, and `error`
  // says why, when it cannot be used.
  std::unique_ptr<Display> (*open)(const char* name, std::string* error);
};

}  // namespace win::display

// The one symbol the module exports.
extern "C" const win::display::X11Module* ZemraX11Module();
