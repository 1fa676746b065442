// Composing file names against the program's start directory, the local data
// directory or a given directory, and classifying drives.
//
// The composed-path functions return a static buffer of their own (general,
// start-directory, local-data): each call overwrites the previous result of
// the same function. They never fail; results longer than the buffer are cut.
#pragma once

#include "mfc/cstring.h"

constexpr int kPathBufferSize = 260;

// A drive ("X:..."), a UNC name ("\\..."), or a Linux path ("/...").
bool isAbsolute(const char* name);

// An absolute name as it is; otherwise dir, a separator when dir is not empty
// and does not end in one, and name. A non-empty ext replaces any extension
// the last component has ("." is added unless ext begins with one). The
// result is upper-cased.
const char* makePath(const char* dir, const char* name, const char* ext);
// Against the start directory of the program.
const char* makeAppPath(const char* name, const char* ext);
// Against the local data directory (CONNECT LocalDataPath, or the current
// directory when that is empty).
const char* localDataPath(const char* name, const char* ext);
// Against no directory: the name itself with the extension rule.
const char* makeDataDirPath(const char* name, const char* ext);

// The start and local data directories are taken once, on first use; tests
// that change them call this to have them taken again.
void ForgetPathDirectories();

// Kind of the drive of a path: fixed 0, remote 1, CD-ROM 2, removable 3,
// anything else 0.
int driveKind(const char* path);

// Volume labels are not read: the result is 0 and `out` is left alone.
int getVolumeLabel(const char* path, CString& out);
