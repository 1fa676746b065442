// A set of screen rectangles that a page object may use, with the rules for
// cutting tiles out of them: a grid of equal tiles in columns, tiles made by
// halving the largest free tile, or strips taken off the top or the bottom.
// It is the value of the style type Area and the layout of title lists and
// clusters.
#pragma once

#include <cstdint>
#include <vector>

#include "core/rect_sink.h"
#include "mfc/object.h"
#include "win/types.h"

class CDumpContext;

class Area : public CObject, public RectSink {
 public:
  Area() = default;
  Area(int left, int top, int right, int bottom);
  Area(const Area& other);
  Area& operator=(const Area& other);
  ~Area() override;

  void AddRect(int left, int top, int right, int bottom) override;
  void Clear();
  int Count() const { return static_cast<int>(rects_.size()); }
  // The rectangle at `i`; the empty rectangle outside the set.
  RECT RectAt(int i) const;
  // The union of all rectangles; (0, 0, 0, 0) when there are none.
  RECT GetBounds() const;

  // Lays out up to n equal tiles in a grid, writing one rectangle per tile
  // into out (room for n); the number written. Raises `columns` when tiles
  // would come out lower than `minsizey`, and keeps the raised value.
  int TileByColumns(int n, RECT* out);
  // Up to n tiles: the rectangles themselves, then the largest tile halved
  // again and again; the number written.
  int TileBySplitting(int n, RECT* out);
  // A strip of height h off the top (bottom) of the highest (lowest)
  // rectangle that is at least h high; that rectangle shrinks by h. The
  // empty rectangle, and nothing changed, when h < 1 or no rectangle is high
  // enough.
  RECT TakeTop(int h);
  RECT TakeBottom(int h);

  // The "TileArea" diagnostic dump.
  void Dump(CDumpContext& dc) const override;

  // The layout parameters, as the style's Area members and the page objects
  // set them.
  int columns = 1;
  int maxcolumns = 5;
  int spacex = 2;
  int spacey = 0;
  int borderLeft = 0;
  int borderTop = 0;
  int borderRight = 0;
  int borderBottom = 0;
  int minsizex = 50;
  int minsizey = 20;
  int maxsizex = 5000;
  int maxsizey = 5000;

 private:
  std::vector<RECT> rects_;
};

// Byte helpers that share the module: n bytes copied (the regions must not
// overlap), n bytes set to 0.
void CopyBytes(const void* source, void* destination, std::size_t n);
void ZeroBytes(void* destination, std::size_t n);

namespace oldio {
class strstream;
}
// Shows the stream's text in a message box with the stop icon, then lets
// the stream free its buffer again.
void ShowStreamMessage(oldio::strstream& stream);
