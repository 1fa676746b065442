// What the text view asks of a built document: lay it out to a width, draw
// the part of it under a clip, find the position under a point and the
// caret's rectangle. Document coordinates put the top-left corner of the
// laid-out text at (0, 0); the root atom's own coordinates (its first
// baseline at y = 0) stay inside.
#pragma once

#include "text/atom/atom.h"

class TextOutput;

class DocumentLayout {
 public:
  // The root belongs to the document; the layout only uses it.
  explicit DocumentLayout(Atom* root) : root_(root) {}

  // Formats the whole document into the width (its height is unbounded).
  // Returns the format result (0 when everything was laid out).
  int Layout(TextOutput* ctx, LONG width);
  // The laid-out size: {0, width, 0, height}; zero before Layout.
  LayoutRect Bounds() const;
  // Draws what lies in `clip` (document coordinates) with the document's
  // (0, 0) at `origin` on the output. `selection` may be null.
  void Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const PositionRange* selection);
  // The position under a point of the document (mode 1: by character,
  // 0: by word); null without a root. The caller deletes it.
  Position* HitTest(TextOutput* ctx, const LayoutPoint& point, int mode);
  // The caret bar at the selection's end (caret) or the box of the
  // selection (!caret), in document coordinates; false when unknown.
  bool CaretRect(TextOutput* ctx, const PositionRange& selection, bool caret, LayoutRect& out);
  // A caret step (directions 0 up, 1 down, 2 left, 3 right; units 0 word,
  // 1 character); `distance` is a page height for page steps, else 0.
  Position* Step(TextOutput* ctx, const Position& from, int direction, int unit, LONG distance);
  // The text of a range, with line feeds at line breaks.
  CString Text(const Position& from, const Position& to);

  Atom* Root() const { return root_; }

 private:
  Atom* root_;
  LayoutRect extent_ = LayoutRect::Of(0, 0, 0, 0);
};
