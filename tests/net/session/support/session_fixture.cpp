#include "session_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/user_break.h"
#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/cluster.h"
#include "core/collection.h"
#include "core/document.h"
#include "core/document_kinds.h"
#include "core/fatal.h"
#include "core/user_group.h"
#include "net/dispatcher.h"
#include "win/user.h"

namespace session_test {

KXObject* TestObjectFactory::createObject(const CString& record) {
  const AttrRecord r(record);
  const CString type = r.getAttribute("Type=");
  if (type != "Document") {
    if (type == "Anchor") return new Anchor(record);
    const CString ttype = r.getAttribute("TType=");
    if (ttype == "User") return new User(record);
    if (ttype == "Group") return new Group(record);
    return nullptr;
  }
  const CString documentType = r.getAttribute("DocumentType=");
  if (documentType == "collection") {
    if (r.getAttribute("CollectionType=") == "Cluster") return new Cluster(record, nullptr);
    return new Collection(record, nullptr);
  }
  if (documentType == "text") return new TextDocument(record);
  if (documentType == "Image") return new ImageDocument(record);
  if (documentType == "CGI") return new CGIDocument(record);
  if (documentType == "Remote") return new RemoteDocument(record);
  return new Document(record);
}

Ref<Store> TestObjectFactory::openStore(const CString&, const Ref<Store>& given) {
  if (given) return given;
  return FindOpenStore(kServerScheme);
}

namespace {

void ResetRegisters() {
  ClearMarkedObjects();
  ClearObjectCache();
  ClearOpenStores();
}

}  // namespace

void SessionTest::SetUp() {
  unsetenv("KXCOMPRESS");
  unsetenv("KXDISTRIBUTED");
  Dispatcher::destroy();
  ClearAbortFlag();
  win::ClearMessageBoxLog();
  previousFactory_ = SetObjectFactory(&factory_);
  ResetRegisters();
  KxSession::SetDataWaits(KxSession::kDefaultAcceptWaitMs, KxSession::kDefaultReadWaitMs);
  SetFatalExitHook([](int status) { throw FatalEnd{status}; });
}

void SessionTest::TearDown() {
  // Objects and stores go before the peer, so no session sees it close.
  ResetRegisters();
  SetFatalExitHook(FatalExitHook());
  KxSession::SetDataWaits(KxSession::kDefaultAcceptWaitMs, KxSession::kDefaultReadWaitMs);
  SetObjectFactory(previousFactory_);
  Dispatcher::destroy();
  ClearAbortFlag();
  win::ClearMessageBoxLog();
}

PeerProcess& SessionTest::StartPeer(const PeerOptions& options) {
  peer_ = std::make_unique<PeerProcess>(options);
  EXPECT_TRUE(peer_->started()) << peer_->error();
  return *peer_;
}

std::string SessionTest::Address(const std::string& credentials,
                                 const std::string& options) const {
  std::string a = "korvex://";
  if (!credentials.empty()) a += credentials + "@";
  a += "127.0.0.1:" + std::to_string(peer_ ? peer_->port() : 0);
  if (!options.empty()) a += ";" + options;
  return a + "/";
}

Ref<KxSession> SessionTest::Open(const std::string& address) {
  return Ref<KxSession>(new KxSession(CString(address.c_str())));
}

std::vector<std::string> SessionTest::BoxTexts() {
  std::vector<std::string> out;
  for (const win::MessageBoxRecord& r : win::MessageBoxLog()) out.push_back(r.text);
  return out;
}

std::vector<LONG> IdsOf(const List* list) {
  std::vector<LONG> ids;
  if (list == nullptr) return ids;
  for (ListElement* e = list->first(); e != nullptr; e = e->next())
    if (const KXObject* o = ObjectOf(e)) ids.push_back(o->getObjectId());
  return ids;
}

std::string ContentFile(const std::string& relative) {
  std::ifstream in(testing_support::SourceDir() + "/tests/peer/content/" + relative,
                   std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace session_test
