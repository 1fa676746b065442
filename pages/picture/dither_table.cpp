#include "pages/picture/dither_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "core/message_boxes.h"
#include "mfc/app.h"
#include "win/kernel.h"
#include "win/user.h"

IMPLEMENT_DYNAMIC(CDitherTable, CObject)

namespace {

constexpr UINT kStrOutOfMemory = 4;

struct Rgb {
  BYTE r, g, b;
};

// The 16 colours of a VGA display, in palette order.
constexpr Rgb kFixed16[16] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},     {128, 0, 128},
    {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},     {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
// The four further system colours of a 256-colour display.
constexpr Rgb kSystemExtra[4] = {{192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164}};

// e * w / 16 rounded to the nearest integer, halves away from zero.
std::int32_t ShareOf(int e, int w) { return e < 0 ? -((-e * w + 8) >> 4) : (e * w + 8) >> 4; }

int ProfileInt(const char* section, const char* key, int def) {
  CWinApp* app = AfxGetApp();
  return app ? static_cast<int>(app->GetProfileInt(section, key, def)) : def;
}

MainWindow* gInstalled = nullptr;

}  // namespace

CDitherTable::CDitherTable() = default;

CDitherTable::~CDitherTable() {
  std::free(colorLookup);
  if (palette) DeleteObject(palette);
  std::free(logPalette);
}

BOOL CDitherTable::BuildScaleTable() {
  for (int i = 0; i < kScaleRows; ++i)
    for (int v = 0; v < 256; ++v) scaleTable[i][v] = static_cast<BYTE>((v * i) >> 7);
  return 1;
}

BOOL CDitherTable::CreatePalette16() { return CreatePaletteOf(kPalette16); }
BOOL CDitherTable::CreatePalette256() { return CreatePaletteOf(kPalette236); }

BOOL CDitherTable::CreatePaletteOf(int count) {
  auto* block = static_cast<LOGPALETTE*>(
      std::calloc(1, sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count)));
  if (!block) {
    ShowMessageId(kStrOutOfMemory);
    return 0;
  }
  block->palVersion = 0x300;
  block->palNumEntries = static_cast<WORD>(count);
  auto put = [&](int i, Rgb c) { block->palPalEntry[i] = PALETTEENTRY{c.r, c.g, c.b, 0}; };
  for (int i = 0; i < 16; ++i) put(i, kFixed16[i]);
  if (count == kPalette236) {
    for (int i = 0; i < 4; ++i) put(16 + i, kSystemExtra[i]);
    for (int b = 0; b < 6; ++b)
      for (int g = 0; g < 6; ++g)
        for (int r = 0; r < 6; ++r)
          put(20 + 36 * b + 6 * g + r,
              Rgb{static_cast<BYTE>(51 * r), static_cast<BYTE>(51 * g), static_cast<BYTE>(51 * b)});
  }
  // A table rebuilt for another depth replaces what it had.
  if (palette) DeleteObject(palette);
  std::free(logPalette);
  logPalette = block;
  paletteCount = count;
  palette = ::CreatePalette(logPalette);
  if (!palette) return 0;
  return BuildColorLookup();
}

BOOL CDitherTable::BuildColorLookup() {
  if (!colorLookup) {
    colorLookup = static_cast<BYTE*>(std::calloc(kLookupBytes, 1));
    if (!colorLookup) {
      ShowMessageId(kStrOutOfMemory);
      return 0;
    }
  }
  const int entries = logPalette ? logPalette->palNumEntries : 0;
  for (int c = 0; c < 4096; ++c) {
    auto level = [](int nibble) { return nibble == 15 ? 255 : nibble * 16; };
    const int r = level((c >> 8) & 15), g = level((c >> 4) & 15), b = level(c & 15);
    long best = 10000000;
    int bestIndex = 0;
    for (int i = 0; i < entries; ++i) {
      const PALETTEENTRY& e = logPalette->palPalEntry[i];
      const long d = long(r - e.peRed) * (r - e.peRed) + long(g - e.peGreen) * (g - e.peGreen) +
                     long(b - e.peBlue) * (b - e.peBlue);
      if (d < best) {
        best = d;
        bestIndex = i;
      }
    }
    colorLookup[c * 16] = static_cast<BYTE>(bestIndex);
  }
  static constexpr int kWeights[4] = {1, 3, 5, 7};
  for (int s = 0; s < 4; ++s)
    for (int e = -256; e < 256; ++e) errorShares[s][e + 256] = ShareOf(e, kWeights[s]);
  return 1;
}

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  if (gInstalled == this) gInstalled = nullptr;
  if (logo.GetSafeHwnd()) logo.DestroyWindow();
}

BOOL MainWindow::BuildDitherTables() {
  HDC screen = GetDC(nullptr);
  colorDepth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  const int colors = colorDepth <= 8 ? 1 << colorDepth : 0;
  BuildScaleTable();
  if (colors == 0) return 1;
  if (colors == 256) return CreatePalette256();
  return CreatePalette16();
}

BOOL MainWindow::InitialShow() {
  resize = ProfileInt("Image", "Resize", 0);
  if (ProfileInt("Orvello", "ShowLogo", 0) != 0) {
    CWinApp* app = AfxGetApp();
    CWnd* parent = app ? app->m_pMainWnd : nullptr;
    // A logo that cannot be made is simply not shown.
    if (logo.Create(kLogoTemplate, parent)) {
      logo.ShowWindow(SW_SHOW);
      logo.UpdateWindow();
    }
  }
  logoTick = GetTickCount();
  const BOOL result = BuildDitherTables();
  width = ProfileInt("Image", "Width", 320);
  height = ProfileInt("Image", "Height", 240);
  initialFixed = ProfileInt("Image", "InitialFixed", 0);
  showFast = ProfileInt("Image", "ShowFast", 0);
  linkCursor = LoadCursor(AfxGetResourceHandle(), "LINKCURSOR");
  showLinks = ProfileInt("Image", "ShowLinks", 1);
  showToolbar = ProfileInt("Image", "ShowToolbar", 1);
  return result;
}

void SetMainWindow(MainWindow* window) { gInstalled = window; }

MainWindow& TheMainWindow() {
  if (gInstalled) return *gInstalled;
  static MainWindow* fallback = nullptr;
  if (!fallback) {
    fallback = new MainWindow;
    fallback->BuildDitherTables();
  } else if (fallback->ColorDepth() != win::DisplayBitsPerPixel()) {
    fallback->BuildDitherTables();
  }
  return *fallback;
}
