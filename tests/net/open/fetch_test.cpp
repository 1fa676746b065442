// Opening a server session by address and fetching objects by id, name
// and URL through the object cache, against the reference peer.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/document.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/connection/peer_log.h"
#include "net/kx_session.h"
#include "net/open/support/scripted_store.h"
#include "net/open_store.h"
#include "net/support/peer_process.h"

namespace open_test {
namespace {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

class FetchTest : public RegistryTest {
 protected:
  PeerProcess& Start(const PeerOptions& options = PeerOptions()) {
    peer_ = std::make_unique<PeerProcess>(options);
    EXPECT_TRUE(peer_->started()) << peer_->error();
    return *peer_;
  }
  std::string Address(const std::string& credentials, const std::string& options = "") const {
    std::string a = "korvex://" + credentials + "@127.0.0.1:" + std::to_string(peer_->port());
    if (!options.empty()) a += ";" + options;
    return a + "/";
  }
  // Record requests (code 7) the peer got for an id.
  int RecordRequests(const char* id) const {
    int n = 0;
    for (const net_test::LogEvent& e : net_test::ParseLog(peer_->log()))
      if (e.event == "req" && e.get("code") == "7" && e.get("id") == id) ++n;
    return n;
  }
  // Ends the stores before the peer goes.
  void TearDown() override {
    ClearObjectCache();
    ClearOpenStores();
    RegistryTest::TearDown();
  }

  std::unique_ptr<PeerProcess> peer_;
};

TEST_F(FetchTest, AddressWithUserPasswordPortAndOptions) {
  Start();
  const Ref<Store> s = openStore(Address("alice:wonder", "0:0:0").c_str(), Ref<Store>());
  ASSERT_TRUE(s);
  EXPECT_EQ(s->getScheme(), "korvex");
  EXPECT_EQ(s->getError(), 0);
  EXPECT_EQ(s->getUser(), "alice");
  EXPECT_TRUE(s->isIdentified());
  auto* session = dynamic_cast<KxSession*>(s.get());
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->option(0), 0);
  EXPECT_EQ(session->option(1), 0);
  EXPECT_EQ(session->option(2), 0);
  EXPECT_EQ(FindOpenStore(kServerScheme).get(), s.get());
  // The text form was asked for (option a = 0).
  bool textForm = false;
  for (const net_test::LogEvent& e : net_test::ParseLog(peer_->log()))
    if (e.event == "form" && e.get("form") == "text") textForm = true;
  EXPECT_TRUE(textForm) << peer_->log();
  // Another server address finds the session that is open.
  EXPECT_EQ(openStore(Address("bob:builder").c_str(), Ref<Store>()).get(), s.get());
}

TEST_F(FetchTest, ASessionThatFailsIsShownAndNotKept) {
  PeerOptions options;
  options.misbehave = {"refuse-handshake"};
  Start(options);
  EXPECT_FALSE(openStore(Address("alice:wonder").c_str(), Ref<Store>()));
  EXPECT_EQ(OpenStores().count(), 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0].rfind("Korvex protocol error:", 0), 0u) << BoxTexts()[0];
}

TEST_F(FetchTest, ObjectsByIdNameAndUrlThroughTheCache) {
  Start();
  ASSERT_TRUE(openStore(Address("alice:wonder").c_str(), Ref<Store>()));

  const Ref<KXObject> intro = fetchObject("0x00000020", Ref<Store>());
  ASSERT_TRUE(intro);
  EXPECT_EQ(intro->getClassCode(), kClassText);
  EXPECT_EQ(intro->getStore()->getScheme(), "korvex");
  const std::int32_t firstStamp = intro->getTimeStamp();
  // Asked again: from the cache, the store is not asked.
  EXPECT_EQ(fetchObject("0x00000020", Ref<Store>()).get(), intro.get());
  EXPECT_EQ(RecordRequests("0x00000020"), 1);
  EXPECT_GE(intro->getTimeStamp(), firstStamp);
  // By name: the store answers with the same object's record, and the
  // object cached under its identifier wins.
  EXPECT_EQ(fetchObject("intro", Ref<Store>()).get(), intro.get());

  // By a korvex URL of this server.
  const std::string url = "korvex://127.0.0.1:" + std::to_string(peer_->port()) + "/0x00000021";
  const Ref<KXObject> notes = fetchObject(url.c_str(), Ref<Store>());
  ASSERT_TRUE(notes);
  EXPECT_EQ(notes->getObjectIdText(), "0x00000021");
  EXPECT_EQ(fetchObject("0x00000021", Ref<Store>()).get(), notes.get());

  const Ref<KXObject> root = fetchObject("rootcollection", Ref<Store>());
  ASSERT_TRUE(root);
  EXPECT_EQ(root->getClassCode(), kClassCollection);
  const Ref<KXObject> tour = fetchObject("0x00000012", Ref<Store>());
  ASSERT_TRUE(tour);
  EXPECT_EQ(tour->getClassCode(), kClassCluster);
  const Ref<KXObject> alice = fetchObject("0x00000003", Ref<Store>());
  ASSERT_TRUE(alice);
  EXPECT_EQ(alice->getClassCode(), kClassUser);
  const Ref<KXObject> anchor = fetchObject("0x00000030", Ref<Store>());
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->getClassCode(), kClassAnchor);

  EXPECT_FALSE(fetchObject("no-such-object", Ref<Store>()));
  EXPECT_FALSE(fetchObject("0x00000999", Ref<Store>()));

  // A gopher address becomes a remote pseudo collection, known by it.
  const Ref<KXObject> menu = fetchObject("gopher://gopher.example:70/1/", Ref<Store>());
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->getClassCode(), kClassCollection);
  auto* d = dynamic_cast<Document*>(menu.get());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->getRemoteDocType(), "collection");
  EXPECT_EQ(menu->getIdentifier(), "gopher://gopher.example:70/1/");
  EXPECT_EQ(fetchObject("gopher://gopher.example:70/1/", Ref<Store>()).get(), menu.get());
}

TEST_F(FetchTest, ObjectsFromRecordsInLists) {
  Start();
  const Ref<Store> s = openStore(Address("alice:wonder").c_str(), Ref<Store>());
  ASSERT_TRUE(s);
  const Ref<KXObject> music = fetchObject("music", Ref<Store>());
  ASSERT_TRUE(music);
  List* members = music->getMembers(nullptr, 0);
  ASSERT_NE(members, nullptr);
  bool sawIntro = false;
  for (ListElement* e = members->first(); e; e = e->next()) {
    KXObject* o = ObjectOf(e);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->getStore().get(), s.get());
    if (o->getObjectIdText() == "0x00000020") {
      sawIntro = true;
      // The member is the cached object.
      EXPECT_EQ(fetchObject("0x00000020", Ref<Store>()).get(), o);
    }
  }
  EXPECT_TRUE(sawIntro);
  DeleteObjectList(members);
}

}  // namespace
}  // namespace open_test
