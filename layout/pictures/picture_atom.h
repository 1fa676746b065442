// A picture inside a line of text. It holds a reference to a shared picture
// object, is placed whole or not at all (a picture is never divided), is as
// large as the picture or as the width and height the document asked for
// (keeping the picture's proportions when only one is given), and sits on
// the baseline. While the picture is still to come, the placeholder is
// drawn with a thin frame of the picture's final size.
#pragma once

#include "layout/atoms/text_output.h"
#include "layout/atoms/window_object_atom.h"

class NamedObject;

class PictureAtom : public WindowObjectAtom {
 public:
  // `width`, `height`: asked for by the document, 0 = not given.
  PictureAtom(LONG start, ResolvedStyle* style, NamedObject* picture, LONG width, LONG height);
  PictureAtom(const PictureAtom& other);
  ~PictureAtom() override;

  DWORD TypeMask() const override { return kPictureMask; }
  bool AppendText(CString&, const Position&, const Position&, BOOL, LONG) override { return false; }
  bool AddText(std::string_view text, LONG, LONG, ResolvedStyle*) override;
  bool SetEnd(LONG end) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  void Reset(int) override {}
  bool HoldsObject(LONG kind, void* object, PositionRange* range) override;
  int Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position& from,
             int flag) override;
  int Extent(LayoutRect& out, TextOutput* ctx, const Position& from, const Position& to, int flag) override;
  LONG Spacing(int, TextOutput*, const Position&, const Position&, int) override { return 0; }
  LONG GapCount(const Position&, const Position&) override { return 0; }
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  // The size on the output: the picture's (scaled to the device), or what
  // the document asked for.
  LayoutSize GetSize(TextOutput* ctx) const;
  NamedObject* Picture() const { return picture_; }
  const CString& AlternativeText() const { return text_; }

 private:
  CString text_;
  NamedObject* picture_;
  LONG width_;
  LONG height_;
};
