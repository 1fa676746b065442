// PNG files are read and written by libpng in a module of its own,
// libzemrapng.so beside the library, loaded the first time a picture is
// saved or read (platform/gdi/png).
#pragma once

#include <memory>
#include <string>

#include "gdi/surface.h"

namespace win::gdi {

struct PngModule {
  // As WritePng and ReadPng (gdi/png_writer.h); `error` is never null.
  bool (*write)(const Surface& surface, const std::string& path, std::string* error);
  std::unique_ptr<Surface> (*read)(const std::string& path, std::string* error);
};

}  // namespace win::gdi

// The one symbol the module exports.
extern "C" const win::gdi::PngModule* ZemraPngModule();
