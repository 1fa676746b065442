#include "pages/page/page_parts.h"

#include "pages/page/page_members.h"

VObject* MakePageMember(PageMemberKind kind, const RECT& rect, const Area& area,
                        const Ref<KXObject>& historyObject) {
  switch (kind) {
    case PageMemberKind::Image: return MakeImageMember(rect, historyObject);
    case PageMemberKind::Text: return MakeTextMember(rect, historyObject);
    case PageMemberKind::Movie: return MakeMovieMember(rect, historyObject);
    case PageMemberKind::Sound: return MakeSoundMember(rect, historyObject);
    case PageMemberKind::Cluster: return MakeClusterMember(rect, area, historyObject);
    case PageMemberKind::CollectionTitles: return MakeTitlesMember(rect, area, historyObject);
  }
  return nullptr;
}
