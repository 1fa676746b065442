// The root atom of every text document: a flow whose blocks stand one per
// line, with the larger of neighbouring before and after spacings between
// them, and an optional background picture tiled under the text.
#pragma once

#include "layout/atoms/flow_atom.h"

class NamedObject;

// A position item that hands a page its background picture (the item holds
// one reference on the picture while it exists).
class BackgroundItem : public PositionItem {
 public:
  BackgroundItem(LONG position, NamedObject* picture);
  BackgroundItem(const BackgroundItem& other);
  ~BackgroundItem() override;
  PositionItem* CloneInside(const Position& from, const Position& to) const override {
    return CopyIfInside(*this, from, to);
  }
  DWORD TypeMask() const override { return kBackgroundItemKind; }
  NamedObject* Picture() const { return picture_; }

 private:
  NamedObject* picture_;
};

// Tiles the picture over the clip rectangle (in the coordinates of the
// origin), the tiles aligned to the origin.
void TileBackground(TextOutput* ctx, NamedObject* picture, const LayoutPoint& origin, const LayoutRect& clip);

class PageAtom : public FlowAtom {
 public:
  PageAtom(LONG start, ResolvedStyle* style) : FlowAtom(start, style) {}
  ~PageAtom() override;

  DWORD TypeMask() const override { return kPageMask; }
  bool SetStyle(ResolvedStyle*, LONG) override { return true; }
  bool AddItem(PositionItem* item) override;
  Atom* CloneRange(const Position& from, const Position& to) override;
  int Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position& from,
           const Position& to, int flag, const PositionRange* range) override;
  oldio::ostream& Dump(oldio::ostream& out, int indent) override;

  NamedObject* Background() const { return background_; }
  void SetBackground(NamedObject* picture);

 protected:
  Container* EmptyCopy() const override;

 private:
  NamedObject* background_ = nullptr;
};
