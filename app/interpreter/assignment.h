// "set <object>.<path> = <value>" on the objects of a page.
#pragma once

#include "mfc/cstring.h"

class VGroup;

// Finds the named object in the page (the page itself, a child, or one
// inside child groups) and makes the assignment; "invalid assignment: " and
// the line go to the logbook when there is no such object, no dot follows
// or the assignment is refused. Without a page nothing happens.
void ExecuteSet(VGroup* page, const CString& line, const char* afterKeyword);
