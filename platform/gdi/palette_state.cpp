#include "gdi/palette_state.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "gdi/color.h"

namespace win::gdi {
namespace {

constexpr BYTE kStatic20[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

// The 16 colours of a 4-bit display, in the order that makes index ^ 15 the
// inverse colour.
constexpr BYTE kVga16[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0}, {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

struct State {
  bool init = false;
  int bits = 24;
  std::array<PALETTEENTRY, 256> entries{};
  std::array<bool, 256> used{};
  std::array<bool, 256> fixed{};  // static entries
  std::unordered_map<std::uint32_t, int> nearest;  // cache
  std::unordered_map<std::uint32_t, int> exact;    // colour -> first index
};

State& S() {
  static State s;
  return s;
}

void Rebuild() {
  State& s = S();
  s.nearest.clear();
  s.exact.clear();
  int n = SystemPaletteSize();
  for (int i = 0; i < n; ++i) {
    if (!s.used[i]) continue;
    std::uint32_t px = (std::uint32_t(s.entries[i].peRed) << 16) |
                       (std::uint32_t(s.entries[i].peGreen) << 8) | s.entries[i].peBlue;
    s.exact.emplace(px, i);  // keeps the first index of a colour
  }
}

void LoadStatic() {
  State& s = S();
  s.entries.fill(PALETTEENTRY{0, 0, 0, 0});
  s.used.fill(false);
  s.fixed.fill(false);
  if (s.bits == 8) {
    for (int i = 0; i < 10; ++i) {
      s.entries[i] = PALETTEENTRY{kStatic20[i][0], kStatic20[i][1], kStatic20[i][2], 0};
      s.entries[246 + i] =
          PALETTEENTRY{kStatic20[10 + i][0], kStatic20[10 + i][1], kStatic20[10 + i][2], 0};
      s.used[i] = s.used[246 + i] = true;
      s.fixed[i] = s.fixed[246 + i] = true;
    }
  } else if (s.bits == 4) {
    for (int i = 0; i < 16; ++i) {
      s.entries[i] = PALETTEENTRY{kVga16[i][0], kVga16[i][1], kVga16[i][2], 0};
      s.used[i] = s.fixed[i] = true;
    }
  }
  Rebuild();
}

void Init() {
  State& s = S();
  if (s.init) return;
  s.init = true;
  s.bits = 24;
  if (const char* env = std::getenv("ZEMRA_DISPLAY_BPP")) {
    int v = std::atoi(env);
    if (v == 8 || v == 4 || v == 24) s.bits = v;
  }
  LoadStatic();
}

std::uint32_t Dist(std::uint32_t a, const PALETTEENTRY& e) {
  int dr = int((a >> 16) & 0xFF) - e.peRed;
  int dg = int((a >> 8) & 0xFF) - e.peGreen;
  int db = int(a & 0xFF) - e.peBlue;
  return std::uint32_t(dr * dr + dg * dg + db * db);
}

}  // namespace

int DisplayBits() {
  Init();
  return S().bits;
}

bool DisplayIsPalettized() { return DisplayBits() <= 8; }

int SystemPaletteSize() {
  int b = DisplayBits();
  return b == 8 ? 256 : b == 4 ? 16 : 0;
}

PALETTEENTRY SystemEntry(int index) {
  Init();
  if (index < 0 || index >= SystemPaletteSize()) return PALETTEENTRY{0, 0, 0, 0};
  return S().entries[index];
}

std::uint32_t SystemPixel(int index) {
  PALETTEENTRY e = SystemEntry(index);
  return (std::uint32_t(e.peRed) << 16) | (std::uint32_t(e.peGreen) << 8) | e.peBlue;
}

int NearestSystemIndex(std::uint32_t px) {
  Init();
  State& s = S();
  px &= 0xFFFFFFu;
  auto it = s.nearest.find(px);
  if (it != s.nearest.end()) return it->second;
  int n = SystemPaletteSize();
  int best = 0;
  std::uint32_t bestDist = 0xFFFFFFFFu;
  for (int i = 0; i < n; ++i) {
    if (!s.used[i]) continue;
    std::uint32_t d = Dist(px, s.entries[i]);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  if (s.nearest.size() > 65536) s.nearest.clear();
  s.nearest.emplace(px, best);
  return best;
}

int SystemIndexOfPixel(std::uint32_t px) {
  Init();
  auto it = S().exact.find(px & 0xFFFFFFu);
  if (it != S().exact.end()) return it->second;
  return NearestSystemIndex(px);
}

UINT RealizeIntoSystemPalette(const PaletteObj& pal, bool background) {
  Init();
  State& s = S();
  if (s.bits != 8) return 0;
  std::array<PALETTEENTRY, 256> before = s.entries;
  std::array<bool, 256> usedBefore = s.used;
  if (!background) {
    for (int i = 0; i < 256; ++i) {
      if (!s.fixed[i]) {
        s.used[i] = false;
        s.entries[i] = PALETTEENTRY{0, 0, 0, 0};
      }
    }
  }
  int next = 10;
  for (const PALETTEENTRY& e : pal.entries) {
    if (e.peFlags & PC_EXPLICIT) continue;  // names a system entry; nothing to place
    bool collapse = !(e.peFlags & (PC_NOCOLLAPSE | PC_RESERVED));
    if (collapse) {
      bool found = false;
      for (int i = 0; i < 256 && !found; ++i) {
        found = s.used[i] && s.entries[i].peRed == e.peRed && s.entries[i].peGreen == e.peGreen &&
                s.entries[i].peBlue == e.peBlue;
      }
      if (found) continue;
    }
    while (next < 246 && s.used[next]) ++next;
    if (next >= 246) break;  // full: the rest map to the nearest colour
    s.entries[next] = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, 0};
    s.used[next] = true;
  }
  UINT changed = 0;
  for (int i = 0; i < 256; ++i) {
    if (s.used[i] != usedBefore[i] ||
        (s.used[i] && std::memcmp(&s.entries[i], &before[i], 3) != 0)) {
      ++changed;
    }
  }
  if (changed) Rebuild();
  return changed;
}

void ResetSystemPalette() {
  State& s = S();
  s.init = false;
  Init();
}

bool SetDisplayBitsForState(int bits) {
  if (bits != 24 && bits != 8 && bits != 4) return false;
  Init();
  S().bits = bits;
  LoadStatic();
  return true;
}

int NearestLogicalIndex(const std::vector<PALETTEENTRY>& entries, std::uint32_t px) {
  int best = -1;
  std::uint32_t bestDist = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::uint32_t d = Dist(px, entries[i]);
    if (d < bestDist) {
      bestDist = d;
      best = int(i);
    }
  }
  return best;
}

std::uint32_t DeviceSpace::FromPixel(std::uint32_t px) const {
  if (format == PixelFormat::Display) return std::uint32_t(SystemIndexOfPixel(px));
  return px & 0xFFFFFFu;
}

std::uint32_t DeviceSpace::ToPixel(std::uint32_t value) const {
  if (format == PixelFormat::Display) return SystemPixel(int(value & mask));
  return value & 0xFFFFFFu;
}

std::uint32_t DeviceSpace::FromColor(std::uint32_t px) const {
  switch (format) {
    case PixelFormat::Mono: return MonoPixel(px);
    case PixelFormat::Display: return std::uint32_t(NearestSystemIndex(px));
    default: return px & 0xFFFFFFu;
  }
}

DeviceSpace SpaceOf(const Surface& s) {
  DeviceSpace d;
  d.format = s.format();
  if (d.format == PixelFormat::Display) {
    int bits = DisplayBits();
    if (bits > 8) {
      d.format = PixelFormat::Color;
    } else {
      d.mask = bits == 4 ? 0xFu : 0xFFu;
    }
  }
  return d;
}

}  // namespace win::gdi
