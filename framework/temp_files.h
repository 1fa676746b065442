// The directory of temporary files and fresh names in it.
#pragma once

#include "mfc/cstring.h"

// The temporary directory as the system gives it, always ending in a
// separator, so a file name can be appended directly.
CString GetTempDirectory();

// A name "<temporary directory><8 hex digits>.<extension>" that no existing
// file has; empty in the unlikely case that every name tried is taken.
CString MakeTempFileName(const CString& extension);
