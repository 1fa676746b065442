#include "pages/page/page_parts.h"

VObject* MakePageMember(PageMemberKind, const RECT&, const Area&, const Ref<KXObject>&) {
  return nullptr;
}

VObject* MakeBackgroundPicture(const RECT&) { return nullptr; }

VObject* MakeToolbar(const RECT&) { return nullptr; }

VObject* MakeSoundPlayer() { return nullptr; }

VObject* MakeProgressIndicator(const RECT&) { return nullptr; }

void SetProgressPercent(VObject*, int) {}

void AddUserObjects(VGroup*, const PropertyStruct*) {}

VPage* MakeCADPage() { return nullptr; }

HPALETTE LargestCachedPalette() { return nullptr; }
