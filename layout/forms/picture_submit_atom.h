// A picture of a form that submits the form when it is clicked, with the
// point of the click: "name.x=X&name.y=Y" (or "x=X&y=Y" for a field without
// a name) after the form's own pairs, X and Y counted in the picture's
// pixels from its top-left corner. It is laid out and drawn as any picture.
#pragma once

#include "core/objref.h"
#include "layout/atoms/text_output.h"
#include "layout/pictures/picture_atom.h"
#include "text/form/form.h"

class PictureSubmitAtom : public PictureAtom, public PointTarget {
 public:
  PictureSubmitAtom(LONG start, ResolvedStyle* style, NamedObject* picture, FormAction* action,
                    const CString& name);

  // A copy (for printing) shows the picture and submits nothing.
  Atom* CloneRange(const Position& from, const Position& to) override;
  // Notes itself in the output's probe when the point lies on the picture.
  Position* PositionAtPoint(TextOutput* ctx, const LayoutPoint& point, int mode, const Position& from,
                            const Position& to, LONG option) override;
  void ClickAt(LONG x, LONG y) override;

  // The text added to the submission for a click at (x, y).
  static CString PointArgument(const CString& name, LONG x, LONG y);

 private:
  Ref<FormAction> action_;
  CString name_;
};
