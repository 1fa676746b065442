// Pages for print preview: one page drawn on a printer DC and taken as a
// picture, and pictures shrunk to the size the preview shows them at.
#pragma once

#include <memory>

#include "gdi/surface.h"
#include "win/print.h"

namespace win::print {

// Clears the printer DC's page to white, has `render` draw page `page` on it
// (in a saved DC state) and returns a copy of the page. Null when `dc` is
// not a printer DC or `render` says there is no such page.
std::unique_ptr<gdi::Surface> RenderPreviewPage(HDC dc, UINT page, const RenderPageFn& render);

// `src` at width x height: each pixel the average of the source pixels it
// covers (so thin lines and small text stay visible); a larger size repeats
// pixels. Null for a size Surface::Create refuses.
std::unique_ptr<gdi::Surface> ScalePicture(const gdi::Surface& src, int width, int height);

}  // namespace win::print
