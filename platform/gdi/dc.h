// The device-context record behind an HDC.
//
// Coordinates: logical (what the caller passes) -> device (relative to the
// DC's drawing area: logical - window origin + viewport origin, MM_TEXT) ->
// surface (device + `origin`, the drawing area's corner on the surface).
// The visible region is in surface coordinates and comes from whoever made
// the DC (the window system for window DCs; the whole surface otherwise).
// The application's clip region is in device coordinates. What a drawing
// operation may touch is their intersection (`EffectiveClip`).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gdi/objects.h"
#include "gdi/region.h"
#include "gdi/surface.h"
#include "win/gdi.h"

namespace win::gdi {

enum class DcKind : std::uint8_t {
  Memory,   // CreateCompatibleDC: draws on its selected bitmap
  Window,   // GetDC, GetWindowDC, BeginPaint: a window's area of a surface
  Screen,   // GetDC(null), CreateDC("DISPLAY")
  Printer,  // CreateDC of a printer: a page surface
  Dib,      // CreateDC("DIB"): a packed DIB in memory
  Info,     // CreateIC: answers questions, draws nothing
};

// What SaveDC saves and RestoreDC brings back.
struct DcState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HPALETTE palette = nullptr;
  HBITMAP bitmap = nullptr;  // memory DCs
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  int polyFillMode = ALTERNATE;
  int mapMode = MM_TEXT;
  int charExtra = 0;
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  POINT position{0, 0};   // current position (logical)
  POINT brushOrg{0, 0};   // device coordinates
  std::optional<Region> clip;  // device coordinates; none = no clip region
};

struct DcRecord {
  DcKind kind = DcKind::Memory;
  HDC handle = nullptr;
  HWND window = nullptr;       // Window DCs; null for the screen
  bool clientArea = true;      // GetDC / BeginPaint (true) or GetWindowDC (false)
  bool released = false;       // ReleaseDC'd window DC waiting for deletion
  Surface* surface = nullptr;  // not owned (except `ownSurface`)
  std::unique_ptr<Surface> ownSurface;  // printer page, DIB driver shadow
  POINT origin{0, 0};          // the drawing area's corner on the surface
  Region visible;              // surface coordinates
  std::optional<Region> paintClip;  // BeginPaint's update region (device coordinates)
  std::uint64_t geometryEpoch = 0;  // window DCs: last window-system epoch seen
  bool paletteBackground = false;   // SelectPalette's forceBackground
  DcState state;
  std::vector<DcState> saved;  // SaveDC stack

  // Printer DCs.
  int dpiX = 96;
  int dpiY = 96;
  bool docStarted = false;
  bool pageStarted = false;
  // DIB driver DCs: the packed DIB written back at DeleteDC.
  void* dibTarget = nullptr;
  int dibBits = 0;

  // SetBoundsRect.
  bool boundsEnabled = false;
  bool boundsSet = false;
  RECT bounds{0, 0, 0, 0};  // device coordinates

  // Cache of the effective clip (surface coordinates).
  mutable bool clipValid = false;
  mutable Region clipCache;
};

DcRecord* LookupDc(HDC dc);  // null for a bad or deleted handle

// Makes a DC record with default state and stock objects selected.
HDC NewDc(DcKind kind);

// Coordinate helpers.
POINT LogicalToDevice(const DcRecord& dc, POINT p);
POINT DeviceToLogical(const DcRecord& dc, POINT p);
POINT LogicalToSurface(const DcRecord& dc, POINT p);
RECT LogicalRectToSurface(const DcRecord& dc, const RECT& r);  // normalised (left <= right)

// Where drawing may reach, in surface coordinates: visible region ∩ paint
// clip ∩ clip region ∩ the surface. Empty when the DC has no surface.
// Window DCs ask the window system again when its geometry changed.
const Region& EffectiveClip(const DcRecord& dc);
void InvalidateClip(const DcRecord& dc);

// After a drawing operation touched `r` (surface coordinates, clipped):
// the damage list of the surface and the DC's bounds.
void NoteDrawn(DcRecord& dc, const RECT& r);

// The surface a DC draws on (null for an Info DC or a DC without one).
Surface* DcSurface(DcRecord& dc);

// Device capability of a DC (GetDeviceCaps without the handle lookup).
int DeviceCaps(const DcRecord& dc, int index);

}  // namespace win::gdi
