// Helpers shared by the GDI sources (not for other subsystems).
#pragma once

#include <cstdint>
#include <vector>

#include "gdi/dc.h"

namespace win::gdi {

std::vector<DcRecord*> AllDcs();

// Window and screen DCs: asks the window system again when the geometry
// epoch moved on since the last time.
void RefreshWindowDc(DcRecord& dc);

// Deletes a DC of any kind (DIB driver write-back, window release).
bool DestroyDc(HDC dc);

// Whether any DC (current or saved state) has the object selected.
bool ObjectInUse(const void* handle);

// A COLORREF as the DC means it, 0x00RRGGBB: PALETTEINDEX through the
// selected palette, PALETTERGB to the nearest entry of the selected palette
// on a palette display.
std::uint32_t ResolveRgb(const DcRecord& dc, COLORREF color);

// The DC's drawing clip reduced to a rectangle of interest (surface coords).
Region ClipTo(const DcRecord& dc, const RECT& r);

// The display's screen DC surface used when no window system is there.
void ResetWindowDcState();

}  // namespace win::gdi
