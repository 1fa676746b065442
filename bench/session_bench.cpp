// Object fetches per second through the server session, against the
// reference peer on the loopback interface (started here, stopped at the
// end): one record by id, one object by name through the object cache
// emptied each time, and the members of a collection in batches of 16.
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "core/attr_record.h"
#include "core/collection.h"
#include "core/document.h"
#include "core/document_kinds.h"
#include "core/store_registry.h"
#include "net/dispatcher.h"
#include "net/kx_session.h"
#include "support/reference_peer.h"

namespace {

constexpr int kMembers = 256;

// The reference peer with many members in one collection, for the whole
// run.
bench_support::ReferencePeer& peer() {
  static bench_support::ReferencePeer p("session-bench", [](const std::string& dir) {
    std::ofstream(dir + "/root.rec") << "ObjectID=0x00000001\nType=Document\n"
                                        "DocumentType=collection\nName=rootcollection\n"
                                        "Title=en:Root\n";
    for (int i = 0; i < kMembers; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "/doc%03d.rec", i);
      std::ofstream(dir + name) << "ObjectID=0x" << std::hex << (0x100 + i) << std::dec
                                << "\nType=Document\nDocumentType=text\nName=doc" << i
                                << "\nTitle=en:Document " << i
                                << "\nKeyword=bench\nParent=0x00000001\nAuthor=system\n"
                                   "TimeCreated=96/05/01 12:00:00\n";
    }
  });
  return p;
}

// Records to the document and collection classes.
class Factory : public ObjectFactory {
 public:
  KXObject* createObject(const CString& record) override {
    const AttrRecord r(record);
    if (r.getAttribute("Type=") != "Document") return nullptr;
    if (r.getAttribute("DocumentType=") == "collection") return new Collection(record, nullptr);
    if (r.getAttribute("DocumentType=") == "text") return new TextDocument(record);
    return new Document(record);
  }
  Ref<Store> openStore(const CString&, const Ref<Store>& given) override { return given; }
};

Ref<KxSession> open(benchmark::State& state) {
  static Factory factory;
  SetObjectFactory(&factory);
  if (peer().port() == 0) {
    state.SkipWithError("the reference peer did not start");
    return Ref<KxSession>();
  }
  const std::string address = "korvex://127.0.0.1:" + std::to_string(peer().port()) + "/";
  Ref<KxSession> session(new KxSession(address.c_str()));
  if (session->getError() != 0) {
    state.SkipWithError("no session");
    return Ref<KxSession>();
  }
  return session;
}

void BM_RecordById(benchmark::State& state) {
  Ref<KxSession> session = open(state);
  if (!session) return;
  for (auto _ : state) {
    CString record = session->getRecord("0x00000105");
    benchmark::DoNotOptimize(record);
    if (record.IsEmpty()) state.SkipWithError("no record");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RecordById)->UseRealTime();

void BM_FetchObjectByName(benchmark::State& state) {
  Ref<KxSession> session = open(state);
  if (!session) return;
  for (auto _ : state) {
    ClearObjectCache();
    Ref<KXObject> object = fetchObject("doc77", Ref<Store>(session.get()));
    if (!object) state.SkipWithError("no object");
  }
  ClearObjectCache();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FetchObjectByName)->UseRealTime();

void BM_MembersInBatches(benchmark::State& state) {
  Ref<KxSession> session = open(state);
  if (!session) return;
  Ref<KXObject> root = fetchObject("0x00000001", Ref<Store>(session.get()));
  if (!root) {
    state.SkipWithError("no root");
    return;
  }
  std::int64_t objects = 0;
  for (auto _ : state) {
    ClearObjectCache();
    StoreEntry* entry = session->openRequest(root, kRequestMembers, nullptr, "");
    if (entry == nullptr) {
      state.SkipWithError("no members");
      break;
    }
    List* list = nullptr;
    while (entry->delivered < entry->announcedSize) list = session->getResults(entry, 16, list);
    objects += list ? list->count() : 0;
    DeleteObjectList(list);
    session->closeRequest(entry);
  }
  ClearObjectCache();
  state.SetItemsProcessed(objects);
}
BENCHMARK(BM_MembersInBatches)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
