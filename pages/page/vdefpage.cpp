#include "pages/page/vdefpage.h"

#include "core/object_utils.h"
#include "core/screen_geometry.h"
#include "mfc/afx.h"
#include "pages/page/page_parts.h"
#include "pages/style/property_getters.h"

namespace {

struct MemberRole {
  PageMemberKind kind;
  const char* name;
  const char* styleText;
  const char* defaultStyleText;
};

// What a default page shows for the class of its object.
MemberRole RoleFor(const Ref<KXObject>& history) {
  switch (linkTargetClass(history)) {
    case kClassImage: return {PageMemberKind::Image, "image1", "image()", "Image()"};
    case kClassText: return {PageMemberKind::Text, "text1", "text()", "Text()"};
    case kClassMovie: return {PageMemberKind::Movie, "movie1", "movie()", "Movie()"};
    case kClassSound: return {PageMemberKind::Sound, "sound", "sound()", "Sound()"};
    case kClassCluster: return {PageMemberKind::Cluster, "cluster", "cluster()", "Cluster()"};
    default:
      if (collectionKind(followLink(history)) == 1)
        return {PageMemberKind::Cluster, "cluster", "cluster()", "Cluster()"};
      return {PageMemberKind::CollectionTitles, "coll", "coll()", "Collection()"};
  }
}

}  // namespace

VDefPage::VDefPage() { WantClock(); }

VDefPage::~VDefPage() = default;

const char* VDefPage::GetClassName() const { return "VDefPage"; }

void VDefPage::Initialize() {
  VPage::Initialize();
  Backsound();
  const Ref<KXObject>& history = HistoryEntry();
  const RECT rect = ReadRect(kMemberRect);
  const PropertyStruct* style = GetStyle();
  const MemberRole role = RoleFor(history);
  VObject* member = nullptr;
  switch (role.kind) {
    case PageMemberKind::Image:
    case PageMemberKind::Text:
    case PageMemberKind::Movie:
    case PageMemberKind::Sound:
      member = MakePageMember(role.kind, rect, Area(rect.left, rect.top, rect.right, rect.bottom),
                              history);
      if (member) {
        // The picture takes its name after its style, so that a name in the
        // style does not replace it.
        if (role.kind != PageMemberKind::Image) member->SetName(role.name);
        member->LoadStyle(style, role.styleText, role.defaultStyleText, Object());
        if (role.kind == PageMemberKind::Image) member->SetName(role.name);
      }
      break;
    case PageMemberKind::Cluster:
    case PageMemberKind::CollectionTitles: {
      const Area fallback(rect.left, rect.top, rect.right, rect.bottom);
      const char* areaKey = role.kind == PageMemberKind::Cluster ? "cluster.area" : "coll.area";
      const Area area = style ? getArea(style->StyleQuery(areaKey), fallback) : fallback;
      member = MakePageMember(role.kind, rect, area, history);
      if (member && (role.kind == PageMemberKind::Cluster || style)) {
        member->SetName(role.name);
        member->LoadStyle(style, role.styleText, role.defaultStyleText, Object());
      }
      break;
    }
  }
  AppendChild(member);
  AddUserObjects(this, style);
  Toolbar();
  Background();
  InitializeChildren();
  if (CWnd* window = GetWindow()) window->SetTimer(kMemberTimer, kMemberTimerMs);
}

void VDefPage::OnCreate() {}

void VDefPage::OnClose() {}

void VDefPage::OnDestroy() {
  if (CWnd* window = GetWindow())
    if (IsWindow(window->GetSafeHwnd())) window->KillTimer(kMemberTimer);
}
