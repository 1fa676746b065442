// Page parts that play sound and video: not made
// until the media objects exist.
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"

VObject* MakeMovieMember(const RECT&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeSoundMember(const RECT&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeSoundPlayer() { return nullptr; }
