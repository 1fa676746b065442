#include "pages/picture/vcluster.h"

#include <cstdio>

#include "core/cluster.h"
#include "core/collection.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "core/screen_geometry.h"
#include "pages/page/page_members.h"
#include "pages/picture/part_makers.h"
#include "pages/picture/vkx_image.h"
#include "pages/picture/vrandom_image.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

constexpr int kCollection = 5, kCluster = 6, kText = 7, kImage = 9, kSound = 10, kMovie = 11;
// The paging buttons and their places.
constexpr RECT kPrevRect{0, 0, 200, 20};
constexpr RECT kNextRect{200, 0, 400, 20};

bool PageStyleIsRandomImage(const Ref<KXObject>& member) {
  const CString name = GetStyleName(member->getLayout());
  if (name.IsEmpty()) return false;
  return PropertyTable::IsA(StyleTable().MemberByName(name), "RandomImage");
}

}  // namespace

VCluster::VCluster(const Area& area, const Ref<KXObject>& cluster)
    : VGroup(area.GetBounds().left, area.GetBounds().top, area.GetBounds().right, area.GetBounds().bottom),
      cluster_(cluster),
      area_(area) {
  SetState(kPassThrough);
  if (area_.borderLeft < 1) area_.borderLeft = kDefaultBorder;
  if (area_.borderRight < 1) area_.borderRight = kDefaultBorder;
  if (area_.borderTop < 1) area_.borderTop = kDefaultBorder;
  if (area_.borderBottom < 1) area_.borderBottom = kDefaultBorder;
}

VCluster::~VCluster() {
  // Title, tiles and buttons are children: the group deletes them.
  members_.clearAndDelete();
}

const char* VCluster::GetClassName() const { return "VCluster"; }

void VCluster::Invalidate() { VGroup::Invalidate(); }

void VCluster::ReadStyleAttributes() {
  VGroup::ReadStyleAttributes();
  if (const PropertyStruct* style = GetStyle()) area_ = getArea(style->StyleQuery("area"), area_);
}

void VCluster::Initialize() {
  VObject::Initialize();
  title_ = MakePartTitle(area_, cluster_, GetStyle());
  AppendChild(title_);
  tileCount_ = memberCount_ = 0;
  const bool isCluster = cluster_ && cluster_->getClassCode() == kClusterClass;
  if (!cluster_ || (!isCluster && collectionKind(cluster_) == 0)) {
    InitializeChildren();
    return;
  }
  // The members are a list of our own, whichever object gave them.
  if (isCluster) {
    if (auto* c = dynamic_cast<Cluster*>(cluster_.get())) c->collectVisibleMembers(members_, true);
  } else if (auto* c = dynamic_cast<Collection*>(cluster_.get())) {
    if (const List* children = c->getChildren(nullptr, 0))
      for (ListElement* e = children->first(); e; e = e->next())
        if (KXObject* object = ObjectOf(e)) AppendObject(members_, Ref<KXObject>(object));
  }
  members_.sort();
  memberCount_ = members_.count();
  if (memberCount_ == 0) {
    InitializeChildren();
    return;
  }
  if (memberCount_ > kManyMembers) area_.maxcolumns = 1;
  const RECT screen = GetScreenRect();
  area_.minsizex = (screen.right - screen.left) / 5;
  area_.minsizey = (screen.bottom - screen.top) / 8;
  tileRects_.assign(static_cast<size_t>(memberCount_), RECT{0, 0, 0, 0});
  tileCount_ = area_.TileByColumns(memberCount_, tileRects_.data());
  if (tileCount_ <= 0) {
    tileCount_ = 0;
    return;
  }
  tileRects_.resize(static_cast<size_t>(tileCount_));
  tiles_.assign(static_cast<size_t>(tileCount_), nullptr);
  if (tileCount_ < memberCount_) {
    prevButton_ = MakePagingButton(kPrevRect.left, kPrevRect.top, kPrevRect.right, kPrevRect.bottom,
                                   "en:<show previous page>");
    nextButton_ = MakePagingButton(kNextRect.left, kNextRect.top, kNextRect.right, kNextRect.bottom,
                                   "en:<show next page>");
    for (VObject* button : {prevButton_, nextButton_}) {
      if (!button) continue;
      button->LoadStyle(GetStyle(), button == prevButton_ ? "prev()" : "next()", "Toolbutton()", Ref<KXObject>());
      button->SetState(button->State() | kHidden);
      AppendChild(button);
    }
  }
  SetFirst(0);
  InitializeChildren();
}

VObject* VCluster::MakeTile(const Ref<KXObject>& member, const RECT& r, int counters[4]) {
  const int code = member->getClassCode();
  VObject* tile = nullptr;
  CString name;
  const char* styleText = nullptr;
  const char* defaultStyle = nullptr;
  char numbered[32];
  auto number = [&](const char* format, int& counter) {
    std::snprintf(numbered, sizeof numbered, format, ++counter);
    name = numbered;
  };
  const Area tileArea(r.left, r.top, r.right, r.bottom);
  switch (code) {
    case kCollection:
      if (PageStyleIsRandomImage(member)) {
        tile = new VRandomImage(r.left, r.top, r.right, r.bottom, member);
        defaultStyle = "RandomImage()";
      } else {
        tile = MakeTitlesMember(r, tileArea, member);
        defaultStyle = "Collection()";
      }
      name = "coll";
      styleText = "coll()";
      break;
    case kCluster:
      tile = new VCluster(tileArea, member);
      name = "cluster";
      styleText = "cluster()";
      defaultStyle = "Cluster()";
      break;
    case kText:
      tile = MakeTextMember(r, member);
      styleText = "text()", defaultStyle = "Text()";
      if (tile) number("text%d", counters[0]);
      break;
    case kImage:
      tile = new VKxImage(r.left, r.top, r.right, r.bottom, member, 1);
      styleText = "image()", defaultStyle = "Image()";
      number("image%d", counters[1]);
      break;
    case kSound:
      tile = MakeSoundMember(r, member);
      styleText = "sound()", defaultStyle = "Sound()";
      if (tile) number("sound%d", counters[2]);
      break;
    case kMovie:
      tile = MakeMovieMember(r, member);
      styleText = "movie()", defaultStyle = "Movie()";
      if (tile) number("movie%d", counters[3]);
      break;
    default:
      TheLogbook().Write((CString("Cannot display document ") + describeObject(member)).str().c_str());
      return nullptr;
  }
  if (!tile) return nullptr;
  tile->SetName(name);
  tile->LoadStyle(GetStyle(), styleText, defaultStyle, member);
  return tile;
}

void VCluster::DropTiles() {
  for (VObject*& tile : tiles_) {
    if (!tile) continue;
    RemoveChild(tile);
    delete tile;
    tile = nullptr;
  }
}

void VCluster::SetFirst(int index) {
  if (index >= memberCount_) index = memberCount_ - 1;
  if (index < 0) index = 0;
  first_ = index;
  ShowPage();
}

void VCluster::PreviousPage() { SetFirst(first_ - tileCount_); }

void VCluster::NextPage() {
  if (first_ + tileCount_ < memberCount_) SetFirst(first_ + tileCount_);
}

void VCluster::ShowPage() {
  if (tileCount_ == 0 || !cluster_) return;
  auto show = [](VObject* button, bool enabled) {
    if (button) button->SetState(enabled ? (button->State() & ~kHidden) : (button->State() | kHidden));
  };
  prevEnabled_ = first_ > 0 && tileCount_ > 1;
  nextEnabled_ = first_ + tileCount_ < memberCount_;
  // A button that can do nothing is not shown.
  show(prevButton_, prevEnabled_);
  show(nextButton_, nextEnabled_);
  // The tiles show the members of this page: made anew for them, the
  // names counted from the page's first member.
  DropTiles();
  int counters[4] = {0, 0, 0, 0};
  for (int i = 0; i < tileCount_ && first_ + i < memberCount_; ++i) {
    KXObject* object = ObjectOf(members_.at(first_ + i));
    if (!object) continue;
    tiles_[i] = MakeTile(Ref<KXObject>(object), tileRects_[i], counters);
    if (!tiles_[i]) continue;
    AppendChild(tiles_[i]);
    if (Has(kInitialised)) tiles_[i]->Initialize();
  }
  // Buttons stay on top of the tiles.
  if (prevButton_) BringToFront(prevButton_);
  if (nextButton_) BringToFront(nextButton_);
  VGroup::Invalidate();
}

void VCluster::Notify(int code, VObject* sender) {
  if (!sender) return;
  if (prevEnabled_ && sender == prevButton_) {
    PreviousPage();
  } else if (nextEnabled_ && sender == nextButton_) {
    NextPage();
  }
  (void)code;
}
