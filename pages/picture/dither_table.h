// What the picture code needs to show true-colour pictures on a display of
// few colours: the display's logical palette (16 or 236 colours), a colour
// lookup giving the nearest palette entry of a colour reduced to 4 bits per
// channel, the error shares of error diffusion, and a table of scaled
// intensities. MainWindow is the program's one display object: a dither
// table built for the display's depth, with the image and window settings
// read at start-up.
#pragma once

#include <cstdint>
#include <memory>

#include "mfc/controls.h"
#include "mfc/dialog.h"
#include "mfc/object.h"
#include "win/gdi.h"
#include "win/types.h"

class CDitherTable : public CObject {
  DECLARE_DYNAMIC(CDitherTable)
 public:
  static constexpr int kLookupBytes = 65536;
  static constexpr int kErrorRange = 512;  // errors -256..255 at e + 256
  static constexpr int kScaleRows = 128;
  static constexpr int kPalette16 = 16;
  static constexpr int kPalette236 = 236;
  // The four error-share tables, in their order in `errorShares`.
  enum Share { kOneSixteenth, kThreeSixteenths, kFiveSixteenths, kSevenSixteenths };

  CDitherTable();
  ~CDitherTable() override;
  CDitherTable(const CDitherTable&) = delete;
  CDitherTable& operator=(const CDitherTable&) = delete;

  BOOL BuildScaleTable();
  BOOL CreatePalette16();
  BOOL CreatePalette256();
  BOOL BuildColorLookup();

  // The lookup index of a colour: only every 16th byte of the lookup is used.
  static int LookupIndex(int red, int green, int blue) {
    return (red >> 4) * 4096 + (green >> 4) * 256 + (blue >> 4) * 16;
  }
  // The nearest palette entry of a colour (0 before the lookup is built).
  BYTE Nearest(int red, int green, int blue) const {
    return colorLookup ? colorLookup[LookupIndex(red, green, blue)] : 0;
  }
  // The share of an error e (-256..255) for one of the four weights.
  std::int32_t ErrorShare(Share share, int e) const { return errorShares[share][e + 256]; }
  // v scaled by weight/128 (weight 0..127).
  BYTE Scale(int weight, int v) const { return scaleTable[weight][v]; }

  const BYTE* ColorLookup() const { return colorLookup; }
  const LOGPALETTE* LogPalette() const { return logPalette; }
  HPALETTE Palette() const { return palette; }
  int PaletteCount() const { return paletteCount; }

 protected:
  BOOL CreatePaletteOf(int count);

  BYTE* colorLookup = nullptr;
  std::int32_t errorShares[4][kErrorRange] = {};
  BYTE scaleTable[kScaleRows][256] = {};
  LOGPALETTE* logPalette = nullptr;
  HPALETTE palette = nullptr;
  std::int32_t paletteCount = 0;
};

class MainWindow : public CDitherTable {
 public:
  // Dialog template of the start-up logo.
  static constexpr UINT kLogoTemplate = 105;

  MainWindow();
  ~MainWindow() override;

  // Reads the settings, shows the logo when asked, builds the tables for
  // the display; the result is that of BuildDitherTables.
  BOOL InitialShow();
  // Measures the display and builds the tables and palette for its depth.
  BOOL BuildDitherTables();

  int ColorDepth() const { return colorDepth; }
  // A palette display: 8 bits per pixel or fewer.
  bool IsPaletteDisplay() const { return colorDepth > 0 && colorDepth <= 8; }
  int Width() const { return width; }
  int Height() const { return height; }
  int Resize() const { return resize; }
  int InitialFixed() const { return initialFixed; }
  int ShowFast() const { return showFast; }
  int ShowLinks() const { return showLinks; }
  int ShowToolbar() const { return showToolbar; }
  HCURSOR LinkCursor() const { return linkCursor; }
  DWORD LogoTick() const { return logoTick; }
  CDialog& Logo() { return logo; }

 private:
  std::int32_t colorDepth = 0;
  CDialog logo;
  CButton button;
  DWORD logoTick = 0;
  std::int32_t width = 320;
  std::int32_t height = 240;
  std::int32_t resize = 0;
  std::int32_t initialFixed = 0;
  std::int32_t showFast = 0;
  HCURSOR linkCursor = nullptr;
  std::int32_t showLinks = 1;
  std::int32_t showToolbar = 1;
};

// The program's main window object: the one the application made, else one
// made on first use for the display as it is (tables rebuilt when the
// display's depth has changed since).
MainWindow& TheMainWindow();
// The application installs its object (null removes it); the caller keeps it.
void SetMainWindow(MainWindow* window);
