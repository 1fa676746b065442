#include "core/store.h"

#include <cstdlib>

#include "core/kx_object.h"
#include "core/list.h"
#include "core/object_id.h"

StoreEntry::StoreEntry() = default;
// Out of line: releasing the object handle needs the complete KXObject.
StoreEntry::~StoreEntry() = default;

namespace {

// atoi without its undefined overflow: leading blanks, an optional sign and
// the decimal digits that follow; values beyond 32 bits are clamped.
std::int32_t DecimalValue(const CString& text) {
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

namespace {
int gLiveStores = 0;
}  // namespace

int Store::LiveCount() { return gLiveStores; }

Store::Store(const CString& addressText) : address(addressText) {
  ++gLiveStores;
  parseAddress();
}

Store::~Store() { --gLiveStores; }

// scheme ":" then either a bare path (no scheme, or korvex without any "/")
// or "//" [user [":" password] "@"] host [":" port] ["/" path] ["#" fragment].
void Store::parseAddress() {
  const int colon = address.Find(':');
  if (colon > 0) scheme = address.Left(colon);

  if (scheme.IsEmpty() || (scheme == kServerScheme && address.Find('/') < 0)) {
    path = colon < 0 ? address : address.Mid(colon + 1);
    const int semicolon = path.Find(';');
    if (semicolon >= 0) path = path.Left(semicolon);
    return;
  }

  // The three characters after the colon stand for "//" and are not checked.
  const int hostStart = colon + 3;
  CString hostPart;
  if (hostStart < address.GetLength()) {
    const int slash = address.Find('/', hostStart);
    if (slash < 0) {
      hostPart = address.Mid(hostStart);
    } else {
      hostPart = address.Mid(hostStart, slash - hostStart);
      const int hash = address.Find('#', slash);
      path = hash < 0 ? address.Mid(slash) : address.Mid(slash, hash - slash);
    }
  }

  const int at = hostPart.Find('@');
  if (at >= 0) {
    user = hostPart.Left(at);
    hostPart = hostPart.Mid(at + 1);
    const int userColon = user.Find(':');
    if (userColon >= 0) {
      password = user.Mid(userColon + 1);
      user = user.Left(userColon);
    }
  }

  const int portColon = hostPart.Find(':');
  if (portColon >= 0) {
    port = DecimalValue(hostPart.Mid(portColon + 1));
    host = hostPart.Left(portColon);
  } else {
    port = 0;
    host = hostPart;
  }
}

CString Store::getRecord(const CString&) { return CString(); }
bool Store::probeName(const CString&, std::int32_t) { return false; }
CString Store::getScheme() { return scheme; }
CString Store::getHost() { return host; }
std::int32_t Store::getPort() { return port; }
CString Store::getPath() { return path; }
bool Store::getFlag() { return flag; }
CString Store::getUser() { return user; }
CString Store::getPassword() { return password; }
CString Store::getAddress() { return address; }
CString Store::getServerInfo() { return serverInfo; }

bool Store::setUser(const CString& name) {
  user = name;
  return true;
}

bool Store::setPassword(const CString& text) {
  password = text;
  return true;
}

void Store::setError(std::int32_t id) {
  errorCode = id;
  errorText.Empty();
  if (id > 0 && !errorText.LoadString(static_cast<UINT>(id))) errorText.Empty();
}

std::int32_t Store::getError() { return errorCode; }
CString Store::getErrorText() { return errorText; }
std::int32_t Store::getCapabilities() { return capabilities; }
bool Store::handlesUrl(const CString&) { return false; }
bool Store::login(const CString&, const CString&, std::int32_t) { return false; }
bool Store::isIdentified() { return identified; }
bool Store::changePassword(const CString&, const CString&) { return false; }

StoreEntry* Store::openRequest(const Ref<KXObject>&, std::int32_t, List*, const CString&) {
  return nullptr;
}

bool Store::closeRequest(StoreEntry*) { return false; }
std::int32_t Store::readRequest(StoreEntry*, char*, std::int32_t) { return -1; }
std::int32_t Store::writeRequest(StoreEntry*, const char*, std::int32_t) { return -1; }
List* Store::getResults(StoreEntry*, std::int32_t, List*) { return nullptr; }
bool Store::testPair(const CString&, const CString&) { return false; }
bool Store::insertObject(const Ref<KXObject>&, const Ref<KXObject>&, std::int32_t) { return false; }
bool Store::deleteObject(const Ref<KXObject>&) { return false; }

bool Store::moveObject(const Ref<KXObject>&, const Ref<KXObject>&, const Ref<KXObject>&) {
  return false;
}

bool Store::addToCollection(const Ref<KXObject>&, const Ref<KXObject>&) { return false; }
bool Store::removeFromCollection(const Ref<KXObject>&, const Ref<KXObject>&) { return false; }
bool Store::lockObject(const Ref<KXObject>&) { return false; }
bool Store::unlockObject(const Ref<KXObject>&) { return false; }

bool Store::modifyAttributes(const Ref<KXObject>&, const CString&, const CString&) {
  return false;
}

bool Store::isRoot(const CString& name) {
  return name == ObjectId(0).Format() || name == "korvexroot";
}
