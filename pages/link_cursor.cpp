#include "pages/link_cursor.h"

#include "framework/user_break.h"
#include "pages/picture/dither_table.h"
#include "win/user.h"

void ShowPageLinkCursor() {
  HCURSOR link = TheMainWindow().LinkCursor();
  SetCursor(link ? link : LoadCursor(nullptr, IDC_UPARROW));
}

void RestorePageCursor() {
  if (!LongOperationFlag()) SetCursor(LoadCursor(nullptr, IDC_ARROW));
}
