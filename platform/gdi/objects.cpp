#include "gdi/objects.h"

#include <cstring>

#include "gdi/dc.h"

namespace win::gdi {
namespace {

constexpr std::uint32_t kKindBits = 4;
constexpr std::uint32_t kSlotBits = 20;
constexpr std::uint32_t kMaxSlots = (1u << kSlotBits) - 1;  // slot 0 is never used

struct Slot {
  std::uint8_t generation = 0;
  Object obj;
};

// The first slots are never used: no handle is 0, and none is a small
// number, which as a brush stands for a system colour (COLOR_xxx + 1).
constexpr std::uint32_t kFirstSlot = 2;
static_assert((kFirstSlot << kKindBits) > COLOR_INFOBK + 1);

struct Table {
  std::vector<Slot> slots{kFirstSlot};
  std::vector<std::uint32_t> free;
  std::size_t live = 0;
};

Table& TheTable() {
  static Table t;
  return t;
}

std::uintptr_t Encode(std::uint32_t slot, std::uint8_t gen, Kind kind) {
  return (std::uintptr_t(gen) << (kKindBits + kSlotBits)) | (std::uintptr_t(slot) << kKindBits) |
         std::uintptr_t(kind);
}

Slot* Decode(const void* handle) {
  std::uintptr_t v = reinterpret_cast<std::uintptr_t>(handle);
  if (v == 0 || (v >> (kKindBits + kSlotBits + 8)) != 0) return nullptr;
  std::uint32_t kind = v & ((1u << kKindBits) - 1);
  std::uint32_t slot = (v >> kKindBits) & kMaxSlots;
  std::uint8_t gen = std::uint8_t(v >> (kKindBits + kSlotBits));
  Table& t = TheTable();
  if (slot < kFirstSlot || slot >= t.slots.size()) return nullptr;
  Slot& s = t.slots[slot];
  if (s.obj.kind == Kind::None || s.generation != gen || std::uint32_t(s.obj.kind) != kind) {
    return nullptr;
  }
  return &s;
}

// Stock objects, made on first use.
struct Stock {
  HGDIOBJ objects[DEFAULT_GUI_FONT + 1] = {};
  HBITMAP defaultBitmap = nullptr;
  bool made = false;
};

Stock& TheStock() {
  static Stock s;
  return s;
}

void* AddStock(Object obj) {
  obj.stock = true;
  return AddObject(std::move(obj));
}

void* StockBrush(COLORREF c, UINT style = BS_SOLID) {
  Object o;
  o.kind = Kind::Brush;
  BrushObj b;
  b.style = style;
  b.color = c;
  o.data = std::move(b);
  return AddStock(std::move(o));
}

void* StockPen(COLORREF c, int style = PS_SOLID) {
  Object o;
  o.kind = Kind::Pen;
  PenObj p;
  p.style = style;
  p.color = c;
  o.data = p;
  return AddStock(std::move(o));
}

void* StockFont(LONG height, LONG weight, BYTE pitchFamily, const char* face, BYTE charset) {
  Object o;
  o.kind = Kind::Font;
  FontObj f;
  f.logfont.lfHeight = height;
  f.logfont.lfWeight = weight;
  f.logfont.lfCharSet = charset;
  f.logfont.lfPitchAndFamily = pitchFamily;
  std::strncpy(f.logfont.lfFaceName, face, LF_FACESIZE - 1);
  o.data = f;
  return AddStock(std::move(o));
}

void MakeStock() {
  Stock& s = TheStock();
  if (s.made) return;
  s.made = true;
  s.objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
  s.objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
  s.objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
  s.objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
  s.objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
  s.objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
  s.objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
  s.objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
  s.objects[NULL_PEN] = StockPen(0, PS_NULL);
  s.objects[OEM_FIXED_FONT] = StockFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal", OEM_CHARSET);
  s.objects[ANSI_FIXED_FONT] = StockFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier", ANSI_CHARSET);
  s.objects[ANSI_VAR_FONT] = StockFont(12, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif", ANSI_CHARSET);
  s.objects[SYSTEM_FONT] = StockFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System", ANSI_CHARSET);
  s.objects[DEVICE_DEFAULT_FONT] = StockFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System", ANSI_CHARSET);
  s.objects[SYSTEM_FIXED_FONT] = StockFont(16, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys", ANSI_CHARSET);
  s.objects[DEFAULT_GUI_FONT] = StockFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif", ANSI_CHARSET);
  {
    Object o;
    o.kind = Kind::Palette;
    PaletteObj p;
    // The 20 static colours of the system palette.
    static const BYTE kStatic[20][3] = {
        {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
        {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (const auto& c : kStatic) p.entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
    o.data = std::move(p);
    s.objects[DEFAULT_PALETTE] = AddStock(std::move(o));
  }
  {
    Object o;
    o.kind = Kind::Bitmap;
    BitmapObj b;
    b.surface = Surface::Create(1, 1, PixelFormat::Mono, 0);
    b.bitsPerPixel = 1;
    o.data = std::move(b);
    s.defaultBitmap = static_cast<HBITMAP>(AddStock(std::move(o)));
  }
}

template <typename T>
T* As(const void* handle, Kind kind) {
  Object* o = LookupObject(handle, kind);
  return o ? std::get_if<T>(&o->data) : nullptr;
}

}  // namespace

void* AddObject(Object obj) {
  Table& t = TheTable();
  std::uint32_t slot;
  if (!t.free.empty()) {
    slot = t.free.back();
    t.free.pop_back();
  } else {
    if (t.slots.size() > kMaxSlots) return nullptr;
    slot = static_cast<std::uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& s = t.slots[slot];
  Kind kind = obj.kind;
  s.obj = std::move(obj);
  ++t.live;
  return reinterpret_cast<void*>(Encode(slot, s.generation, kind));
}

Object* LookupObject(const void* handle) {
  Slot* s = Decode(handle);
  return s ? &s->obj : nullptr;
}

Object* LookupObject(const void* handle, Kind kind) {
  Object* o = LookupObject(handle);
  return (o && o->kind == kind) ? o : nullptr;
}

Kind KindOf(const void* handle) {
  Object* o = LookupObject(handle);
  return o ? o->kind : Kind::None;
}

bool RemoveObject(const void* handle) {
  Slot* s = Decode(handle);
  if (!s) return false;
  // Move the object out first: its destructor may look at the table.
  Object dying = std::move(s->obj);
  s->obj = Object{};
  ++s->generation;
  Table& t = TheTable();
  t.free.push_back(static_cast<std::uint32_t>(s - t.slots.data()));
  --t.live;
  return true;
}

std::vector<void*> LiveHandles(Kind kind) {
  std::vector<void*> out;
  Table& t = TheTable();
  for (std::uint32_t i = kFirstSlot; i < t.slots.size(); ++i) {
    const Slot& s = t.slots[i];
    if (s.obj.kind == kind) out.push_back(reinterpret_cast<void*>(Encode(i, s.generation, kind)));
  }
  return out;
}

std::size_t LiveObjectCount() { return TheTable().live; }

void ClearObjectTable() {
  Table& t = TheTable();
  // Move everything out before destroying it.
  std::vector<Slot> old;
  old.swap(t.slots);
  t.slots.clear();
  t.slots.resize(kFirstSlot);
  t.free.clear();
  t.live = 0;
  TheStock() = Stock{};
  // Keep generations moving so that old handles stay invalid.
  for (std::size_t i = kFirstSlot; i < old.size(); ++i) {
    t.slots.emplace_back();
    t.slots.back().generation = std::uint8_t(old[i].generation + 1);
  }
  for (std::uint32_t i = static_cast<std::uint32_t>(t.slots.size()) - 1; i >= kFirstSlot; --i) {
    t.free.push_back(i);
  }
}

PenObj* LookupPen(HPEN h) { return As<PenObj>(h, Kind::Pen); }
BrushObj* LookupBrush(HBRUSH h) { return As<BrushObj>(h, Kind::Brush); }
FontObj* LookupFont(HFONT h) { return As<FontObj>(h, Kind::Font); }
BitmapObj* LookupBitmap(HBITMAP h) { return As<BitmapObj>(h, Kind::Bitmap); }
PaletteObj* LookupPalette(HPALETTE h) { return As<PaletteObj>(h, Kind::Palette); }
Region* LookupRegion(HRGN h) {
  RegionObj* r = As<RegionObj>(h, Kind::Region);
  return r ? &r->region : nullptr;
}

const LOGFONT* FontLogfont(HFONT font) {
  FontObj* f = LookupFont(font);
  return f ? &f->logfont : nullptr;
}

HRGN CreateRegionHandle(const Region& r) {
  Object o;
  o.kind = Kind::Region;
  o.data = RegionObj{r};
  return static_cast<HRGN>(AddObject(std::move(o)));
}

HGDIOBJ StockObject(int index) {
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  MakeStock();
  return TheStock().objects[index];
}

HBITMAP DefaultBitmap() {
  MakeStock();
  return TheStock().defaultBitmap;
}

bool IsStockObject(const void* handle) {
  Object* o = LookupObject(handle);
  return o && o->stock;
}

}  // namespace win::gdi
