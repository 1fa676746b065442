// The object factory of the program (the ObjectFactory of
// core/store_registry.h): opening the store that serves a name ("korvex:"
// addresses through a server session, "kxlocal:" through the local
// database) and turning an attribute record into the right KXObject class,
// including the pseudo documents for WWW, Gopher, WAIS, FTP, SQL and telnet
// sources. fetchObject and objectForRecord (store_registry.h) reach both
// through the installed factory.
#pragma once

#include <cstdint>

#include "core/kx_object.h"
#include "core/objref.h"
#include "core/store.h"
#include "core/store_registry.h"
#include "mfc/cstring.h"

class KxObjectFactory : public ObjectFactory {
 public:
  // A new object of the class the record names (count 0), or null. A record
  // of a remote document is completed first (its RemoteDocType, a default
  // Path, a MIME type), as the object's own copy.
  KXObject* createObject(const CString& record) override;
  // The store that serves `name`: the given one, an open one, or a new
  // server session or local database (see open_store.cpp).
  Ref<Store> openStore(const CString& name, const Ref<Store>& given) override;
};

// The program's factory; InstallObjectFactory makes it the registers' one
// (and returns the one installed before).
KxObjectFactory& TheObjectFactory();
ObjectFactory* InstallObjectFactory();

// ---- Opening stores ----

// The scheme taken for a name without one: set once, by the first name
// with one of the schemes korvex, http, gopher, ftp and kxlocal. Empty at
// start.
const CString& DefaultScheme();
// Forgets the default scheme (for tests, and when the program starts over).
void ResetDefaultScheme();

// What the local storage supplies: a new local database for a "kxlocal"
// location (null when it cannot be made). Its error state tells whether it
// opened. Until one is installed a "kxlocal" location is not available.
using LocalDatabaseMaker = Ref<Store> (*)(const CString& location);
LocalDatabaseMaker SetLocalDatabaseMaker(LocalDatabaseMaker maker);
// Shown when a "kxlocal" location is opened and no maker is installed.
inline constexpr const char* kLocalDatabaseUnavailable = "The local database is not available.";

// What opens a server session for a "korvex" address; null when the object
// cannot be made. The default makes a KxSession; tests put in another.
using SessionMaker = Ref<Store> (*)(const CString& address);
SessionMaker SetSessionMaker(SessionMaker maker);

// String 125: the session object could not be made.
inline constexpr std::int32_t kStrCannotConnect = 125;

// ---- Records of remote documents ----

// The media kind of a remote document: 2 image, 3 sound, 4 movie, 5
// PostScript, 1 anything else. May append a "RemoteDocType=" line to the
// record (an inline picture is an image; no type at all is text).
int remoteDocKind(CString& record);

// The current UTC time as "%02d/%02d/%02d %02d:%02d:%02d" of years since
// 1900, month (1-12), day, hour, minute and second.
CString currentTimeStamp();

// A copy with every blank as "%20".
CString escapeBlanks(const CString& text);
