// The directory of temporary files and fresh names in it.
#pragma once

#include "mfc/cstring.h"

// The user's own temporary directory (see win::PrivateTempWindowsDirectory),
// always ending in a separator, so a file name can be appended directly;
// empty when no such directory can be had.
CString GetTempDirectory();

// A name "<temporary directory><prefix><8 hex digits><suffix>" that no other
// file has. The digits come from the system's random source, so another
// process cannot guess them. With `make` the file is made at once, empty,
// exclusively and never through a link, so the name stays ours. Without it
// the name is only checked: neither that file (a "*" of the suffix, which
// stands for an extension chosen later, left out) nor one without the
// suffix exists; the directory is the user's alone, so no one else can take
// the name meanwhile. Empty when none can be had.
CString MakeTempName(const CString& prefix, const CString& suffix, bool make);

// MakeTempName("", "." + extension, true): a fresh, already made file.
CString MakeTempFileName(const CString& extension);
