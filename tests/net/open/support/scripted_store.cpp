#include "net/open/support/scripted_store.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "framework/user_break.h"
#include "core/kx_object.h"
#include "core/logbook.h"
#include "net/dispatcher.h"
#include "net/open_store.h"
#include "net/references.h"
#include "win/user.h"

namespace open_test {

namespace {

// A read transfer: how far the content has been handed out.
class ScriptedTransfer : public StoreEntry {
 public:
  size_t offset = 0;
};

// A member request: the ids still to be delivered.
class ScriptedHits : public StoreEntry {
 public:
  std::vector<std::string> ids;
};

}  // namespace

ScriptedStore::ScriptedStore(const char* address) : Store(address) {}

void ScriptedStore::fail(std::int32_t code, const char* text) {
  errorCode = code;
  errorText = text;
}

CString ScriptedStore::getRecord(const CString& name) {
  asked.emplace_back(name.c_str());
  busyWhileAsked.push_back(LongOperationFlag());
  const auto it = records.find(name.c_str());
  return it == records.end() ? CString() : CString(it->second.c_str());
}

StoreEntry* ScriptedStore::openRequest(const Ref<KXObject>& object, std::int32_t kind, List*,
                                       const CString&) {
  if (kind == kRequestMembers && object) {
    const auto it = members.find(object->getObjectIdText().c_str());
    if (it == members.end()) return nullptr;
    auto* hits = new ScriptedHits;
    hits->kind = kind;
    hits->object = object;
    hits->ids = it->second;
    hits->announcedSize = static_cast<std::int32_t>(hits->ids.size());
    return hits;
  }
  if (kind != kRequestRead) return nullptr;
  ++transfersOpened;
  auto* entry = new ScriptedTransfer;
  entry->kind = kind;
  entry->object = object;
  entry->announcedSize = static_cast<std::int32_t>(content.size());
  return entry;
}

bool ScriptedStore::closeRequest(StoreEntry* entry) {
  delete entry;
  if (errorAfterTransfer) fail(143, "Korvex protocol error:");
  return false;
}

std::int32_t ScriptedStore::readRequest(StoreEntry* entry, char* buffer, std::int32_t size) {
  auto* t = dynamic_cast<ScriptedTransfer*>(entry);
  if (!t) return -1;
  if (failAfter >= 0 && t->offset >= static_cast<size_t>(failAfter)) return -1;
  size_t n = content.size() - t->offset;
  if (n > static_cast<size_t>(size)) n = static_cast<size_t>(size);
  if (n > static_cast<size_t>(piece)) n = static_cast<size_t>(piece);
  if (failAfter >= 0 && t->offset + n > static_cast<size_t>(failAfter))
    n = static_cast<size_t>(failAfter) - t->offset;
  std::memcpy(buffer, content.data() + t->offset, n);
  t->offset += n;
  t->delivered += static_cast<std::int32_t>(n);
  return static_cast<std::int32_t>(n);
}

List* ScriptedStore::getResults(StoreEntry* entry, std::int32_t n, List* list) {
  auto* hits = dynamic_cast<ScriptedHits*>(entry);
  if (!hits) return nullptr;
  if (!list) list = NewObjectList();
  while (n-- > 0 && hits->delivered < static_cast<std::int32_t>(hits->ids.size())) {
    const std::string& id = hits->ids[static_cast<size_t>(hits->delivered++)];
    const Ref<KXObject> member = objectForRecord(CString(records[id].c_str()), Ref<Store>(this));
    if (member) AppendObject(*list, member);
  }
  return list;
}

void RegistryTest::SetUp() {
  Dispatcher::destroy();
  ClearAbortFlag();
  SetLongOperationFlag(0);
  win::ClearMessageBoxLog();
  ClearMarkedObjects();
  ClearObjectCache();
  ClearOpenStores();
  ResetDefaultScheme();
  previousFactory_ = InstallObjectFactory();
  InstallReferenceServices();
  savedLog_ = TheLogbook().FileName();
  TheLogbook().SetFileName(tmp_.file("tolm.log").c_str());
  // Temporary files (downloads, content) go to the test's directory.
  std::filesystem::create_directories(tmp_.path() / "temp");
  const std::string temp = (tmp_.path() / "temp").string() + "/";
  if (const char* v = std::getenv("TMPDIR")) {
    hadTmp_ = true;
    savedTmp_ = v;
  }
  if (const char* v = std::getenv("TEMP")) {
    hadTemp_ = true;
    savedTemp_ = v;
  }
  setenv("TMPDIR", temp.c_str(), 1);
  setenv("TEMP", temp.c_str(), 1);
}

void RegistryTest::TearDown() {
  ClearMarkedObjects();
  ClearObjectCache();
  ClearOpenStores();
  ResetDefaultScheme();
  SetSessionMaker(nullptr);
  SetLocalDatabaseMaker(nullptr);
  SetHistoryLookup(nullptr);
  SetMainWindowClosingTest(nullptr);
  SetDownloadWaitClock(nullptr);
  SetObjectFactory(previousFactory_);
  SetLongOperationFlag(0);
  TheLogbook().SetFileName(savedLog_.c_str());
  if (hadTmp_) setenv("TMPDIR", savedTmp_.c_str(), 1);
  else unsetenv("TMPDIR");
  if (hadTemp_) setenv("TEMP", savedTemp_.c_str(), 1);
  else unsetenv("TEMP");
  Dispatcher::destroy();
  ClearAbortFlag();
  win::ClearMessageBoxLog();
}

Ref<ScriptedStore> RegistryTest::AddScripted(const char* address) {
  Ref<ScriptedStore> store(new ScriptedStore(address));
  AddStoreFront(Ref<Store>(store.get()));
  return store;
}

std::vector<std::string> RegistryTest::LogLines() const {
  std::vector<std::string> lines;
  std::ifstream in(tmp_.file("tolm.log"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RegistryTest::BoxTexts() {
  std::vector<std::string> out;
  for (const win::MessageBoxRecord& r : win::MessageBoxLog()) out.push_back(r.text);
  return out;
}

std::vector<std::string> RegistryTest::TempFiles() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(testing_support::PrivateTempDir()))
    if (e.is_regular_file()) out.push_back(e.path().filename().string());
  return out;
}

}  // namespace open_test
