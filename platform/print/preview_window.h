// The print-preview window's geometry, for its own drawing and for tests
// that click its buttons and look at its page.
#pragma once

#include "win/print.h"

namespace win::print {

inline constexpr char kPreviewClass[] = "ZemraPrintPreview";

// Client rectangles: a toolbar button (empty for an unknown id), and the
// page as shown (it may reach outside the client area when zoomed).
RECT PreviewButtonRect(HWND preview, UINT id);
RECT PreviewPageRect(HWND preview);
bool PreviewButtonEnabled(HWND preview, UINT id);

}  // namespace win::print
