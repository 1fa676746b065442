// Page parts made of pictures: not made until the picture objects exist.
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"

VObject* MakeImageMember(const RECT&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeClusterMember(const RECT&, const Area&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeBackgroundPicture(const RECT&) { return nullptr; }
VPage* MakeCADPage() { return nullptr; }
HPALETTE LargestCachedPalette() { return nullptr; }
