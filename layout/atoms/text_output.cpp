#include "layout/atoms/text_output.h"

#include <new>

TextOutput::~TextOutput() = default;
PointTarget::~PointTarget() = default;

bool TextOutput::MeasureText(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d) {
  if (length > ExtentCache::kLongest) return TextExtent(box, text, length, d);
  if (!extents_) extents_.reset(new (std::nothrow) ExtentCache);
  if (!extents_) return TextExtent(box, text, length, d);
  const LONG device = DeviceChangeCount();
  if (extents_->Find(text, length, d, device, box)) return true;
  // A measure that failed (no device to measure on) is not kept.
  if (!TextExtent(box, text, length, d)) return false;
  extents_->Keep(text, length, d, device, box);
  return true;
}
