// The CONNECT, INIT and CACHE settings that start-up reads, as one value, so
// reading them and putting them into effect are two steps.
#pragma once

#include "mfc/cstring.h"

class ViewerApp;

struct ShellSettings {
  CString server;
  CString login;
  CString password;
  int autologin = 0;
  CString localDataPath;
  CString sortOrder;
  CString languageOrder;
  int effects = 1;
  bool logbook = true;
  long limitSize = 10000000;
  int limitFiles = 50;
  long limitImageSize = 2000000;
  int limitImages = 50;
  char clearCache = '?';
  // The temporary cache table: the temporary directory and "tolm.csh".
  CString tempCacheTable;
};

// Reads the settings, each with its default (the current program-wide
// value where one exists).
ShellSettings ReadShellSettings(ViewerApp& app);
// The server address, sort order, language order, effects, logbook switch
// and clear-cache mode take the values.
void ApplyShellSettings(const ShellSettings& settings);

// A directory setting with a separator added unless it is empty or ends in
// a colon, backslash or slash.
CString WithDirectorySeparator(const CString& path);

// The local data directory as start-up read it.
const CString& LocalDataDirectory();
