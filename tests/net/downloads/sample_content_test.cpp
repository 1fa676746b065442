// The sample web (data/sample) as the reference peer serves it: the users
// log in with their passwords, the root collection and its nested
// collections hold what they should, anchors lie on the phrases they name,
// and every kind of content downloads byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "core/collection.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/open/support/scripted_store.h"
#include "net/open_store.h"
#include "net/references.h"
#include "net/support/peer_process.h"
#include "support/temp_dir.h"

namespace open_test {
namespace {

using testing_support::PeerOptions;
using testing_support::PeerProcess;
using testing_support::TempDir;

std::string Sample(const std::string& rel) {
  return testing_support::SourceDir() + "/data/sample/" + rel;
}

std::string HostPath(const CString& windowsName) {
  std::string s = windowsName.c_str();
  if (s.size() > 2 && s[1] == ':') s = s.substr(2);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

class SampleContentTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    PeerOptions options;
    options.content = Sample("");
    peer_ = std::make_unique<PeerProcess>(options);
    ASSERT_TRUE(peer_->started()) << peer_->error();
  }
  void TearDown() override {
    ClearObjectCache();
    ClearOpenStores();
    RegistryTest::TearDown();
  }
  Ref<Store> Login(const std::string& credentials) {
    const std::string address =
        "korvex://" + credentials + "@127.0.0.1:" + std::to_string(peer_->port()) + "/";
    return openStore(address.c_str(), Ref<Store>());
  }
  static std::set<std::string> MemberNames(const Ref<KXObject>& collection) {
    std::set<std::string> names;
    List* members = collection->getMembers(nullptr, 0);
    for (ListElement* e = members ? members->first() : nullptr; e; e = e->next())
      names.insert(ObjectOf(e)->getAttribute("Name=").c_str());
    DeleteObjectList(members);
    return names;
  }
  std::unique_ptr<PeerProcess> peer_;
};

TEST_F(SampleContentTest, UsersLogInWithTheirPasswords) {
  const Ref<Store> s = Login("alice:stargazer");
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->isIdentified());
  EXPECT_EQ(s->getUser(), "alice");
  EXPECT_EQ(s->getPath(), "0x00000109");  // her home, the observers' corner
  // Bob's second password, and a wrong one.
  EXPECT_TRUE(s->login("bob", "comet", 0));
  EXPECT_EQ(s->getUser(), "bob");
  EXPECT_FALSE(s->login("alice", "wrong", 0));
}

TEST_F(SampleContentTest, CollectionsClustersAndTitles) {
  ASSERT_TRUE(Login("alice:stargazer"));
  const Ref<KXObject> root = fetchObject("rootcollection", Ref<Store>());
  ASSERT_TRUE(root);
  EXPECT_EQ(root->getClassCode(), kClassCollection);
  EXPECT_EQ(MemberNames(root),
            (std::set<std::string>{"planets", "moon", "gallery", "media", "elsewhere",
                                   "observers", "welcome"}));
  const Ref<KXObject> planets = fetchObject("planets", Ref<Store>());
  ASSERT_TRUE(planets);
  EXPECT_EQ(MemberNames(planets), (std::set<std::string>{"inner-planets", "outer-planets", "moon"}));
  const Ref<KXObject> outer = fetchObject("outer-planets", Ref<Store>());
  ASSERT_TRUE(outer);
  // An English and a German title.
  EXPECT_EQ(outer->getTitles().count(), 2);
  const Ref<KXObject> moon = fetchObject("moon", Ref<Store>());
  ASSERT_TRUE(moon);
  EXPECT_EQ(moon->getClassCode(), kClassCluster);
  EXPECT_EQ(MemberNames(moon),
            (std::set<std::string>{"moon-en", "moon-ge", "moon.gif", "signal.wav"}));
  const Ref<KXObject> gallery = fetchObject("gallery", Ref<Store>());
  ASSERT_TRUE(gallery);
  EXPECT_EQ(MemberNames(gallery), (std::set<std::string>{"saturn.bmp", "jupiter.gif", "nebula.tif",
                                                          "comet.pcx", "star.xbm", "orbit.eps"}));
}

TEST_F(SampleContentTest, AnchorsLieOnThePhrasesTheyName) {
  ASSERT_TRUE(Login("alice:stargazer"));
  const Ref<KXObject> welcome = fetchObject("welcome", Ref<Store>());
  ASSERT_TRUE(welcome);
  auto* document = dynamic_cast<Document*>(welcome.get());
  ASSERT_NE(document, nullptr);
  const List* links = document->getLinkAnchors();
  ASSERT_NE(links, nullptr);
  EXPECT_EQ(links->count(), 6);
  const std::string body = TempDir::read(Sample("documents/welcome.html.body"));
  for (ListElement* e = links->first(); e; e = e->next()) {
    KXObject* a = ObjectOf(e);
    const CString position = a->getAttribute("Position=");
    const LONG start = ObjectId::Parse(position.c_str());
    const LONG end = ObjectId::Parse(position.Mid(position.Find(' ') + 1).c_str());
    ASSERT_TRUE(start > 0 && end > start && end <= static_cast<LONG>(body.size())) << position.c_str();
    // Each lies on plain text, not inside a tag.
    const std::string phrase = body.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    EXPECT_EQ(phrase.find('<'), std::string::npos) << phrase;
    // And leads to an object of the web.
    EXPECT_TRUE(fetchObject(a->getAttribute("Dest="), Ref<Store>())) << phrase;
  }
}

TEST_F(SampleContentTest, EveryKindOfContentDownloads) {
  ASSERT_TRUE(Login("alice:stargazer"));
  struct Case {
    const char* name;
    const char* file;
    const char* extension;
  };
  const Case cases[] = {
      {"welcome", "documents/welcome.html.body", ".txt"},
      {"mercury", "documents/mercury.ktf.body", ".txt"},
      {"saturn.bmp", "gallery/saturn.bmp.body", ".img"},
      {"nebula.tif", "gallery/nebula.tif.body", ".img"},
      {"orbit.eps", "gallery/orbit.eps.body", ".img"},
      {"signal.wav", "media/signal.wav.body", ".snd"},
      {"orbit.avi", "media/orbit.avi.body", ".mov"},
  };
  for (const Case& c : cases) {
    const Ref<KXObject> o = fetchObject(c.name, Ref<Store>());
    ASSERT_TRUE(o) << c.name;
    CString file;
    ASSERT_EQ(DownloadToFile(o->getObjectIdText(), file), 1) << c.name;
    EXPECT_EQ(std::filesystem::path(HostPath(file)).extension(), c.extension) << c.name;
    EXPECT_TRUE(TempDir::read(HostPath(file)) == TempDir::read(Sample(c.file))) << c.name;
  }
}

TEST_F(SampleContentTest, RemoteSourcesBecomeRemoteDocuments) {
  ASSERT_TRUE(Login("alice:stargazer"));
  const Ref<KXObject> elsewhere = fetchObject("elsewhere", Ref<Store>());
  ASSERT_TRUE(elsewhere);
  List* members = elsewhere->getMembers(nullptr, 0);
  ASSERT_NE(members, nullptr);
  std::set<int> classes;
  Ref<KXObject> gopher;
  for (ListElement* e = members->first(); e; e = e->next()) {
    classes.insert(ObjectOf(e)->getClassCode());
    if (ObjectOf(e)->getAttribute("Protocol=") == "gopher") gopher = ObjectOf(e);
  }
  DeleteObjectList(members);
  // A web page (text), a gopher menu and an FTP directory (collections), a
  // telnet session.
  EXPECT_EQ(classes, (std::set<int>{kClassText, kClassCollection, kClassTelnetSession}));
  ASSERT_TRUE(gopher);
  // The gopher menu's entries come from the peer's remote description.
  List* entries = gopher->getMembers(nullptr, 0);
  ASSERT_NE(entries, nullptr);
  EXPECT_EQ(entries->count(), 3);
  DeleteObjectList(entries);
}

}  // namespace
}  // namespace open_test
