// Interim: until the MFC application class exists in the platform layer there
// is never a current viewer application, so every service takes its
// "no application" path. Replaced by the ViewerApp-backed version.
#include "app/framework/app_services.h"

#include "win/user.h"

void BeginBusyCursor() {}
void EndBusyCursor() {}
void RefreshBusyCursor() {}
bool GetAppStartDir(CString&) { return false; }
bool GetAppProfileString(const char*, const char*, const char*, CString&) { return false; }
int AppMessageBox(const char* text, UINT type) { return MessageBox(GetFocus(), text, "Tolm", type); }
