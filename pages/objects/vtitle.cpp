#include "pages/objects/vtitle.h"

#include "pages/area/area.h"
#include "pages/style/property_getters.h"

namespace {

enum class Placement { None, Top, Bottom };

struct TitleDefaults {
  Placement placement;
  bool visible;
};

// Collections and clusters are titled above, pictures, sounds and films
// below; plain objects, anchors and text documents not at all.
TitleDefaults DefaultsFor(int classCode) {
  switch (classCode) {
    case kClassCollection:
    case kClassCluster: return {Placement::Top, true};
    case kClassObject:
    case kClassAnchor:
    case kClassDocument:
    case kClassText: return {Placement::None, false};
    default: return {Placement::Bottom, true};
  }
}

MultiLangString TitleOf(const Ref<KXObject>& object) {
  MultiLangString title;
  if (object) {
    const CString text = object->getTitle();
    // The text is already the preferred language's; it is kept whole, a
    // colon in it included.
    if (!text.IsEmpty()) title = MultiLangString::OnePart(CString("??:") + text);
  }
  return title;
}

}  // namespace

VTitle::VTitle(int left, int top, int right, int bottom, const Ref<KXObject>& object)
    : VLabel(left, top, right, bottom, 0), object_(object) {
  SetState(State() | kDisabled | kTransparent);
  SetLabelFlags(LabelFlags() | kFitCaption);
  SetCaption(TitleOf(object_));
  SetFgColor(0x00FFFFFF);
  SetBgColor(0x000000FF, 100);
}

VTitle::~VTitle() = default;

const char* VTitle::GetClassName() const { return "VTitle"; }

void VTitle::Invalidate() {
  SetCaption(TitleOf(object_));
  VObject::Invalidate();
}

bool VTitle::SetStringAttribute(const char* name, const char* text) {
  if (CString(name ? name : "") == "relpos") return false;
  return VLabel::SetStringAttribute(name, text);
}

VTitle* VTitle::Create(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle) {
  const PropertyStruct* titleStyle =
      partStyle ? getStruct(partStyle->StyleQuery("title")) : nullptr;
  if (!object || object->getTitle().IsEmpty()) return nullptr;
  TitleDefaults d = DefaultsFor(object->getClassCode());
  if (titleStyle) {
    d.visible = getBool(titleStyle->StyleQuery("visible"), d.visible ? 1 : 0) != 0;
    const CString relpos = getConstant(titleStyle->StyleQuery("relpos"), CString());
    if (relpos == "TOP")
      d.placement = Placement::Top;
    else if (relpos == "BOTTOM")
      d.placement = Placement::Bottom;
  }
  if (!d.visible) return nullptr;
  const RECT none{0, 0, 0, 0};
  RECT rect = titleStyle ? getRect(titleStyle->StyleQuery("pos"), none) : none;
  if (rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) {
    if (d.placement == Placement::Top)
      rect = area.TakeTop(StripHeight());
    else if (d.placement == Placement::Bottom)
      rect = area.TakeBottom(StripHeight());
    else
      return nullptr;
  }
  if (StripHeight() > rect.bottom - rect.top) return nullptr;
  auto* title = new VTitle(rect.left, rect.top, rect.right, rect.bottom, object);
  title->SetName("title");
  title->LoadStyle(partStyle, "title()", "Title()", Ref<KXObject>());
  return title;
}
