// The page object that shows the members of a cluster (or of a collection
// of the kind "MultiCluster") as a grid of tiles inside its area: each
// member of the page shown becomes a page object of its own kind, named and
// styled by a fixed scheme. When more members exist than tiles fit, two
// buttons (children of the cluster) page through them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/kx_object.h"
#include "core/list.h"
#include "core/objref.h"
#include "pages/area/area.h"
#include "pages/objects/vgroup.h"

class VCluster : public VGroup {
 public:
  static constexpr int kClusterClass = 6;
  static constexpr int kManyMembers = 25;
  static constexpr int kDefaultBorder = 5;

  VCluster(const Area& area, const Ref<KXObject>& cluster);
  ~VCluster() override;

  const char* GetClassName() const override;
  void Initialize() override;
  // Repaints; the cluster is never fetched again from here.
  void Invalidate() override;
  void Notify(int code, VObject* sender) override;
  void ReadStyleAttributes() override;

  void SetFirst(int index);
  void PreviousPage();
  void NextPage();
  // Makes the tiles of the members from `first` on and the buttons' state.
  void ShowPage();

  int TileCount() const { return tileCount_; }
  int MemberCount() const { return memberCount_; }
  int First() const { return first_; }
  bool PrevEnabled() const { return prevEnabled_ != 0; }
  bool NextEnabled() const { return nextEnabled_ != 0; }
  VObject* PrevButton() const { return prevButton_; }
  VObject* NextButton() const { return nextButton_; }
  VObject* Tile(int i) const { return i >= 0 && i < static_cast<int>(tiles_.size()) ? tiles_[i] : nullptr; }
  const Area& TileAreaOf() const { return area_; }

 private:
  VObject* MakeTile(const Ref<KXObject>& member, const RECT& rect, int counters[4]);
  void DropTiles();

  Ref<KXObject> cluster_;
  Area area_;
  VObject* title_ = nullptr;
  std::vector<VObject*> tiles_;
  std::vector<RECT> tileRects_;
  VObject* prevButton_ = nullptr;
  VObject* nextButton_ = nullptr;
  List members_;
  std::int32_t tileCount_ = 0;
  std::int32_t memberCount_ = 0;
  std::int32_t first_ = 0;
  std::int32_t prevEnabled_ = 0;
  std::int32_t nextEnabled_ = 0;
};
