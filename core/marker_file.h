// The endpoint file a listening endpoint leaves for other programs: the host
// name (at most 100 bytes), one NUL byte, then the port in decimal, with no
// line end.
#pragma once

#include "mfc/cstring.h"

// Deletes the file, creates it anew and writes the endpoint of this host.
// True when every write succeeded; false for a null path.
bool writeMarkerFile(const char* path, int port);
// The same for a given host name (cut to 100 bytes).
bool writeMarkerFileFor(const char* path, const CString& host, int port);
// Deletes the file; false for a null path or when deletion fails.
bool removeMarkerFile(const char* path);
