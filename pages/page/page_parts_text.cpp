// The text member of a page: not made until the text page object exists.
#include "pages/page/page_members.h"

VObject* MakeTextMember(const RECT&, const Ref<KXObject>&) { return nullptr; }
