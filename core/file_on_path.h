// Whether a name denotes an existing file, directly or along the search path.
#pragma once

// False for the device names (LPT1-3, COM1-4, CON, AUX, PRN in any case) and
// for directories; true for a file the file system knows, or else one that
// the search along the current directory, the program's directory and PATH
// finds.
bool IsFileOnPath(const char* name);
