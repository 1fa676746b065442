// Page parts made of the standard page objects: the tool bar, the
// progress bar and the title list of a collection.
#include "core/object_utils.h"
#include "pages/objects/vcoll_titles.h"
#include "pages/objects/vprogress_indicator.h"
#include "pages/objects/vtoolbar.h"
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"

VObject* MakeTitlesMember(const RECT&, const Area& area, const Ref<KXObject>& historyObject) {
  return new VCollTitles(area, followLink(historyObject));
}

VObject* MakeToolbar(const RECT& rect) {
  return new VToolbar(rect.left, rect.top, rect.right, rect.bottom);
}

VObject* MakeProgressIndicator(const RECT& rect) {
  return new VProgressIndicator(rect.left, rect.top, rect.right, rect.bottom);
}

void SetProgressPercent(VObject* indicator, int percent) {
  if (auto* bar = dynamic_cast<VProgressIndicator*>(indicator)) bar->SetPercent(percent);
}
