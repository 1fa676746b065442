// The output through which every atom measures and draws. Atoms never touch
// a device context: the text view implements this interface over its
// drawing surface (a device context of the window or of a printer), so the
// same layout code serves the screen and the page. Boxes and points are in
// the caller's layout coordinates; text boxes are relative to the baseline.
#pragma once

#include <memory>

#include "layout/atoms/extent_cache.h"
#include "text/layout_support/layout_rect.h"
#include "text/style/font_descriptor.h"
#include "text/style/output_metrics.h"
#include "win/types.h"

class ColorTable;
class NamedObject;

struct LayoutSize {
  LONG cx = 0;
  LONG cy = 0;
};

// Something in the document that acts on the very point a click hit (a
// picture that submits its form with the point).
class PointTarget {
 public:
  virtual ~PointTarget();
  // x and y from the top-left corner of what was hit, in its pixels.
  virtual void ClickAt(LONG x, LONG y) = 0;
};

// Filled while the view hit-tests a click: the point target under it, if any.
struct PointProbe {
  PointTarget* target = nullptr;
  LayoutPoint at{0, 0};
};

class TextOutput : public OutputMetrics {
 public:
  TextOutput() = default;
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;
  ~TextOutput() override;

  // TextExtent, with the boxes of short texts remembered on this output
  // until its device changes (extent_cache.h): what text runs measure with.
  bool MeasureText(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d);

  // Writes `length` bytes of text with its baseline at `baseline`.
  virtual bool DrawText(const LayoutPoint& baseline, const char* text, LONG length, const FontDescriptor& d) = 0;
  // The box of the text relative to its baseline: {0, width, -ascent,
  // height - ascent}; an empty text has width 0 and the height of a blank.
  virtual bool TextExtent(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d) = 0;
  // BlankExtent (from OutputMetrics): the box of `count` blanks; a count of
  // 0 or less gives a box of zero width.
  virtual bool FillRect(const LayoutRect& rect, const FontDescriptor& d) = 0;
  virtual bool Polygon(const LayoutPoint* points, int count, const FontDescriptor& d) = 0;
  virtual bool Ellipse(const LayoutRect& rect, const FontDescriptor& d) = 0;
  virtual bool Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d) = 0;
  // The draw style's size times the descriptor's scale / 100.
  virtual LONG FontSize(const FontDescriptor& d) = 0;
  // A picture's own size in device units.
  virtual void PictureSize(LayoutSize& out, NamedObject* picture) = 0;
  // Scales a size given in screen units to the current device (printing).
  virtual void ScaleToDevice(LayoutSize& size) = 0;
  virtual bool StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture) = 0;
  // Paints the document background under the rectangle.
  virtual void EraseBackground(const LayoutRect& rect) = 0;
  virtual bool DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture) = 0;

  // The document's colour table, the drawing context of the styles.
  ColorTable* context = nullptr;
  // 1: backgrounds are painted.
  LONG paintBackground = 1;
  // 1 screen, 2 print: what the text runs read to choose highlight fills.
  LONG outputKind = 1;
  // Set by the view only while it hit-tests a point; atoms that act on the
  // point itself note themselves in it.
  PointProbe* probe = nullptr;

 private:
  std::unique_ptr<ExtentCache> extents_;  // made on the first measure
};
