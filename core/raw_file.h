// Opening raw files by mode and finding their length, for the readers of the
// local storage's data files.
#pragma once

#include "win/types.h"

// Mode bit 2: read and write; else bit 1: write; else read. The handle, or -1
// when the file cannot be opened.
HFILE OpenFile(const char* name, int mode);

// The length of an open file; the file position is at its start afterwards.
// 0 when the handle cannot be positioned.
DWORD GetFileLength(HFILE handle);
