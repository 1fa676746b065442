// What the foundation asks of the current viewer application. Each call
// works without an application too (see each).
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

// ChangeBusyCount(+1), (-1) and (0) on the current application; nothing when
// there is none.
void BeginBusyCursor();
void EndBusyCursor();
void RefreshBusyCursor();

// The directory that was current when the application was constructed;
// false (and `out` untouched) without an application.
bool GetAppStartDir(CString& out);

// The application's home directory (ending in a separator); false (and `out`
// untouched) without an application.
bool GetAppHomeDir(CString& out);

// A value of the application's settings file; false (and `out` untouched)
// without an application.
bool GetAppProfileString(const char* section, const char* key, const char* def, CString& out);

// The application's message box (captioned with the application's name).
int AppMessageBox(const char* text, UINT type);
