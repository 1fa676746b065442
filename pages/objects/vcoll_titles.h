// The members of a collection as titles to click: a grid of equal tiles in
// an area of the page, optionally the collection's own title above or
// below it, and, for a collection longer than one page of tiles, a
// previous-page item on the first tile and a next-page item on the last.
// A click on a member's title queues a goto of that member.
#pragma once

#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/area/area.h"
#include "pages/objects/vgroup.h"

class VLabel;
class VTitle;

class VCollTitles : public VGroup {
 public:
  // Limits that the tile area is held to.
  static constexpr int kMinBorder = 5;
  static constexpr int kMaxTileHeight = 50;

  VCollTitles(const Area& area, const Ref<KXObject>& collection);
  ~VCollTitles() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void Invalidate() override;
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;

  // The page starting at member `index`, held within the members.
  void ShowFrom(int index);
  void PreviousPage();
  void NextPage();
  // Shows the page that starts at First().
  void ShowPage();

  // The column limit for titles whose longest is `longest` bytes, unless
  // the style gives a number of columns above 0.
  static int ColumnsFor(int longest, int styleColumns);

  const Area& TileArea() const { return area_; }
  int TileCount() const { return tileCount_; }
  int MemberCount() const { return memberCount_; }
  int First() const { return first_; }
  int PrevSlot() const { return prevSlot_; }
  int NextSlot() const { return nextSlot_; }
  VLabel* Item(int i) const { return i >= 0 && i < tileCount_ ? items_[i] : nullptr; }
  VLabel* PrevItem() const { return prevItem_; }
  VLabel* NextItem() const { return nextItem_; }
  VTitle* Title() const { return title_; }

 private:
  void ApplyLimits();
  // The collection's members in their sort order.
  std::vector<Ref<KXObject>> Members() const;
  static void SetShown(VObject* object, bool shown);

  Ref<KXObject> collection_;
  Area area_;
  std::vector<VLabel*> items_;
  int tileCount_ = 0;
  int memberCount_ = 0;
  int first_ = 0;
  int prevSlot_ = -1;
  int nextSlot_ = -1;
  VTitle* title_ = nullptr;
  VLabel* prevItem_ = nullptr;
  VLabel* nextItem_ = nullptr;
};
