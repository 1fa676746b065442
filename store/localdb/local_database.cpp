#include "store/localdb/local_database.h"

#include <new>

#include "core/message_boxes.h"
#include "net/open_store.h"
#include "win/user.h"

using namespace localdb;

namespace {

LocalDatabase* gCurrent = nullptr;

std::string textOf(UINT id) {
  CString s;
  s.LoadString(id);
  return s.str();
}

bool endsWithNoCase(const std::string& text, const char* tail) {
  const std::string t = upperCase(tail);
  return text.size() >= t.size() && upperCase(text.substr(text.size() - t.size())) == t;
}

// The file a location names: the text after the scheme's ":", without the
// "//" that may stand before a path.
std::string fileOfLocation(const std::string& address) {
  size_t colon = address.find(':');
  std::string rest = colon == std::string::npos ? address : address.substr(colon + 1);
  if (rest.compare(0, 2, "//") == 0) rest = rest.substr(2);
  return rest;
}

Ref<Store> MakeLocalDatabase(const CString& location) {
  LocalDatabase* db = new (std::nothrow) LocalDatabase(location);
  return Ref<Store>(db);
}

}  // namespace

void InstallLocalDatabaseMaker() { SetLocalDatabaseMaker(&MakeLocalDatabase); }

LocalDatabase* LocalDatabase::current() { return gCurrent; }

LocalDatabase::LocalDatabase(const CString& addressText, int /*flag*/) : Store(addressText) {
  specialRoots_.push_back(SpecialRoot{4, "---- Local Database Root ----", "LOCAL-DB-ROOT", kFirstSpecialId});
  gCurrent = this;
  capabilities = kStoreCapsLocal;
  status_ = textOf(kStrNotConnected);
  if (!scheme.IsEmpty() && !isLocalScheme(scheme)) {
    setError(kStrWrongProtocol);
    return;
  }
  keyed_.reset(new (std::nothrow) KeyedStore);
  if (!keyed_) {
    setError(kStrCannotConnect);
    return;
  }
  login(user, password, 0);
  if (openDataSet(addressText)) {
    identified = true;
    user = "Orvello";
  }
}

LocalDatabase::~LocalDatabase() {
  if (gCurrent == this) gCurrent = nullptr;
}

bool LocalDatabase::isLocalScheme(const CString& s) { return upperCase(s.str()) == upperCase(kStoreName); }

bool LocalDatabase::openDataSet(const CString& addressText) {
  const std::string file = fileOfLocation(addressText.str());
  if (endsWithNoCase(file, ".ML")) {
    if (!file.empty() && keyed_->loadList(file) && !keyed_->dataSets().empty()) {
      listLoaded_ = true;
      defaultDataSet_ = keyed_->dataSets().front();
      status_ = textOf(kStrConnected);
      return true;
    }
    setError(kStrCannotConnect);
    return false;
  }
  const int number = file.empty() ? -1 : keyed_->openDataSet(file, kAddressDataSet);
  if (number < 0) {
    setError(kStrCannotConnect);
    return false;
  }
  defaultDataSet_ = number;
  listLoaded_ = false;
  status_ = textOf(kStrConnected);
  return true;
}

bool LocalDatabase::login(const CString& name, const CString& pass, std::int32_t) {
  user = name.IsEmpty() ? CString("anonymous") : name;
  password = pass;
  flag = false;
  return true;
}

bool LocalDatabase::lockObject(const Ref<KXObject>&) { return identified; }
bool LocalDatabase::unlockObject(const Ref<KXObject>&) { return identified; }

bool LocalDatabase::isRoot(const CString& name) {
  return name == formatId(kRootId).c_str() || upperCase(name.str()) == "KORVEXROOT";
}

int LocalDatabase::dataSetOf(const std::string& reference) const {
  if (!keyed_) return -1;
  const std::string name = dataSetNameOf(reference);
  if (name.empty()) return defaultDataSet_;
  return keyed_->dataSetNumber(name);
}

int LocalDatabase::dataSetOfObject(const Ref<KXObject>& object) const {
  return object ? dataSetOf(object->getObjectIdText().str()) : -1;
}

std::string LocalDatabase::referenceOf(const Ref<KXObject>& object) const {
  if (!object) return {};
  const Ref<Store>& s = object->getStore();
  if (!s || s.get() == this || isLocalScheme(s->getScheme())) return object->getObjectIdText().str();
  return object->getGOid().str();
}

bool LocalDatabase::differentDataSets(const std::string& a, const std::string& b) const {
  if (a.empty() || b.empty()) return false;
  const int da = dataSetOf(a);
  const int db = dataSetOf(b);
  return da < 0 || db < 0 || da != db;
}

bool LocalDatabase::handlesUrl(const CString& nameText) {
  const std::string u = upperCase(nameText.str());
  if (isRoot(nameText)) return true;
  if (isIdText(u) && u.find('@') != std::string::npos) return true;
  if (u.find(kNameSeparator) != std::string::npos) return true;
  if (u.find(' ') != std::string::npos) return false;
  const size_t colon = u.find(':');
  return colon != std::string::npos && u.substr(0, colon) == upperCase(kStoreName);
}

bool LocalDatabase::recordOfId(const std::string& name, std::string& out) {
  std::uint32_t id = 0;
  if (!parseId(name, id)) return false;
  const std::int32_t signedId = static_cast<std::int32_t>(id);
  if (signedId == kRootId) {
    out = storeRootRecord();
    return true;
  }
  if (isSpecialRootId(signedId)) {
    out = specialRootRecord(specialRootById(signedId));
    return true;
  }
  const int dataSet = dataSetOf(name);
  if (dataSet < 0) return false;
  DataItem item;
  item.kind = DataItem::kText;
  item.dataSet = static_cast<std::uint8_t>(dataSet);
  item.position = id;
  return readRecord(item, out, false);
}

CString LocalDatabase::getRecord(const CString& nameText) {
  const std::string name = nameText.str();
  const std::string u = upperCase(name);
  const size_t colon = u.find(':');
  if (colon != std::string::npos && u.substr(0, colon) != upperCase(kStoreName)) {
    ShowMessageId(kStrOnlyLocalUrl);
    return CString();
  }
  if (!keyed_) {
    ShowMessageId(kStrNoLocalDatabase);
    return CString();
  }
  std::string out;
  if (colon != std::string::npos) return CString(recordOfLocation(u, name));
  if (isIdText(u)) {
    recordOfId(name, out);
    return CString(out);
  }
  const std::string plain = stripStoreSuffix(u);
  if (isRoot(CString(plain))) return CString(storeRootRecord());
  if (isSpecialRootName(plain)) return CString(specialRootRecord(specialRootByName(plain)));
  DataItem item;
  if (findByName(name, item)) readRecord(item, out, false);
  return CString(out);
}

std::string LocalDatabase::recordOfLocation(const std::string& u, const std::string& name) {
  std::string rest;
  const std::string prefix = upperCase(kStoreName) + "://";
  if (u.compare(0, prefix.size(), prefix) == 0) {
    const std::string file = name.substr(prefix.size());
    if (endsWithNoCase(file, ".ML")) {
      keyed_->loadList(file);
    } else if (nextLocationNumber_ <= KeyedStore::kMaxDataSetNumber) {
      const int number = keyed_->openDataSet(file, nextLocationNumber_);
      if (number == nextLocationNumber_) ++nextLocationNumber_;
      if (number > 0 && defaultDataSet_ < 0) defaultDataSet_ = number;
    }
    listLoaded_ = true;
  } else {
    rest = u.substr(u.find(':') + 1);
  }
  if (rest.find_first_of(";:") != std::string::npos) return {};
  const size_t percent = rest.find('%');
  rest = percent == std::string::npos ? std::string() : rest.substr(percent + 1);
  if (isRoot(CString(rest))) return storeRootRecord();
  if (rest.empty() || isSpecialRootName(rest)) return specialRootRecord(specialRootByName(rest));
  if (rest == "HOME") return {};
  ShowMessageId(kStrSpecialUrl);
  return {};
}
