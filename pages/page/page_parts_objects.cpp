// Page parts made of the standard page objects: not made until they exist.
#include "pages/page/page_members.h"
#include "pages/page/page_parts.h"

VObject* MakeTitlesMember(const RECT&, const Area&, const Ref<KXObject>&) { return nullptr; }
VObject* MakeToolbar(const RECT&) { return nullptr; }
VObject* MakeProgressIndicator(const RECT&) { return nullptr; }
void SetProgressPercent(VObject*, int) {}
