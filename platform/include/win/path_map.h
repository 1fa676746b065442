// The path layer shared by the platform files: every file function accepts a
// Windows-style name (drive prefix, backslashes, any letter case) or a plain
// host path, and every result that names a file is given in Windows form, the
// drive C: standing for the host's root.
#pragma once

#include <string>

namespace win {

// The host path a Windows file system would have opened for `name`: "X:"
// prefixes (any letter) stand for the root, "\" and "/" both separate, "."
// and ".." are folded, and each existing component is matched without regard
// to case (an exact match wins, else the first match in byte order).
// Components that do not exist are kept as given. Relative names stay
// relative to the current directory. A null or empty name gives "".
std::string HostPath(const char* name);
inline std::string HostPath(const std::string& name) { return HostPath(name.c_str()); }

// The host path for a file about to be made under `name`: its directory is
// mapped as HostPath maps it, its last component kept as spelled (mapping a
// name that does not exist yet would read its whole directory for another
// spelling). "" when the name has no last component (it ends in a
// separator, ".", or "..").
std::string HostPathOfNewName(const std::string& name);

// "/a/b" -> "C:\a\b", "/" -> "C:\"; a relative path keeps its form with
// backslashes.
std::string WindowsPath(const std::string& hostPath);

// A relative host path joined to the current directory, with "." and ".."
// folded; an absolute one folded only.
std::string AbsoluteHostPath(const std::string& hostPath);

// The full Windows-form name of `name` (as OpenFile reports it).
std::string FullWindowsPath(const char* name);

// The current directory as a host path ("" when it cannot be read).
std::string CurrentHostDirectory();

// The current directory in Windows form, whatever its length ("" when it
// cannot be read): for callers that would otherwise guess a buffer size.
std::string CurrentWindowsDirectory();

// The temporary directory in Windows form, always ending in "\\".
std::string TempWindowsDirectory();

// The user's own directory under the temporary directory, in Windows form
// and ending in "\\": made on first use, entered by no one else, and never
// reached through a symbolic link. When another user holds its name, a
// fresh directory of this process's own serves instead. "" when neither can
// be had.
std::string PrivateTempWindowsDirectory();

// Makes `name` as a new, empty file that only the user may read and write.
// False (with ERROR_FILE_EXISTS when the name is taken) when it exists, is a
// symbolic link, or cannot be made: a name another process planted is never
// followed or reused. Its directory is found in any spelling; the file is
// made as its last part is spelled, beside a file that holds that name in
// another spelling only.
bool CreateNewPrivateFile(const std::string& name);

// The directory of the program's executable as a host path.
std::string ProgramHostDirectory();

// True when the two names are equal without regard to Windows-1252 case.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace win
