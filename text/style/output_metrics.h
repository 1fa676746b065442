// What style resolution asks of the view's output: the box of a run of
// blanks in a descriptor's font, and a counter that changes whenever the
// output's device or scale changes (so that cached measurements go stale).
// The layout's output interface derives from it.
#pragma once

#include "text/layout_support/layout_rect.h"
#include "text/style/font_descriptor.h"
#include "win/types.h"

class OutputMetrics {
 public:
  virtual ~OutputMetrics();
  // The box of `count` blanks relative to the baseline: {left, right, top,
  // bottom}, top above the baseline (negative).
  virtual bool BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& descriptor) = 0;
  virtual LONG DeviceChangeCount() const = 0;
};
