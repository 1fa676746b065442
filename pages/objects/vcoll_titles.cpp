#include "pages/objects/vcoll_titles.h"

#include <algorithm>

#include "core/list.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "core/sort_order.h"
#include "pages/objects/vlabel.h"
#include "pages/objects/vtitle.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/style_expressions.h"

namespace {

// A title in the preferred language; a member without one is shown by the
// title of what it links to.
CString MemberTitle(const Ref<KXObject>& member) {
  if (!member) return CString();
  CString text = member->getTitle();
  if (text.IsEmpty()) {
    const Ref<KXObject> target = followLink(member);
    if (target && target != member) text = target->getTitle();
  }
  return text;
}

}  // namespace

int VCollTitles::ColumnsFor(int longest, int styleColumns) {
  if (styleColumns > 0) return styleColumns;
  if (longest >= 45) return 1;
  if (longest >= 35) return 2;
  if (longest >= 25) return 3;
  return 4;
}

VCollTitles::VCollTitles(const Area& area, const Ref<KXObject>& collection)
    : VGroup(0, 0, 0, 0), collection_(collection), area_(area) {
  StoreRect(area_.GetBounds());
  ApplyLimits();
  SetState(kPassThrough);
}

// The labels are children and go with the group.
VCollTitles::~VCollTitles() = default;

const char* VCollTitles::GetClassName() const { return "VCollTitles"; }

void VCollTitles::ApplyLimits() {
  for (int* border : {&area_.borderLeft, &area_.borderTop, &area_.borderRight, &area_.borderBottom})
    if (*border <= 0) *border = kMinBorder;
  area_.maxsizey = std::min(area_.maxsizey, kMaxTileHeight);
}

void VCollTitles::ReadStyleAttributes() {
  VObject::ReadStyleAttributes();
  const PropertyStruct* s = GetStyle();
  if (!s) return;
  area_ = getArea(s->StyleQuery("area"), area_);
  ApplyLimits();
  // The list answers the mouse wherever its area lies.
  StoreRect(area_.GetBounds());
}

std::vector<Ref<KXObject>> VCollTitles::Members() const {
  std::vector<Ref<KXObject>> out;
  ObjectUtilityServices* services = GetObjectUtilityServices();
  const List* children =
      collection_ && services ? services->collectionChildren(*collection_) : nullptr;
  if (!children) return out;
  List* sorted = NewObjectList();
  if (!sorted) return out;
  for (ListElement* e = children->first(); e; e = e->next())
    if (KXObject* o = ObjectOf(e)) AppendObject(*sorted, Ref<KXObject>(o));
  SortMembers(*sorted);
  for (ListElement* e = sorted->first(); e; e = e->next())
    if (KXObject* o = ObjectOf(e)) out.emplace_back(o);
  DeleteObjectList(sorted);
  return out;
}

void VCollTitles::Initialize() {
  if (Has(kInitialised)) return;
  VGroup::Initialize();
  const PropertyStruct* style = GetStyle();
  title_ = VTitle::Create(area_, collection_, style);
  if (title_) AppendChild(title_);
  if (!collection_ || collection_->getClassCode() != kClassCollection) {
    memberCount_ = tileCount_ = 0;
    TheLogbook().Write("Cannot display document " + describeObject(Shell().CurrentObject()));
  } else {
    const std::vector<Ref<KXObject>> members = Members();
    memberCount_ = static_cast<int>(members.size());
    int longest = 0;
    for (const Ref<KXObject>& m : members) longest = std::max(longest, m->getTitle().GetLength());
    const int styleColumns = style ? getInt(style->StyleQuery("columns"), 0) : 0;
    area_.maxcolumns = ColumnsFor(longest, styleColumns);
    area_.minsizey = VLabel::DefaultFontSize() + 8;
    std::vector<RECT> tiles(static_cast<size_t>(memberCount_));
    tileCount_ = memberCount_ > 0 ? area_.TileByColumns(memberCount_, tiles.data()) : 0;
    if (tileCount_ > 0) {
      if (tileCount_ < memberCount_) {
        const RECT& a = tiles.front();
        const RECT& b = tiles[static_cast<size_t>(tileCount_ - 1)];
        prevItem_ = new VLabel(a.left, a.top, a.right, a.bottom, 0);
        nextItem_ = new VLabel(b.left, b.top, b.right, b.bottom, 0);
        if (style) {
          prevItem_->SetCaption(MultiLangString::OnePart("en:<show previous page>"));
          prevItem_->SetName("prev");
          prevItem_->SetStyle(ApplyStyleAssignments("prev()", style));
          nextItem_->SetCaption(MultiLangString::OnePart("en:<show next page>"));
          nextItem_->SetName("next");
          nextItem_->SetStyle(ApplyStyleAssignments("next()", style));
        }
        for (VLabel* item : {prevItem_, nextItem_}) {
          item->SetState((item->State() | kStarted) & ~kDisabled);
          AppendChild(item);
        }
      }
      items_.resize(static_cast<size_t>(tileCount_), nullptr);
      for (int i = 0; i < tileCount_; ++i) {
        const RECT& t = tiles[static_cast<size_t>(i)];
        auto* item = new VLabel(t.left, t.top, t.right, t.bottom, 0);
        if (style) {
          CString name;
          name.Format("item%d", i + 1);
          item->SetName(name);
          item->SetStyle(ApplyStyleAssignments("item()", style));
        }
        item->SetState((item->State() | kStarted) & ~kDisabled);
        AppendChild(item);
        items_[static_cast<size_t>(i)] = item;
      }
    }
  }
  InitializeChildren();
  ShowFrom(0);
}

void VCollTitles::Invalidate() {
  ShowPage();
  VGroup::Invalidate();
}

void VCollTitles::SetShown(VObject* object, bool shown) {
  if (object) object->SetState(shown ? (object->State() & ~kHidden) : (object->State() | kHidden));
}

void VCollTitles::ShowFrom(int index) {
  first_ = std::max(0, std::min(index, memberCount_ - 1));
  ShowPage();
}

void VCollTitles::PreviousPage() { ShowFrom(first_ - tileCount_); }

void VCollTitles::NextPage() {
  const int step = tileCount_ - (prevSlot_ >= 0 ? 1 : 0) - (nextSlot_ >= 0 ? 1 : 0);
  if (first_ + step < memberCount_) ShowFrom(first_ + step);
}

void VCollTitles::ShowPage() {
  if (tileCount_ == 0 || !collection_) return;
  const std::vector<Ref<KXObject>> members = Members();
  const int count = std::min(memberCount_, static_cast<int>(members.size()));
  int begin = 0;
  // A paging item is used only where there is one: a list that fits on one
  // page has none, whatever member it is shown from.
  if (first_ > 0 && tileCount_ > 1 && prevItem_) {
    prevSlot_ = 0;
    SetShown(prevItem_, true);
    SetShown(items_[0], false);
    begin = 1;
  } else {
    prevSlot_ = -1;
    SetShown(prevItem_, false);
  }
  const int capacity = tileCount_ - begin;
  int end = tileCount_;
  if (first_ + capacity < count && nextItem_) {
    nextSlot_ = tileCount_ - 1;
    SetShown(nextItem_, true);
    end = nextSlot_;
  } else {
    nextSlot_ = -1;
    SetShown(nextItem_, false);
  }
  int i = begin;
  for (int j = first_; j < count && i < end; ++i, ++j) {
    const CString text = MemberTitle(members[static_cast<size_t>(j)]);
    VLabel* item = items_[static_cast<size_t>(i)];
    if (!text.IsEmpty()) {
      item->SetCaption(MultiLangString::OnePart(CString("??:") + text));
      SetShown(item, true);
    } else {
      SetShown(item, false);
    }
  }
  if (nextSlot_ >= 0) SetShown(items_[static_cast<size_t>(nextSlot_)], false);
  for (; i < end; ++i) SetShown(items_[static_cast<size_t>(i)], false);
}

void VCollTitles::Notify(int, VObject* sender) {
  if (!sender) return;
  if (prevSlot_ >= 0 && sender == prevItem_) {
    PreviousPage();
    return;
  }
  if (nextSlot_ >= 0 && sender == nextItem_) {
    NextPage();
    return;
  }
  const std::vector<Ref<KXObject>> members = Members();
  const int count = std::min(memberCount_, static_cast<int>(members.size()));
  for (int i = 0, j = first_; i < tileCount_ && j < count; ++i) {
    if (i == prevSlot_ || i == nextSlot_) continue;
    if (items_[static_cast<size_t>(i)] == sender) {
      Shell().PushGoto(members[static_cast<size_t>(j)]);
      return;
    }
    ++j;
  }
}
