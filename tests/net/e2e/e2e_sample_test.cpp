// End to end over the sample web (data/sample) as the reference peer serves
// it: the whole tree walked through the session's hit lists, every body
// read over data connections in both forms, links, users and groups,
// searches, remote sources, and a password change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/fatal.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/dispatcher.h"
#include "net/kx_session.h"
#include "net/open_store.h"
#include "net/support/peer_process.h"
#include "win/user.h"

namespace e2e_test {
namespace {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

namespace fs = std::filesystem;

std::string SampleDir() { return testing_support::SourceDir() + "/data/sample"; }

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Every object of the sample by id: its record file's text, and its body
// file when it has one.
struct SampleObject {
  std::string record;
  fs::path body;
};
std::map<LONG, SampleObject> SampleObjects() {
  std::map<LONG, SampleObject> objects;
  for (const auto& entry : fs::recursive_directory_iterator(SampleDir())) {
    if (entry.path().extension() != ".rec") continue;
    SampleObject o;
    o.record = Bytes(entry.path());
    ObjectId id;
    if (!AttrRecord(o.record.c_str()).getObjectId(id)) continue;
    fs::path body = entry.path();
    body.replace_extension(".body");
    if (fs::exists(body)) o.body = body;
    objects[id.value()] = o;
  }
  return objects;
}

std::string Value(const std::string& record, const char* key) {
  return AttrRecord(record.c_str()).getAttribute(key).c_str();
}

struct ListDeleter {
  void operator()(List* l) const { DeleteObjectList(l); }
};
using OwnedList = std::unique_ptr<List, ListDeleter>;

class SampleEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatcher::destroy();
    ClearAbortFlag();
    win::ClearMessageBoxLog();
    previousFactory_ = InstallObjectFactory();
    ResetDefaultScheme();
    ClearObjectCache();
    ClearOpenStores();
    SetFatalExitHook([](int) { throw std::runtime_error("fatal error"); });
    PeerOptions options;
    options.content = SampleDir();
    peer_ = std::make_unique<PeerProcess>(options);
    ASSERT_TRUE(peer_->started()) << peer_->error();
  }
  void TearDown() override {
    ClearMarkedObjects();
    ClearObjectCache();
    ClearOpenStores();
    SetFatalExitHook(FatalExitHook());
    ResetDefaultScheme();
    SetObjectFactory(previousFactory_);
    Dispatcher::destroy();
    ClearAbortFlag();
    win::ClearMessageBoxLog();
  }

  // The session the program's opener makes for the address.
  KxSession* Login(const std::string& credentials, const char* options = "1:0:0") {
    const std::string address = "korvex://" + credentials + "@127.0.0.1:" +
                                std::to_string(peer_->port()) + ";" + options + "/";
    const Ref<Store> store = openStore(address.c_str(), Ref<Store>());
    auto* session = dynamic_cast<KxSession*>(store.get());
    EXPECT_NE(session, nullptr);
    EXPECT_EQ(session ? session->getError() : -1, 0);
    return session;
  }
  Ref<KXObject> Object(KxSession& s, LONG id) {
    return fetchObject(ObjectId(id).Format(), Ref<Store>(&s));
  }
  // Every hit of a request, fetched 16 at a time.
  std::vector<LONG> Hits(KxSession& s, const Ref<KXObject>& object, std::int32_t kind,
                         const CString& text = CString(), List* within = nullptr) {
    StoreEntry* entry = s.openRequest(object, kind, within, text);
    if (entry == nullptr) return {};
    OwnedList list;
    while (entry->delivered < entry->announcedSize)
      list.reset(s.getResults(entry, 16, list.release()));
    s.closeRequest(entry);
    std::vector<LONG> ids;
    if (list)
      for (ListElement* e = list->first(); e; e = e->next()) ids.push_back(ObjectOf(e)->getObjectId());
    return ids;
  }
  std::string Content(KxSession& s, const Ref<KXObject>& object) {
    StoreEntry* entry = s.openRequest(object, kRequestRead, nullptr, "");
    if (entry == nullptr) return "<not opened>";
    std::string bytes;
    char buffer[kTransferChunk];
    int n;
    while ((n = s.readRequest(entry, buffer, kTransferChunk)) > 0) bytes.append(buffer, n);
    s.closeRequest(entry);
    return n == 0 ? bytes : "<failed>";
  }

  ObjectFactory* previousFactory_ = nullptr;
  std::unique_ptr<PeerProcess> peer_;
};

TEST_F(SampleEndToEnd, TheWholeWebIsReachedAndEveryBodyReadInBothForms) {
  const std::map<LONG, SampleObject> sample = SampleObjects();
  std::set<LONG> expected;  // every document and collection below the root
  int withBodies = 0;
  for (const auto& [id, o] : sample) {
    if (Value(o.record, "Type=") != "Document" || id == 0x101) continue;
    expected.insert(id);
    withBodies += !o.body.empty();
  }
  ASSERT_GT(withBodies, 15);

  for (const char* form : {"1:0:0", "0:0:0"}) {
    KxSession* s = Login("alice:stargazer", form);
    ASSERT_NE(s, nullptr);
    std::set<LONG> reached;
    std::vector<LONG> queue = {0x101};
    int bodies = 0;
    while (!queue.empty()) {
      const LONG id = queue.back();
      queue.pop_back();
      for (LONG member : Hits(*s, Object(*s, id), kRequestMembers)) {
        if (!reached.insert(member).second) continue;
        const SampleObject& o = sample.at(member);
        if (Value(o.record, "DocumentType=") == "collection") {
          queue.push_back(member);
        } else if (!o.body.empty()) {
          EXPECT_EQ(Content(*s, Object(*s, member)), Bytes(o.body)) << std::hex << member;
          ++bodies;
        }
      }
    }
    EXPECT_EQ(reached, expected) << form;
    EXPECT_EQ(bodies, withBodies) << form;
    EXPECT_TRUE(win::MessageBoxLog().empty()) << form;
    ClearObjectCache();
    ClearOpenStores();
  }
}

TEST_F(SampleEndToEnd, AnchorsAndTheirDestinations) {
  const std::map<LONG, SampleObject> sample = SampleObjects();
  KxSession* s = Login("alice:stargazer");
  ASSERT_NE(s, nullptr);
  for (const auto& [id, o] : sample) {
    if (Value(o.record, "DocumentType=") != "text") continue;
    std::set<LONG> anchors;  // of the records: anchors whose Parent= is the document
    std::set<LONG> referrers;  // source anchors whose Dest= is the document
    for (const auto& [aid, a] : sample) {
      if (Value(a.record, "Type=") != "Anchor") continue;
      if (ObjectId(Value(a.record, "Parent=").c_str()).value() == id) anchors.insert(aid);
      if (ObjectId(Value(a.record, "Dest=").c_str()).value() == id) referrers.insert(aid);
    }
    const Ref<KXObject> document = Object(*s, id);
    const std::vector<LONG> got = Hits(*s, document, kRequestAnchors);
    EXPECT_EQ(std::set<LONG>(got.begin(), got.end()), anchors) << std::hex << id;
    const std::vector<LONG> to = Hits(*s, document, kRequestReferrers);
    EXPECT_EQ(std::set<LONG>(to.begin(), to.end()), referrers) << std::hex << id;
  }
  // Following links: the server names each destination.
  for (const auto& [aid, a] : sample) {
    if (Value(a.record, "TAnchor=") != "Src") continue;
    auto* anchor = dynamic_cast<Anchor*>(Object(*s, aid).get());
    ASSERT_NE(anchor, nullptr) << std::hex << aid;
    const Ref<KXObject> destination = anchor->getDestObject();
    const std::string dest = Value(a.record, "Dest=");
    if (dest.empty()) {
      EXPECT_FALSE(destination) << std::hex << aid;  // a hint leaves the server
    } else {
      ASSERT_TRUE(destination) << std::hex << aid;
      EXPECT_EQ(destination->getObjectId(), ObjectId(dest.c_str()).value()) << std::hex << aid;
    }
  }
  // The Earth's destination anchor is held by the moon texts' link.
  EXPECT_EQ(Hits(*s, Object(*s, 0x182), kRequestParents), (std::vector<LONG>{0x123}));
}

TEST_F(SampleEndToEnd, UsersGroupsAndPasswords) {
  KxSession* alice = Login("alice:stargazer");
  ASSERT_NE(alice, nullptr);
  EXPECT_STREQ(alice->getPath().c_str(), "0x00000109");
  EXPECT_EQ(Hits(*alice, Ref<KXObject>(), kRequestGroupsNamed, "astronomers"),
            (std::vector<LONG>{0x1a3}));
  EXPECT_EQ(Hits(*alice, Ref<KXObject>(), kRequestGroupMembers, "astronomers"),
            (std::vector<LONG>{0x1a1, 0x1a2}));
  EXPECT_EQ(Hits(*alice, Ref<KXObject>(), kRequestUsersNamed, "bob"),
            (std::vector<LONG>{0x1a2}));
  ClearObjectCache();
  ClearOpenStores();

  KxSession* bob = Login("bob:comet");
  ASSERT_NE(bob, nullptr);
  EXPECT_TRUE(bob->isIdentified());
  EXPECT_STREQ(bob->getPath().c_str(), "observers");
  EXPECT_TRUE(bob->changePassword("comet", "meteor"));
  EXPECT_TRUE(bob->login("bob", "meteor", 1));
  EXPECT_TRUE(bob->login("bob", "telescope", 1));  // the other password stays
  EXPECT_FALSE(bob->login("bob", "comet", 1));
}

TEST_F(SampleEndToEnd, Searches) {
  KxSession* s = Login("alice:stargazer");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(Hits(*s, Ref<KXObject>(), kRequestKeyQuery, "Keyword=planet"),
            (std::vector<LONG>{0x121, 0x122, 0x123, 0x124, 0x125}));
  OwnedList within(NewObjectList());
  AppendObject(*within, Object(*s, 0x103));  // the inner planets
  EXPECT_EQ(Hits(*s, Ref<KXObject>(), kRequestKeyQuery, "Keyword=planet", within.get()),
            (std::vector<LONG>{0x121, 0x122, 0x123}));

  ClearObjectCache();
  StoreEntry* search = s->openRequest(Ref<KXObject>(), kRequestFullText, nullptr, "moon");
  ASSERT_NE(search, nullptr);
  OwnedList hits(s->getResults(search, -1, nullptr));
  s->closeRequest(search);
  ASSERT_GE(hits->count(), 2);
  int previous = 1001;
  for (ListElement* e = hits->first(); e; e = e->next()) {
    const KXObject* o = ObjectOf(e);
    const int score = std::atoi(o->getAttribute("Score=").c_str());
    EXPECT_LE(score, previous);  // best first
    previous = score;
    EXPECT_FALSE(o->getAttribute("Positions=").IsEmpty());
  }
  EXPECT_EQ(std::atoi(ObjectOf(hits->first())->getAttribute("Score=").c_str()), 1000);
}

TEST_F(SampleEndToEnd, RemoteSources) {
  KxSession* s = Login("alice:stargazer");
  ASSERT_NE(s, nullptr);
  const std::string remote = SampleDir() + "/remote/";
  EXPECT_EQ(Content(*s, Object(*s, 0x160)), Bytes(remote + "www/astronomy-page.body"));

  const Ref<KXObject> gopher = Object(*s, 0x161);
  StoreEntry* entry = s->openRequest(gopher, kRequestMembers, nullptr, "");
  ASSERT_NE(entry, nullptr);
  OwnedList menu(s->getResults(entry, -1, nullptr));
  s->closeRequest(entry);
  ASSERT_EQ(menu->count(), 3);
  // The text entry of the menu is read through the server too.
  const Ref<KXObject> text(ObjectOf(menu->first()));
  EXPECT_STREQ(text->getAttribute("Path=").c_str(), "/0/astronomy/planets.txt");
  EXPECT_EQ(Content(*s, text), Bytes(remote + "gopher/planets-text.body"));

  entry = s->openRequest(Object(*s, 0x162), kRequestMembers, nullptr, "");
  ASSERT_NE(entry, nullptr);
  OwnedList directory(s->getResults(entry, -1, nullptr));
  s->closeRequest(entry);
  ASSERT_EQ(directory->count(), 2);
  EXPECT_EQ(Content(*s, Ref<KXObject>(ObjectOf(directory->first()))),
            Bytes(remote + "ftp/readme.body"));
  // The telnet session has no content: the server refuses, the user is told.
  EXPECT_EQ(Content(*s, Object(*s, 0x163)), "<not opened>");
  EXPECT_FALSE(win::MessageBoxLog().empty());
}

}  // namespace
}  // namespace e2e_test
