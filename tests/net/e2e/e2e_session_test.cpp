// End to end over the reference peer's content: the program's own object
// factory opens the session by address, the object model browses, follows
// links, loads and downloads content and changes objects, all through the
// session and the peer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/anchor.h"
#include "core/collection.h"
#include "core/document.h"
#include "core/fatal.h"
#include "core/kx_object.h"
#include "core/store_registry.h"
#include "net/connection/peer_log.h"
#include "net/dispatcher.h"
#include "net/kx_session.h"
#include "net/open_store.h"
#include "net/references.h"
#include "net/support/peer_process.h"
#include "support/temp_dir.h"
#include "win/path_map.h"
#include "win/user.h"

namespace e2e_test {
namespace {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

// File names of the platform layer may be in Windows form.
std::string FileBytes(const std::string& path) {
  std::ifstream in(win::HostPath(path), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string Body(const std::string& relative) {
  return FileBytes(testing_support::SourceDir() + "/tests/peer/content/" + relative);
}

std::vector<LONG> Ids(const List* list) {
  std::vector<LONG> ids;
  if (list == nullptr) return ids;
  for (ListElement* e = list->first(); e; e = e->next())
    if (const KXObject* o = ObjectOf(e)) ids.push_back(o->getObjectId());
  return ids;
}

struct ListDeleter {
  void operator()(List* l) const { DeleteObjectList(l); }
};
using OwnedList = std::unique_ptr<List, ListDeleter>;

class SessionEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatcher::destroy();
    ClearAbortFlag();
    win::ClearMessageBoxLog();
    previousFactory_ = InstallObjectFactory();
    ResetDefaultScheme();
    ClearObjectCache();
    ClearOpenStores();
    // Temporary content files go to a directory of the test's own.
    for (const char* var : {"TEMP", "TMPDIR", "TMP"}) {
      const char* old = std::getenv(var);
      savedEnv_.push_back({var, old ? old : "", old != nullptr});
      setenv(var, temp_.path().c_str(), 1);
    }
    SetFatalExitHook([](int) { throw std::runtime_error("fatal error"); });
  }
  void TearDown() override {
    ClearMarkedObjects();
    ClearObjectCache();
    ClearOpenStores();
    SetFatalExitHook(FatalExitHook());
    ResetDefaultScheme();
    SetObjectFactory(previousFactory_);
    for (const SavedEnv& e : savedEnv_) {
      if (e.present) setenv(e.name.c_str(), e.value.c_str(), 1);
      else unsetenv(e.name.c_str());
    }
    Dispatcher::destroy();
    ClearAbortFlag();
    win::ClearMessageBoxLog();
  }

  void Start(const PeerOptions& options = PeerOptions()) {
    peer_ = std::make_unique<PeerProcess>(options);
    ASSERT_TRUE(peer_->started()) << peer_->error();
  }
  std::string Url(const std::string& object, const std::string& credentials = "alice:wonder") {
    return "korvex://" + credentials + "@127.0.0.1:" + std::to_string(peer_->port()) + "/" +
           object;
  }
  // The object by name; the first name opens the session.
  Ref<KXObject> Fetch(const std::string& name) { return fetchObject(name.c_str(), Ref<Store>()); }
  KxSession* Session() { return dynamic_cast<KxSession*>(FindOpenStore(kServerScheme).get()); }
  // Files left in the temporary directory.
  int TempFiles() const {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(testing_support::PrivateTempDir())) {
      (void)entry;
      ++n;
    }
    return n;
  }

  struct SavedEnv {
    std::string name;
    std::string value;
    bool present;
  };
  testing_support::TempDir temp_;
  std::vector<SavedEnv> savedEnv_;
  ObjectFactory* previousFactory_ = nullptr;
  std::unique_ptr<PeerProcess> peer_;
};

TEST_F(SessionEndToEnd, BrowsingFromTheHomeCollection) {
  Start();
  const Ref<KXObject> home = Fetch(Url(""));
  ASSERT_TRUE(home);
  ASSERT_NE(Session(), nullptr);
  EXPECT_EQ(home->getObjectId(), 0x10);
  EXPECT_EQ(home->getClassCode(), kClassCollection);
  EXPECT_EQ(Session()->getUser(), "alice");

  auto* collection = dynamic_cast<Collection*>(home.get());
  ASSERT_NE(collection, nullptr);
  EXPECT_EQ(Ids(collection->getChildren(nullptr, 0)), (std::vector<LONG>{0x21}));

  // Names without a scheme go to the open session.
  const Ref<KXObject> music = Fetch("music");
  ASSERT_TRUE(music);
  auto* musicCollection = dynamic_cast<Collection*>(music.get());
  ASSERT_NE(musicCollection, nullptr);
  const List* members = musicCollection->getChildren(nullptr, 0);
  EXPECT_EQ(Ids(members), (std::vector<LONG>{0x20, 0x21, 0x40, 0x41, 0x50}));
  std::vector<int> classes;
  for (ListElement* e = members->first(); e; e = e->next()) classes.push_back(ObjectOf(e)->getClassCode());
  EXPECT_EQ(classes, (std::vector<int>{kClassText, kClassText, kClassCollection, kClassCGI,
                                       kClassText}));

  const Ref<KXObject> notes = Fetch("0x00000021");
  OwnedList parents(notes->getParents(nullptr, 0));
  EXPECT_EQ(Ids(parents.get()), (std::vector<LONG>{0x10, 0x11}));
  // Every object came through the one session.
  EXPECT_EQ(OpenStores().count(), 1);
  EXPECT_EQ(notes->getStore().get(), static_cast<Store*>(Session()));
}

TEST_F(SessionEndToEnd, FollowingLinks) {
  Start();
  ASSERT_TRUE(Fetch(Url("")));
  const Ref<KXObject> intro = Fetch("intro");
  auto* document = dynamic_cast<Document*>(intro.get());
  ASSERT_NE(document, nullptr);
  const List* links = document->getLinkAnchors();
  EXPECT_EQ(Ids(links), (std::vector<LONG>{0x30, 0x32, 0x33}));

  auto* anchor = dynamic_cast<Anchor*>(Fetch("0x00000030").get());
  ASSERT_NE(anchor, nullptr);
  const Ref<KXObject> destination = anchor->getDestObject();
  ASSERT_TRUE(destination);
  EXPECT_EQ(destination->getObjectId(), 0x21);
  EXPECT_EQ(net_test::Requests(peer_->log(), "anchor-destination").size(), 1u);

  // The notes know the anchors that lead to them and into them.
  auto* notes = dynamic_cast<Document*>(Fetch("notes").get());
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(Ids(notes->getDestAnchors()), (std::vector<LONG>{0x31}));
  std::vector<LONG> referrers = Ids(notes->getReferrers(nullptr, 0));
  std::sort(referrers.begin(), referrers.end());
  EXPECT_EQ(referrers, (std::vector<LONG>{0x30, 0x32}));
  // The notes keep anchor 0x30 among their referrers and the anchor keeps
  // the notes as its destination: a cycle of handles that only dropping
  // the anchors breaks (else both, and the session, outlive the test).
  notes->invalidate(kRefreshAnchors);
}

TEST_F(SessionEndToEnd, ContentIsLoadedAndDownloaded) {
  Start();
  ASSERT_TRUE(Fetch(Url("")));
  const struct {
    const char* name;
    const char* body;
  } documents[] = {{"intro", "objects/intro.body"},
                   {"notes", "objects/notes.body"},
                   {"picture", "objects/picture.body"}};
  for (const auto& d : documents) {
    auto* document = dynamic_cast<Document*>(Fetch(d.name).get());
    ASSERT_NE(document, nullptr) << d.name;
    const std::string file = temp_.path().string() + "/" + d.name + ".content";
    ASSERT_TRUE(document->loadContent(1, file.c_str(), "internal", "")) << d.name;
    EXPECT_EQ(FileBytes(document->getContentFile().c_str()), Body(d.body)) << d.name;
  }

  CString downloaded;
  ASSERT_EQ(DownloadToFile(Url("0x00000050").c_str(), downloaded), 1);
  EXPECT_EQ(FileBytes(downloaded.c_str()), Body("objects/mirrored.body"));
  const std::filesystem::path file = win::HostPath(downloaded.c_str());
  EXPECT_EQ(file.extension(), ".txt");
  EXPECT_EQ(file.parent_path(), testing_support::PrivateTempDir());
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(SessionEndToEnd, APeerThatClosesMidDownloadLeavesNothingBehind) {
  PeerOptions options;
  options.misbehave = {"data-short=20@36"};
  Start(options);
  ASSERT_TRUE(Fetch(Url("")));
  const int before = TempFiles();
  CString downloaded = "untouched";
  EXPECT_EQ(DownloadToFile(Url("0x00000021").c_str(), downloaded), 0);
  EXPECT_TRUE(downloaded.IsEmpty());
  EXPECT_EQ(TempFiles(), before);
  // The user was told why.
  bool told = false;
  for (const auto& box : win::MessageBoxLog())
    told = told || box.text == "Error: couldn't read from socket !";
  EXPECT_TRUE(told);

  auto* notes = dynamic_cast<Document*>(Fetch("notes").get());
  ASSERT_NE(notes, nullptr);
  const std::string file = temp_.path().string() + "/notes.content";
  EXPECT_FALSE(notes->loadContent(1, file.c_str(), "internal", ""));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(notes->getContentFile().IsEmpty());
}

TEST_F(SessionEndToEnd, SearchingAndChanging) {
  Start();
  ASSERT_TRUE(Fetch(Url("")));
  KxSession* session = Session();
  ASSERT_NE(session, nullptr);

  StoreEntry* search = session->openRequest(Ref<KXObject>(), kRequestFullText, nullptr, "digital");
  ASSERT_NE(search, nullptr);
  OwnedList hits(session->getResults(search, -1, nullptr));
  session->closeRequest(search);
  ASSERT_FALSE(Ids(hits.get()).empty());
  EXPECT_EQ(ObjectOf(hits->first())->getAttribute("Score="), "1000");

  // Through the object model: the change reaches the server and the object.
  const Ref<KXObject> notes = Fetch("notes");
  ASSERT_TRUE(notes->changeAttributes("", "Keyword=e2e", true));
  EXPECT_TRUE(notes->getKeywords().Contains("e2e"));
  EXPECT_NE(session->getRecord("0x00000021").Find("Keyword=e2e"), -1);
  EXPECT_TRUE(notes->lock());
  EXPECT_TRUE(notes->unlock());

  // A new collection below the home.
  Ref<KXObject> box(createObject("Type=Document\nDocumentType=collection\nName=e2e-box\n"
                                 "Title=en:Box\n"));
  ASSERT_TRUE(box);
  box->setStore(Ref<Store>(session));
  ASSERT_TRUE(box->insertInto(Fetch("0x00000010"), "", nullptr, 0));
  EXPECT_GT(box->getObjectId(), 0);
  EXPECT_EQ(Fetch("e2e-box")->getObjectId(), box->getObjectId());
}

}  // namespace
}  // namespace e2e_test
