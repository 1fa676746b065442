// The cursor over what a click on a page follows: the main window's link
// cursor (the up arrow when it has none), and the arrow back elsewhere,
// unless a command runs and its busy cursor stays.
#pragma once

void ShowPageLinkCursor();
void RestorePageCursor();
