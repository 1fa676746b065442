// Writes a surface as an 8-bit RGB PNG file: for tests (a failing picture
// is saved to look at) and for the headless "save window as PNG" request.
#pragma once

#include <string>

#include "gdi/surface.h"

namespace win::gdi {

// `path` is a plain Linux path. False (and `error` says why) when the file
// cannot be written.
bool WritePng(const Surface& surface, const std::string& path, std::string* error = nullptr);

// Reads an 8-bit RGB or RGBA PNG (as ImageMagick and WritePng make) into a
// new Color surface; null (and `error`) when it cannot. For tests comparing
// against pictures made by other tools.
std::unique_ptr<Surface> ReadPng(const std::string& path, std::string* error = nullptr);

}  // namespace win::gdi
