#include "text/atom/position_item.h"

bool PositionItem::GetText(CString& out, LONG) const {
  out.Empty();
  return true;
}

bool LineBreakItem::GetText(CString& out, LONG) const {
  out = "\n";
  return true;
}
