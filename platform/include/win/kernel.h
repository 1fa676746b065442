// KERNEL services of our Win32 layer: global memory, files with Windows path
// semantics, private-profile settings, time, the string table, and the
// runtime-library helpers whose behaviour the client relies on.
#pragma once

#include <cstdarg>
#include <cstdio>

#include "win/types.h"

// ---- Global memory -------------------------------------------------------
// Blocks are handles; GlobalLock gives the address. GlobalSize answers the size
// that was asked for (not a rounded-up allocation size). A fixed block's handle
// is its address. Bad or freed handles fail (ERROR_INVALID_HANDLE) instead of
// crashing; sizes above 1 GiB are refused. GlobalReAlloc moves a locked or
// fixed block only when its flags include GMEM_MOVEABLE.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE GMEM_SHARE
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

HGLOBAL GlobalAlloc(UINT flags, DWORD_PTR bytes);
HGLOBAL GlobalReAlloc(HGLOBAL mem, DWORD_PTR bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
DWORD_PTR GlobalSize(HGLOBAL mem);
HGLOBAL GlobalFree(HGLOBAL mem);  // null on success, the handle on failure
HGLOBAL GlobalHandle(LPCVOID locked);
UINT GlobalFlags(HGLOBAL mem);    // lock count in the low byte
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_LOCKCOUNT 0x00FF
#define GMEM_DISCARDED 0x4000
#define GMEM_INVALID_HANDLE 0x8000

// ---- Errors ---------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_PATH_NOT_FOUND 3
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_PARAMETER 87
#define ERROR_MOD_NOT_FOUND 126
#define ERROR_PROC_NOT_FOUND 127
#define ERROR_ALREADY_EXISTS 183
#define ERROR_TOO_MANY_OPEN_FILES 4
#define ERROR_INVALID_DRIVE 15
#define ERROR_SHARING_VIOLATION 32
#define ERROR_FILE_EXISTS 80
#define ERROR_BUFFER_OVERFLOW 111
#define ERROR_DISK_FULL 112
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_INVALID_NAME 123
#define ERROR_NEGATIVE_SEEK 131
#define ERROR_DIR_NOT_EMPTY 145
#define ERROR_NOT_LOCKED 158
#define ERROR_ENVVAR_NOT_FOUND 203
#define ERROR_NOT_SAME_DEVICE 17
#define ERROR_DIRECTORY 267

// ---- Paths ----------------------------------------------------------------
// Maps a Windows-style name (backslashes, a drive prefix, any letter case) to
// the host path a Windows file system would have opened: each existing path
// component is matched without regard to case. Components that do not exist
// are kept as given (so a file can be created under its Windows name).
// The result is empty for a null name.
// Writes the host path of `name` into `out` (at most size bytes, NUL ended);
// returns the length, or 0 when it does not fit.
DWORD MapPathToHost(LPCSTR name, LPSTR out, DWORD size);

// ---- Files: the old _l* handle API --------------------------------------------
#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
#define OF_SHARE_COMPAT 0x0000
#define OF_SHARE_EXCLUSIVE 0x0010
#define OF_SHARE_DENY_WRITE 0x0020
#define OF_SHARE_DENY_READ 0x0030
#define OF_SHARE_DENY_NONE 0x0040
#define OF_CREATE 0x1000
#define OF_EXIST 0x4000
#define OF_DELETE 0x0200
#define OF_PARSE 0x0100
#define OF_REOPEN 0x8000
#define OFS_MAXPATHNAME 128

HFILE _lopen(LPCSTR path, int mode);
HFILE _lcreat(LPCSTR path, int attribute);
UINT _lread(HFILE file, LPVOID buffer, UINT bytes);   // HFILE_ERROR (as UINT) on failure
UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes);  // HFILE_ERROR (as UINT) on failure;
                                                      // 0 bytes truncate at the position
LONG _llseek(HFILE file, LONG offset, int origin);    // new position, or HFILE_ERROR
HFILE _lclose(HFILE file);                             // 0, or HFILE_ERROR

struct OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  char szPathName[OFS_MAXPATHNAME];
};
// Fills szPathName with the full name in Windows form (cut to fit) and, on
// failure, nErrCode. OF_EXIST and OF_DELETE answer 1 on success, OF_PARSE 0.
HFILE OpenFile(LPCSTR name, OFSTRUCT* info, UINT style);

BOOL DeleteFile(LPCSTR name);
BOOL MoveFile(LPCSTR from, LPCSTR to);  // never replaces an existing file
BOOL CopyFile(LPCSTR from, LPCSTR to, BOOL failIfExists);  // refuses to copy onto itself
BOOL CreateDirectory(LPCSTR name, void* security);
BOOL RemoveDirectory(LPCSTR name);
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x01
#define FILE_ATTRIBUTE_HIDDEN 0x02
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_NORMAL 0x80
DWORD GetFileAttributes(LPCSTR name);

// Searches for a file in `path` (directories separated by ";") or, when it is
// null, along the current directory, the program's directory and PATH; `ext`
// is appended when the name has no extension. Fills `out` with the found name
// in Windows form and `filePart` (when not null) with its file-name part.
// Returns the length; the size needed (with the NUL) when `out` is too small;
// 0 when not found.
DWORD SearchPath(LPCSTR path, LPCSTR name, LPCSTR ext, DWORD size, LPSTR out, LPSTR* filePart);

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6
UINT GetDriveType(LPCSTR root);
#define SEM_FAILCRITICALERRORS 0x0001
#define SEM_NOOPENFILEERRORBOX 0x8000
UINT SetErrorMode(UINT mode);

// Text-mode reading: a FILE* opened through the path layer; "t" in the mode
// (or no "b") turns CR LF into LF on reading, as the old runtime did.
FILE* win_fopen(LPCSTR name, LPCSTR mode);

// ---- Directory searches -----------------------------------------------------
// FindFirstFile takes a directory part and a name pattern ("dir\*.sty"); '*'
// stands for any run of characters and '?' for one, and names match without
// regard to case, as on Windows. The entries are handed out in byte order of
// their names; "." and ".." come with the others when the pattern matches
// them. INVALID_HANDLE_VALUE (ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND
// for a missing directory) when nothing matches; FindNextFile then answers
// FALSE with ERROR_NO_MORE_FILES at the end.
#define ERROR_NO_MORE_FILES 18
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
struct WIN32_FIND_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};
using LPWIN32_FIND_DATA = WIN32_FIND_DATA*;
HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA data);
BOOL FindNextFile(HANDLE search, LPWIN32_FIND_DATA data);
BOOL FindClose(HANDLE search);

// ---- Directories and temporary files ----------------------------------------
// GetTempPath, GetCurrentDirectory, GetEnvironmentVariable: the length when
// the text fits; otherwise the size needed (NUL included) and an empty string
// in the buffer.
// Always ends in a separator: TMPDIR, TMP or TEMP, else /tmp.
DWORD GetTempPath(DWORD size, LPSTR buffer);
// dir\PPPXXXX.TMP (three prefix characters, four hex digits) into `out`
// (MAX_PATH bytes). With unique 0 a free number is chosen and the file is
// created empty; otherwise the name is only composed. 0 on failure.
UINT GetTempFileName(LPCSTR dir, LPCSTR prefix, UINT unique, LPSTR out);
DWORD GetCurrentDirectory(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectory(LPCSTR dir);
// A buffer too small gets the name cut to size - 1 characters; the result is
// then `size` and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size);

// ---- Settings (private-profile files) ----------------------------------------
// Section and key names compare without case; values are trimmed of blanks
// and tabs and lose one pair of surrounding quotes; the result is cut to the
// caller's buffer (size - 1 characters and a NUL). A null section lists the
// sections, a null key the keys of the section: NUL-ended names and a second
// NUL, cut to fit. Names and files are re-read on every call.
// WritePrivateProfileString adds, replaces (null value: deletes) a key or
// deletes a section (null key), keeping all other lines; it refuses names and
// values that would change the file's shape (line breaks, "=" in a key, "]"
// in a section name, a key starting with ";" or "[").
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR out, DWORD size,
                              LPCSTR file);
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, INT def, LPCSTR file);
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);
DWORD GetPrivateProfileSection(LPCSTR section, LPSTR out, DWORD size, LPCSTR file);

// ---- Time -------------------------------------------------------------------
DWORD GetTickCount();  // milliseconds, 32-bit, wraps
#define INFINITE 0xFFFFFFFF
void Sleep(DWORD ms);
struct SYSTEMTIME {
  WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
void GetLocalTime(SYSTEMTIME* out);
void GetSystemTime(SYSTEMTIME* out);

// ---- Version -----------------------------------------------------------------
// The Windows version as GetVersion packs it: major version in the low byte,
// minor in the next, build in the high word, bit 31 clear on Windows NT. The
// layer reports NT 4.0, so socket reads and writes are not cut to the 2048
// bytes of the other Windows versions. (Defined beside the socket layer,
// its only reader.)
DWORD GetVersion();
namespace win {
// Tests make the layer report another version; returns the previous one.
DWORD SetVersionForTesting(DWORD version);
}  // namespace win

// ---- Modules and the string table --------------------------------------------
// Null or the program's own file name (any case, with or without ".exe"):
// the program's instance. Another name: a library loaded with LoadLibrary
// (win/module.h), else a module that registered resources under that name
// (win/user.h); null with ERROR_MOD_NOT_FOUND when there is none.
HINSTANCE GetModuleHandle(LPCSTR name);
// Strings come from the table under resources/ compiled into the program.
int LoadString(HINSTANCE inst, UINT id, LPSTR buffer, int size);
// Direct access for callers that need no copy; null when the id is unknown.
LPCSTR win_string_resource(UINT id);

// ---- Environment ------------------------------------------------------------
DWORD GetEnvironmentVariable(LPCSTR name, LPSTR buffer, DWORD size);
BOOL SetEnvironmentVariable(LPCSTR name, LPCSTR value);
#define MAX_COMPUTERNAME_LENGTH 15
BOOL GetComputerName(LPSTR buffer, LPDWORD size);

// ---- Runtime-library behaviour --------------------------------------------------
// The old runtime's rand(): the same sequence for the same seed (a linear
// congruential generator, 15-bit results). Declared under other names so the
// C library's rand() stays what it is.
#define WIN_RAND_MAX 0x7fff
int win_rand();
void win_srand(unsigned int seed);

// Multibyte comparisons of a single-byte code page: byte by byte, unsigned.
int _mbscmp(const unsigned char* a, const unsigned char* b);
int _mbsicmp(const unsigned char* a, const unsigned char* b);
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t n);
char* _strupr(char* s);
char* _strlwr(char* s);
// Windows upper- and lower-casing of one Latin-1 byte.
int win_toupper(int c);
int win_tolower(int c);
char* _itoa(int value, char* out, int radix);
char* _ltoa(LONG value, char* out, int radix);
char* _ultoa(ULONG value, char* out, int radix);

// printf and scanf with the Win32 meaning of the `l` size: %ld, %li, %lu, %lx,
// %lX, %lo take and store 32-bit values (LONG/DWORD), as `long` was on the
// original platform. Other conversions are passed to the C library unchanged.
int win_vsnprintf(char* out, size_t size, const char* fmt, va_list args);
int win_snprintf(char* out, size_t size, const char* fmt, ...);
int win_sprintf(char* out, const char* fmt, ...);  // unbounded, as the old sprintf
int win_vsscanf(const char* text, const char* fmt, va_list args);
int win_sscanf(const char* text, const char* fmt, ...);
int wsprintf(LPSTR out, LPCSTR fmt, ...);  // at most 1024 characters, as USER's
// Rewrites a format so that the C library sees int-sized conversions where the
// Win32 runtime meant 32-bit `l`; the result is stored in `out`.
void win_translate_format(const char* fmt, char* out, size_t size);
