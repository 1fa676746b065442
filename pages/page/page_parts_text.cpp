// The text member of a page: a text object that shows the history's object.
#include <new>

#include "pages/page/page_members.h"
#include "pages/text/vtext.h"

VObject* MakeTextMember(const RECT& rect, const Ref<KXObject>& historyObject) {
  return new (std::nothrow) VText(rect.left, rect.top, rect.right, rect.bottom, historyObject);
}
