// Opening the store that serves a name: the scheme before the first ":"
// picks it; a name without one takes the default scheme.
#include "net/open_store.h"

#include <cstdint>
#include <initializer_list>
#include <new>

#include "core/message_boxes.h"
#include "core/object_id.h"
#include "net/kx_session.h"

namespace {

CString& DefaultSchemeText() {
  static CString* scheme = new CString;  // read after exit by late callers
  return *scheme;
}

Ref<Store> MakeKxSession(const CString& address) {
  KxSession* session = new (std::nothrow) KxSession(address);
  return Ref<Store>(session);
}

LocalDatabaseMaker gLocalMaker = nullptr;
SessionMaker gSessionMaker = &MakeKxSession;

bool OneOf(const CString& s, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (s == n) return true;
  return false;
}

// One number at `p` (after blanks): hexadecimal behind "0x" when `hex`,
// else decimal with an optional sign; it must fit 32 bits. Advances `p`.
bool ReadNumber(const char*& p, bool hex, std::uint32_t& out) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
  bool negative = false;
  if (hex) {
    if (p[0] != '0' || (p[1] != 'x' && p[1] != 'X')) return false;
    p += 2;
  } else if (*p == '-' || *p == '+') {
    negative = *p == '-';
    ++p;
  }
  const int base = hex ? 16 : 10;
  std::uint64_t v = 0;
  int digits = 0;
  for (;; ++p, ++digits) {
    const char c = *p;
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) break;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (digits == 0) return false;
  if (!hex && v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  out = negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(v))
                 : static_cast<std::uint32_t>(v);
  return true;
}

// A name without a scheme names a server by two numbers ("%ld %ld" or
// "0x%lx 0x%lx"); the first is its address, the second is not used. False
// when the name is not so.
bool NumericServerAddress(const CString& name, CString& address) {
  for (const bool hex : {true, false}) {
    const char* p = name.c_str();
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    if (ReadNumber(p, hex, first) && ReadNumber(p, hex, second)) {
      address = "korvex://" + ObjectId(static_cast<LONG>(first)).Format();
      return true;
    }
  }
  return false;
}

// A new store joins the list, and every cached object is fetched afresh on
// its next use: it may now come from another store.
void Joined(const Ref<Store>& store, bool front) {
  if (front) AddStoreFront(store);
  else AddStoreBack(store);
  InvalidateCachedObjects(kRefreshAll);
}

Ref<Store> OpenSession(const CString& name, const CString& ownScheme) {
  CString address = name;
  if (ownScheme.IsEmpty() && !NumericServerAddress(name, address)) return Ref<Store>();
  Ref<Store> session = gSessionMaker ? gSessionMaker(address) : Ref<Store>();
  if (!session) {
    ShowMessageId(kStrCannotConnect);
    return session;
  }
  if (session->getError() != 0) {
    // Never used again: it goes with its last handle.
    ShowErrorText(session->getErrorText().c_str());
    return Ref<Store>();
  }
  Joined(session, true);
  return session;
}

Ref<Store> OpenLocal(const CString& name) {
  if (Ref<Store> open = FindOpenStore(kLocalScheme)) return open;
  if (!gLocalMaker) {
    ShowErrorText(kLocalDatabaseUnavailable);
    return Ref<Store>();
  }
  Ref<Store> local = gLocalMaker(name);
  if (!local) return local;
  if (local->getError() != 0) {
    ShowErrorText(local->getErrorText().c_str());
    return Ref<Store>();
  }
  Joined(local, false);
  return local;
}

}  // namespace

const CString& DefaultScheme() { return DefaultSchemeText(); }
void ResetDefaultScheme() { DefaultSchemeText() = CString(); }

LocalDatabaseMaker SetLocalDatabaseMaker(LocalDatabaseMaker maker) {
  const LocalDatabaseMaker old = gLocalMaker;
  gLocalMaker = maker;
  return old;
}

SessionMaker SetSessionMaker(SessionMaker maker) {
  const SessionMaker old = gSessionMaker;
  gSessionMaker = maker ? maker : &MakeKxSession;
  return old;
}

KxObjectFactory& TheObjectFactory() {
  static KxObjectFactory* factory = new KxObjectFactory;  // lives as long as the registers
  return *factory;
}

ObjectFactory* InstallObjectFactory() { return SetObjectFactory(&TheObjectFactory()); }

Ref<Store> KxObjectFactory::openStore(const CString& name, const Ref<Store>& given) {
  const int colon = name.Find(':');
  const CString ownScheme = colon > 0 ? name.Left(colon) : CString();
  CString scheme = ownScheme;
  CString& fallback = DefaultSchemeText();
  if (scheme.IsEmpty()) scheme = fallback;
  if (fallback.IsEmpty() && OneOf(scheme, {"korvex", "http", "gopher", "ftp", "kxlocal"}))
    fallback = scheme;

  if (scheme.IsEmpty() || OneOf(scheme, {"korvex", "http", "gopher", "ftp"})) {
    if (given && given->getScheme() == kServerScheme) return given;
    if (Ref<Store> open = FindOpenStore(kServerScheme)) return open;
    if (!scheme.IsEmpty() && scheme != kServerScheme) return given;
    return OpenSession(name, ownScheme);
  }
  if (scheme == kLocalScheme) return OpenLocal(name);
  return given;
}
