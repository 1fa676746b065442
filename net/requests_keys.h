// The key texts that anchor records are written with, shared by the control
// connection and the local database: each attribute name followed by "=",
// then "Position=", and the default language code "en".
//
// Built once by the first ProtocolKeysGuard (one per source file that
// includes this header) and freed by the last, so static initialisers of
// those files may use them; protocolKeys() is null outside that time.
#pragma once

#include "core/static_guard.h"
#include "mfc/cstring.h"

struct ProtocolKeys {
  CString title = "Title=";
  CString type = "Type=";
  CString author = "Author=";
  CString timeCreated = "TimeCreated=";
  CString timeModified = "TimeModified=";
  CString remoteId = "RemoteID=";
  CString repl = "Repl=";
  CString timeOpen = "TimeOpen=";
  CString timeExpire = "TimeExpire=";
  CString rights = "Rights=";
  CString parent = "Parent=";
  CString keyword = "Keyword=";
  CString position = "Position=";
  CString defaultLanguage = "en";
};

const ProtocolKeys* protocolKeys();
void initProtocolKeys();
void freeProtocolKeys();

struct ProtocolKeysOwner {
  static void Init() { initProtocolKeys(); }
  static void Exit() { freeProtocolKeys(); }
};

// This file's share of the use counter.
static StaticGuard<ProtocolKeysOwner> protocolKeysGuard;
