// The small pictures of the standard controls, drawn pixel by pixel in the
// system colours the way Windows 95 draws them: check boxes, radio buttons,
// the drop-down arrow; and the system icons.
#pragma once

#include "win/gdi.h"
#include "win/user.h"

namespace win::user {

inline constexpr int kCheckSize = 13;  // a check box's square
inline constexpr int kRadioSize = 12;  // a radio button's circle

enum class CheckKind { Box, Radio, ThreeState };

// Draws the picture with its top-left corner at (x, y). `state` is
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; a pushed or disabled
// picture has a grey inside (and a grey mark when disabled).
void DrawCheckGlyph(HDC dc, int x, int y, CheckKind kind, UINT state, bool pushed, bool disabled);

// A solid down-pointing triangle (the combo box's button), centred in `r`.
void DrawDownArrow(HDC dc, const RECT& r, COLORREF color);

// A raised Windows 95 button face in `r` (outer highlight and dark shadow,
// inner light and shadow); pushed: flat with a shadow frame.
void DrawRaisedFace(HDC dc, const RECT& r, bool pushed);

// The system icons (IDI_*), 32 x 32.
inline constexpr int kIconSize = 32;
bool IsSystemIcon(HICON icon);
void PaintSystemIcon(HDC dc, int x, int y, HICON icon);

}  // namespace win::user
