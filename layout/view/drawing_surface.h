// The device side of the text view: a stack of device contexts (a window's
// paint or client context, or one the caller gives, such as a printer's)
// and the fonts, pens and brushes the atoms' descriptors stand for. Every
// measuring and drawing call of the view's output ends here, so the same
// layout code serves the screen and the printer; the differences are the
// device's resolution, the scaling of picture sizes while printing, and the
// document background, which is never printed.
//
// Selecting is skipped while the descriptor equals the one last used, and
// the drawing objects are kept in three small caches, because the atoms ask
// for every word.
#pragma once

#include <memory>
#include <vector>

#include "layout/atoms/text_output.h"
#include "text/draw/gdi_specs.h"
#include "text/style/font_descriptor.h"
#include "win/gdi.h"
#include "win/types.h"

class ColorTable;
class NamedObject;

class DrawingSurface {
 public:
  // Entries per cache of fonts, pens and brushes.
  static constexpr size_t kCacheSize = 10;

  DrawingSurface();
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;
  ~DrawingSurface();

  // Each begin pushes a context and must be paired with End. True when the
  // new top has a device context; without one every operation does nothing.
  bool BeginPaint(HWND window, ColorTable* colors);
  bool BeginWindow(HWND window, ColorTable* colors);
  // A context the caller owns (a printer, or the context of an erase);
  // `printing` makes picture sizes scale to the device.
  bool BeginDevice(HDC dc, ColorTable* colors, bool printing = false);
  void End();

  HDC Dc() const;
  bool Printing() const;
  // The update rectangle of the paint pass on top (empty for other passes).
  RECT PaintRect() const;
  // The screen's and the printer's resolutions for ScaleToDevice.
  void SetResolutions(SIZE screen, SIZE printer) {
    screenDpi_ = screen;
    printerDpi_ = printer;
  }

  // Selects the descriptor's font and text colour unless it is current.
  void SelectFont(const FontDescriptor& d);
  // Makes the descriptor current and selects its font without comparing and
  // without touching the text colour; the font stays the surface's.
  HFONT SetFont(const FontDescriptor& d);
  void SelectPen(const FontDescriptor& d);
  void SelectNullPen();
  void SelectBrush(const FontDescriptor& d);
  LONG Ascent(const FontDescriptor& d);
  LONG Overhang(const FontDescriptor& d);

  // The operations of the view's output.
  bool DrawText(const LayoutPoint& baseline, const char* text, LONG length, const FontDescriptor& d);
  bool TextExtent(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d);
  bool BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d);
  bool FillRect(const LayoutRect& rect, const FontDescriptor& d);
  bool Polygon(const LayoutPoint* points, int count, const FontDescriptor& d);
  bool Ellipse(const LayoutRect& rect, const FontDescriptor& d);
  bool Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d);
  LONG FontSize(const FontDescriptor& d);
  void PictureSize(LayoutSize& out, NamedObject* picture);
  void ScaleToDevice(LayoutSize& size);
  bool StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture);
  bool DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture);

  // Forgets which descriptors are selected (every begin does).
  void ResetCache();

 private:
  template <class Spec>
  struct Cache {
    struct Entry {
      FontDescriptor key;
      std::unique_ptr<Spec> spec;
    };
    std::vector<Entry> entries;  // front = most recently used
  };
  struct Holder;

  bool push(std::unique_ptr<Holder> holder, ColorTable* colors);
  FontSpec& fontSpec(const FontDescriptor& d);
  PenSpec& penSpec(const FontDescriptor& d);
  BrushSpec& brushSpec(const FontDescriptor& d);
  template <class Spec>
  Spec& lookup(Cache<Spec>& cache, const FontDescriptor& d, int objectType);
  void measureFont(const FontDescriptor& d);
  COLORREF color(const ColorRecord& c) const;
  COLORREF tableColor(LONG index) const;

  std::vector<std::unique_ptr<Holder>> holders_;
  ColorTable* colors_ = nullptr;
  int fontScale_ = 0;
  int cacheFontScale_ = 0;

  FontDescriptor font_;
  FontDescriptor pen_;
  bool penStale_ = false;
  FontDescriptor brush_;
  FontDescriptor metrics_;
  LONG ascent_ = 0;
  LONG overhang_ = 0;
  bool metricsValid_ = false;
  FontDescriptor blank_;
  LONG blankWidth_ = 0;
  LONG blankTop_ = 0;
  LONG blankBottom_ = 0;
  bool blankValid_ = false;

  Cache<PenSpec> pens_;
  Cache<FontSpec> fonts_;
  Cache<BrushSpec> brushes_;

  SIZE screenDpi_{96, 96};
  SIZE printerDpi_{96, 96};
};
