// Where ReadArea puts the rectangles it reads; the page layer's Area
// implements it.
#pragma once

class RectSink {
 public:
  virtual ~RectSink();
  virtual void AddRect(int l, int t, int r, int b) = 0;
};
