// The directory of temporary files and fresh names in it.
#pragma once

#include "mfc/cstring.h"

// The user's own temporary directory (see win::PrivateTempWindowsDirectory),
// always ending in a separator, so a file name can be appended directly;
// empty when no such directory can be had.
CString GetTempDirectory();

// A name "<temporary directory><prefix><8 hex digits><suffix>" that no other
// file has. The digits come from the system's random source, so another
// process cannot guess them. The file is made at once, empty, exclusively
// and never through a link, so the name stays ours; a suffix holding "*"
// stands for an extension chosen later, and then only a name with neither
// that file nor one without the suffix is given. Empty when none can be had.
CString MakeTempName(const CString& prefix, const CString& suffix);

// MakeTempName("", "." + extension): a fresh, already made file.
CString MakeTempFileName(const CString& extension);
