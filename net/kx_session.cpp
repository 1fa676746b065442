// The server session: creating it from an address, the login, the user's
// home collection, the password change, and the identity and error
// operations.
#include "net/kx_session.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/string_array.h"
#include "net/crypt.h"
#include "net/dispatcher.h"
#include "net/error_texts.h"

namespace {

// The alphabet new salts are drawn from.
constexpr const char* kSaltAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789./";

int gAcceptWaitMs = KxSession::kDefaultAcceptWaitMs;
int gReadWaitMs = KxSession::kDefaultReadWaitMs;

// The name the server confirmed: the identification text up to its first
// "(" (the whole text when it has none).
CString ConfirmedName(const CString& identification) {
  const int paren = identification.Find('(');
  return paren < 0 ? identification : identification.Left(paren);
}

// Reads one decimal number (an optional sign, then digits) at `pos`, not
// past `end`. False when no digit stands there.
bool ReadNumber(const CString& text, int& pos, int end, int& value) {
  int p = pos;
  bool negative = false;
  if (p < end && (text[p] == '-' || text[p] == '+')) {
    negative = text[p] == '-';
    ++p;
  }
  if (p >= end || !std::isdigit(static_cast<unsigned char>(text[p]))) return false;
  long long v = 0;
  while (p < end && std::isdigit(static_cast<unsigned char>(text[p]))) {
    if (v < 1000000) v = v * 10 + (text[p] - '0');  // kept in 8 bits anyway
    ++p;
  }
  value = static_cast<int>(negative ? -v : v);
  pos = p;
  return true;
}

// Servers of this session answer the destination of their anchors (request
// 2); the object model asks through this hook.
bool AnchorDestinationOfSession(Store& store, std::int32_t anchorId, std::int32_t& destination) {
  auto* session = dynamic_cast<KxSession*>(&store);
  if (session == nullptr || session->connection() == nullptr) return false;
  LONG id = 0;
  if (!session->connection()->getAnchorDestination(ObjectId(anchorId), id)) return false;
  destination = id;
  return true;
}

}  // namespace

// ---- Construction and teardown ---------------------------------------------

KxSession::KxSession(const CString& addressText) : Store(addressText) {
  capabilities = kStoreCapsServer;
  // A user named in the address is kept; "anonymous" stands in for none.
  if (user.IsEmpty()) user = kDefaultUser;
  SetAnchorDestinationQuery(AnchorDestinationOfSession);

  if (!scheme.IsEmpty() && scheme != kServerScheme) {
    setError(kStrWrongProtocol);
    return;
  }
  if (port == 0) port = kDefaultPort;
  ParseConnectionOptions(address, options_);

  connection_.reset(new (std::nothrow) SessionConnection(
      user, password, host, port, options_[0] != 0, options_[1] != 0, options_[2] != 0,
      kProtocolVersion));
  if (!connection_) {
    setError(kStrCannotConnect);
    return;
  }
  if (const int code = connection_->error(); code != 0) {
    setError(kStrProtocolError);
    errorText += " ";
    errorText += ::errorText(code);
    // A session that failed is never used again: its socket goes now
    // rather than staying in the dispatcher until the last handle goes.
    connection_.reset();
    return;
  }
  login(user, password, 0);
  if (path.IsEmpty()) path = kAnonymousHome;
}

KxSession::~KxSession() {
  connection_.reset();
  // Other sessions, senders and endpoints may still be served by the
  // dispatcher: it ends only when nobody is left in it.
  if (Dispatcher* d = Dispatcher::existing()) {
    if (d->slotCount() == 0 && d->timerCount() == 0) Dispatcher::destroy();
  }
}

// ---- Options of the address ------------------------------------------------

bool KxSession::ParseConnectionOptions(const CString& address, std::uint8_t options[3]) {
  // The options follow the port: find the colon before it. A user part may
  // hold a colon of its own (the password), so the search starts at "@";
  // without one it starts behind the scheme's "//".
  int start = address.Find('@');
  if (start < 0) {
    const int schemeColon = address.Find(':');
    if (schemeColon < 0) return false;
    start = schemeColon + 1;
    if (address.Mid(start, 2) == "//") start += 2;
  }
  const int portColon = address.Find(':', start);
  if (portColon < 0) return false;
  const int end = address.Find('/', portColon);
  if (end < 0) return false;
  const int semicolon = address.Find(';', portColon);
  if (semicolon < 0 || semicolon > end) return false;

  bool any = false;
  int pos = semicolon + 1;
  for (int i = 0; i < 3 && pos < end; ++i) {
    int value = 0;
    if (!ReadNumber(address, pos, end, value)) break;
    options[i] = static_cast<std::uint8_t>(value);
    any = true;
    if (pos >= end || address[pos] != ':') break;
    ++pos;
  }
  return any;
}

// ---- Login and identity ----------------------------------------------------

bool KxSession::login(const CString& name, const CString& pass, std::int32_t flag) {
  if (!connected()) return false;
  const bool answered = pass.IsEmpty() ? connection_->identifyUser(name, kNoPassword, 0)
                                       : connection_->identifyUser(name, pass, flag);
  // Without an answer the identification text is the previous one, which
  // must not pass for a confirmation.
  if (!answered) return false;
  const CString confirmed = ConfirmedName(connection_->identificationText());
  if (confirmed != name) return false;

  user = name;
  password = pass;
  identified = confirmed != kDefaultUser;
  userRecord_.Empty();
  connection_->getRecord(connection_->userId(), userRecord_);
  setPathFromHome();
  return true;
}

void KxSession::setPathFromHome() {
  const CString home = AttrRecord(userRecord_).getAttribute("Home=");
  if (home.IsEmpty()) {
    path = kAnonymousHome;
    return;
  }
  const ObjectId id =
      home.Left(2) == "0x" ? ObjectId(home) : connection_->findCollectionByName(home);
  path = (id.isNull() || !connection_->isCollection(id)) ? CString(kAnonymousHome) : home;
}

bool KxSession::changePassword(const CString& oldPassword, const CString& newPassword) {
  if (!connected()) return false;
  static bool seeded = false;
  if (!seeded) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    seeded = true;
  }
  char salt[3];
  salt[0] = kSaltAlphabet[std::rand() % 64];
  salt[1] = kSaltAlphabet[std::rand() % 64];
  salt[2] = '\0';
  const CString newValue = kxcrypt::passwordHash(newPassword.c_str(), salt);

  CString record;
  if (!connection_->getRecord(connection_->userId(), record)) return false;
  SortedStringArray stored;
  AttrRecord(record).findAll("Passwd=", stored);
  for (int i = 0; i < stored.count(); ++i) {
    const CString value = stored.at(i);
    if (value != kxcrypt::passwordHash(oldPassword.c_str(), value.c_str())) continue;
    return connection_->modifyObject(connection_->userId(),
                                     "rem Passwd=" + value + "\\add Passwd=" + newValue);
  }
  return false;
}

bool KxSession::handlesUrl(const CString& url) {
  const int colon = url.Find(':');
  const CString s = colon >= 1 ? url.Left(colon) : CString(kServerScheme);
  return s == kServerScheme || s == "http" || s == "gopher" || s == "ftp";
}

CString KxSession::getUser() {
  if (connected()) {
    const CString confirmed = ConfirmedName(connection_->identificationText());
    if (!confirmed.IsEmpty()) user = confirmed;
  }
  return user;
}

CString KxSession::getServerInfo() {
  if (connected()) serverInfo = connection_->serverString();
  return serverInfo;
}

CString KxSession::getErrorText() {
  return connected() ? ::errorText(connection_->error()) : errorText;
}

// ---- Data-connection waits -------------------------------------------------

void KxSession::SetDataWaits(int acceptMs, int readMs) {
  gAcceptWaitMs = acceptMs;
  gReadWaitMs = readMs;
}

int KxSession::AcceptWaitMs() { return gAcceptWaitMs; }
int KxSession::ReadWaitMs() { return gReadWaitMs; }
