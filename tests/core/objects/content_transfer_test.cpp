// Document content: loading into a file (streamed or named by the store),
// the listeners, the viewer command, reading into memory, and new content
// sent to a local store or uploaded to a server.
#include "core/content_transfer.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/document.h"
#include "core/document_kinds.h"
#include "core/objects/document_test_fixture.h"

namespace {

using doctest::BoxTexts;
using doctest::Make;
using doctest::RecordingListener;

const std::string kText = "Type=Document\nDocumentType=text\nMimeType=text/plain\n";

std::string Bytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 3);
  return s;
}

// A store whose read transfers announce a size of the test's choosing.
class MisannouncingStore : public FakeStore {
 public:
  using FakeStore::FakeStore;
  StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                          const CString& text) override {
    StoreEntry* e = FakeStore::openRequest(object, kind, collections, text);
    if (e && kind == kRequestRead) e->announcedSize = announce;
    return e;
  }
  std::int32_t announce = -1;
};

// Stands in for the session's upload.
class FakeUpload : public ContentUploadService {
 public:
  FakeUpload() { previous_ = SetContentUploadService(this); }
  ~FakeUpload() override { SetContentUploadService(previous_); }
  CString controlAddress(Store&) override { return address; }
  bool upload(Store&, const CString& own, const CString& fileName, std::uint32_t size,
              const char* data, std::int32_t length, std::int32_t objectId,
              const CString& path) override {
    calls.push_back(own.str() + " file='" + fileName.str() + "' size=" + std::to_string(size) +
                    " data=" + (data ? std::string(data, static_cast<std::size_t>(length)) : "-") +
                    " id=" + std::to_string(objectId) + " path=" + path.str());
    return answer;
  }
  CString address = "10.1.2.3";
  bool answer = true;
  std::vector<std::string> calls;

 private:
  ContentUploadService* previous_ = nullptr;
};

class ContentTest : public doctest::DocumentFixture {};

TEST_F(ContentTest, StreamedContentArrivesInChunksWithProgress) {
  useSettings("[text]\nplain=show -t $title $arg0\n");
  Ref<Document> d = Make(1, kText + "Title=en:Hello\n", Ref<Store>(server));
  const std::string bytes = Bytes(20000);
  server->setContent("0x00000001", bytes);
  server->readChunkLimit = 8192;  // as a socket hands out what has come

  ASSERT_TRUE(d->loadContent(1, "", "", ""));
  const std::string file = d->getContentFile().str();
  EXPECT_EQ(file.rfind((tempDir / "kxdoc").string(), 0), 0u) << file;
  EXPECT_EQ(file.substr(file.size() - 4), ".pla");
  EXPECT_EQ(testing_support::TempDir::read(file), bytes);
  EXPECT_TRUE(d->isContentTemporary());
  EXPECT_TRUE(d->isVisited());
  EXPECT_EQ(d->getViewerCommand(), ("show -t Hello " + file).c_str());

  // Four reads (the last finds the end), each asking for a large piece
  // straight into the block that is written, one handle.
  EXPECT_EQ(server->callCount("readRequest"), 4);
  for (const std::string& call : server->calls)
    if (call.rfind("readRequest ", 0) == 0) EXPECT_GE(std::stoi(call.substr(12)), 65536) << call;
  EXPECT_EQ(server->openHandles(), 0);
  EXPECT_EQ(progress->counts, (std::vector<unsigned>{16384, 20000}));
  ASSERT_EQ(progress->fractions.size(), 2u);
  EXPECT_FLOAT_EQ(progress->fractions[0], 16384.0f / 20000.0f);
  EXPECT_FLOAT_EQ(progress->fractions[1], 1.0f);
  EXPECT_EQ(progress->events.back(), "start");
  EXPECT_EQ(app->BusyCount(), 0);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ContentTest, ContentLargerThanTheWriteBlockIsSavedWhole) {
  // However the store cuts the content, the file holds every byte once and
  // in order, across the writes of several blocks.
  useSettings("[text]\nplain=show\n");
  const std::string bytes = Bytes(700001);
  for (int piece : {0, 8192, 50000, 65535}) {
    SCOPED_TRACE(piece);
    Ref<FakeStore> store(new FakeStore("korvex://s/"));
    Ref<Document> d = Make(1, kText, Ref<Store>(store));
    store->setContent("0x00000001", bytes);
    store->readChunkLimit = piece;
    ASSERT_TRUE(d->loadContent(1, "", "", ""));
    EXPECT_TRUE(testing_support::TempDir::read(d->getContentFile().str()) == bytes);
    EXPECT_EQ(store->openHandles(), 0);
  }
}

TEST_F(ContentTest, ListenersAreToldAndThoseDoneAreRemoved) {
  useSettings("[text]\nplain=show\n");
  Ref<Document> d = Make(1, kText, Ref<Store>(server));
  std::vector<std::string>& log = listenerLog;
  log.clear();
  d->addChild(new RecordingListener(&log, "stays", 0));
  d->addChild(new RecordingListener(&log, "done", kListenerDone));
  server->setContent("0x00000001", "abc");

  ASSERT_TRUE(d->loadContent(1, "", "", ""));
  const std::string file = d->getContentFile().str();
  EXPECT_EQ(log, (std::vector<std::string>{"stays 0 '" + file + "'", "done 0 '" + file + "'",
                                           "done deleted"}));
  EXPECT_EQ(d->getChildren()->count(), 1);

  // Content already in its file is not fetched again.
  log.clear();
  const int opened = server->callCount("openRequest");
  ASSERT_TRUE(d->loadContent(1, "", "", ""));
  EXPECT_EQ(server->callCount("openRequest"), opened);
  EXPECT_EQ(log, std::vector<std::string>{"stays 0 '" + file + "'"});
}

// Every way of not getting the content ends with status 2 for the
// listeners, an empty content file and no file left behind.
TEST_F(ContentTest, FailuresAreReportedToTheListeners) {
  struct Case {
    const char* name;
    std::function<void(FakeStore&, FakeProgress&)> arrange;
    const char* box;  // null: none
  };
  const Case cases[] = {
      {"read error", [](FakeStore& s, FakeProgress&) { s.readFailAfter = 10000; }, nullptr},
      {"first read fails", [](FakeStore& s, FakeProgress&) { s.readFailAfter = 0; }, nullptr},
      {"user break", [](FakeStore&, FakeProgress& p) { p.breakOnPoll(2); }, nullptr},
      {"no content", [](FakeStore& s, FakeProgress&) { s.clearTables(); }, nullptr},
  };
  for (const Case& c : cases) {
    useSettings("[text]\nplain=show\n");
    Ref<FakeStore> store(new FakeStore("korvex://s/"));
    FakeProgress reporter;
    Ref<Document> d = Make(1, kText, Ref<Store>(store));
    store->setContent("0x00000001", Bytes(30000));
    store->readChunkLimit = 8192;
    c.arrange(*store, reporter);
    std::vector<std::string>& log = listenerLog;
    log.clear();
    d->addChild(new RecordingListener(&log, "view"));
    win::ClearMessageBoxLog();

    EXPECT_FALSE(d->loadContent(1, "", "", "")) << c.name;
    EXPECT_EQ(log, std::vector<std::string>{"view 2 ''"}) << c.name;
    EXPECT_TRUE(d->getContentFile().IsEmpty()) << c.name;
    EXPECT_TRUE(tempFiles().empty()) << c.name;
    EXPECT_TRUE(BoxTexts().empty()) << c.name;
    EXPECT_EQ(store->openHandles(), 0) << c.name;
    EXPECT_EQ(app->BusyCount(), 0) << c.name;
    store->clearTables();
  }
}

TEST_F(ContentTest, NoViewerTemplateIsShownAndTold) {
  Ref<Document> d = Make(1, kText, Ref<Store>(server));  // no settings: no template
  std::vector<std::string>& log = listenerLog;
  log.clear();
  d->addChild(new RecordingListener(&log, "view"));
  server->setContent("0x00000001", "abc");
  EXPECT_FALSE(d->loadContent(1, "", "", ""));
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"No appropriate viewer found for this document type !"});
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");
  EXPECT_EQ(log, std::vector<std::string>{"view 2 ''"});
  EXPECT_TRUE(tempFiles().empty());
  EXPECT_EQ(server->openHandles(), 0);
}

TEST_F(ContentTest, ContentOfTheWrongSizeIsRefused) {
  useSettings("[text]\nplain=show\n");
  for (std::int32_t announced : {5000, 3000}) {
    Ref<MisannouncingStore> store(new MisannouncingStore("korvex://s/"));
    store->announce = announced;
    store->setContent("0x00000001", Bytes(4000));
    Ref<Document> d = Make(1, kText, Ref<Store>(store));
    EXPECT_FALSE(d->loadContent(1, "", "", "")) << announced;
    EXPECT_TRUE(tempFiles().empty()) << announced;

    StoreEntry* t = store->openRequest(Ref<KXObject>(d), kRequestRead, nullptr, CString());
    CString text;
    EXPECT_FALSE(d->readContent(t, text)) << announced;
    store->closeRequest(t);
    store->clearTables();
  }
}

TEST_F(ContentTest, TheStoreMayNameALocalFile) {
  useSettings("[text]\nHTM=browse $arg0\n[Image]\nX=never\n");
  struct Case {
    const char* file;
    const char* docType;
    const char* command;
  };
  const Case cases[] = {
      {"DOCS\\PAGE.HTM", "text", "browse DOCS\\PAGE.HTM"},
      {"DIR.X\\FILE", "Image", ""},     // the search stops at the backslash
      {"dir.x/file", "Image", ""},      // and at a slash
      {".X", "Image", ""},              // the first character is not searched
      {"pic.unknown", "Image", ""},
  };
  for (const Case& c : cases) {
    Ref<Document> d = Make(1, std::string("Type=Document\nDocumentType=") + c.docType + "\n",
                           Ref<Store>(server));
    server->setContentFile("0x00000001", c.file);
    std::vector<std::string>& log = listenerLog;
    log.clear();
    d->addChild(new RecordingListener(&log, "view"));
    EXPECT_TRUE(d->loadContent(1, "", "", "")) << c.file;
    EXPECT_EQ(d->getContentFile(), c.file);
    EXPECT_EQ(d->getViewerCommand(), c.command) << c.file;
    EXPECT_FALSE(d->isContentTemporary());
    EXPECT_EQ(log, std::vector<std::string>{std::string("view 0 '") + c.file + "'"});
    EXPECT_EQ(server->callCount("readRequest"), 0);
    server->clearTables();
  }
}

TEST_F(ContentTest, ExtensionsOfStreamedContent) {
  // Format rules for the kinds whose extension comes from the first bytes;
  // a rule whose text holds a separator must not move the file.
  dir.write("format.dat", "0 string %! PostScript\n0 string AB A/B\n");
  useSettings("[PostScript]\nPostScript=gv\nPS=gv\n[Image]\nA/B=xv\n[CGI]\nhtml=www\n"
              "[text]\nKTF=kt\nhtml=www\n");
  struct Case {
    const char* lines;
    const char* bytes;
    const char* ending;
  };
  const Case cases[] = {
      {"DocumentType=PostScript\n", "%!PS-Adobe", ".Pos"},
      {"DocumentType=PostScript\n", "nothing known", ".PS"},
      {"DocumentType=Remote\nRemoteDocType=PostScript\n", "xx", ".PS"},
      {"DocumentType=text\n", "x", ".KTF"},
      {"DocumentType=text\nMimeType=application/text/html\n", "x", ".htm"},
      {"DocumentType=CGI\n", "x", ".htm"},
      {"DocumentType=Image\n", "AB", ".A_B"},
  };
  for (const Case& c : cases) {
    Ref<Document> d = Make(1, std::string("Type=Document\n") + c.lines, Ref<Store>(server));
    server->setContent("0x00000001", c.bytes);
    ASSERT_TRUE(d->loadContent(1, "", "", "")) << c.lines;
    const std::string file = d->getContentFile().str();
    EXPECT_EQ(std::filesystem::path(file).parent_path(), tempDir) << file;
    EXPECT_EQ(file.substr(file.size() - std::string(c.ending).size()), c.ending) << c.lines;
    server->clearTables();
  }
}

TEST_F(ContentTest, TheCallersFileNameAndRequestText) {
  Ref<Document> d = Make(1, kText, Ref<Store>(server));
  d->setRequestText("kept body");
  server->setContent("0x00000001", "abc");
  const std::string target = dir.file("cache.txt");
  ASSERT_TRUE(d->loadContent(1, target.c_str(), "internal", ""));
  EXPECT_EQ(d->getContentFile(), target.c_str());
  EXPECT_EQ(testing_support::TempDir::read(target), "abc");
  EXPECT_EQ(d->getViewerCommand(), "internal");
  EXPECT_EQ(server->callCount("openRequest 0 0x00000001 'kept body'"), 1);

  // A file that cannot be created.
  d->invalidate(kRefreshContent);
  EXPECT_FALSE(d->loadContent(1, dir.file("missing/dir/x.txt").c_str(), "internal", "other"));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                            "Sorry, can't create temporary file - skipping multimedia document"});
  EXPECT_EQ(server->callCount("openRequest 0 0x00000001 'other'"), 1);
}

TEST_F(ContentTest, TheCallersFileHoldsTheContentAloneWhateverWasThere) {
  // The caller's file may be missing, made empty to hold its name, or left
  // with older content (longer or shorter): afterwards it holds the new
  // content and nothing of the old.
  const std::string bytes = Bytes(300000);
  struct Case {
    const char* name;
    bool exists;
    std::string before;
  };
  const Case cases[] = {
      {"missing", false, ""},
      {"made empty", true, ""},
      {"longer before", true, Bytes(500000) + "stale tail"},
      {"shorter before", true, "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Ref<FakeStore> store(new FakeStore("korvex://s/"));
    Ref<Document> d = Make(1, kText, Ref<Store>(store));
    store->setContent("0x00000001", bytes);
    store->readChunkLimit = 65536;
    const std::string target = dir.file(std::string("cache-") + c.name + ".txt");
    if (c.exists) dir.write(std::string("cache-") + c.name + ".txt", c.before);
    ASSERT_TRUE(d->loadContent(1, target.c_str(), "internal", ""));
    EXPECT_EQ(d->getContentFile(), target.c_str());
    EXPECT_TRUE(testing_support::TempDir::read(target) == bytes);
    EXPECT_EQ(store->openHandles(), 0);
  }
}

TEST_F(ContentTest, ReadContentKeepsEveryByte) {
  Ref<Document> d = Make(1, kText, Ref<Store>(server));
  std::string bytes = Bytes(17000);
  bytes[5] = '\0';
  server->setContent("0x00000001", bytes);
  StoreEntry* t = server->openRequest(Ref<KXObject>(d), kRequestRead, nullptr, CString());
  CString text;
  EXPECT_TRUE(d->readContent(t, text));
  server->closeRequest(t);
  EXPECT_EQ(text.GetLength(), 17000);
  EXPECT_EQ(text.str(), bytes);
  EXPECT_EQ(progress->counts, (std::vector<unsigned>{8192, 16384, 17000}));

  // A read error or a break is a failure, with what came so far.
  server->readFailAfter = 9000;
  t = server->openRequest(Ref<KXObject>(d), kRequestRead, nullptr, CString());
  EXPECT_FALSE(d->readContent(t, text));
  server->closeRequest(t);
  server->readFailAfter = -1;

  progress->breakOnPoll(progress->polls + 2);
  t = server->openRequest(Ref<KXObject>(d), kRequestRead, nullptr, CString());
  EXPECT_FALSE(d->readContent(t, text));
  EXPECT_EQ(text.GetLength(), 8192);
  server->closeRequest(t);
}

TEST_F(ContentTest, NewContentGoesToALocalStoreInChunks) {
  Ref<Document> d = Make(1, kText, Ref<Store>(local));
  const std::string bytes = Bytes(20000);
  const std::string file = dir.write("new.bin", bytes);

  ASSERT_TRUE(d->storeContentFromFile(file.c_str()));
  EXPECT_EQ(local->written("0x00000001"), bytes);
  EXPECT_EQ(local->callCount("openRequest 1 0x00000001 '0x00004e20'"), 1);
  EXPECT_EQ(local->callCount("writeRequest"), 3);
  EXPECT_EQ(local->callCount("writeRequest 8192"), 2);
  EXPECT_EQ(local->openHandles(), 0);
  EXPECT_EQ(d->getRefreshFlags(), kRefreshAll);  // everything is fetched again
  EXPECT_FALSE(d->isParsed());

  // A memory block: the given length, or up to its NUL.
  ASSERT_TRUE(d->storeContentFromMemory("hello world", 5));
  EXPECT_EQ(local->written("0x00000001"), "hello");
  ASSERT_TRUE(d->storeContentFromMemory("hello world", 0));
  EXPECT_EQ(local->written("0x00000001"), "hello world");
  EXPECT_EQ(local->callCount("openRequest 1 0x00000001 '0x0000000b'"), 1);

  // A missing file asks nothing; a break is a failure.
  local->calls.clear();
  EXPECT_FALSE(d->storeContentFromFile(dir.file("absent").c_str()));
  EXPECT_TRUE(local->calls.empty());
  progress->breakOnPoll(progress->polls + 2);
  EXPECT_FALSE(d->storeContentFromFile(file.c_str()));
  EXPECT_EQ(local->written("0x00000001").size(), 8192u);
  EXPECT_EQ(local->openHandles(), 0);

  // Neither a local nor a server store.
  Ref<FakeStore> other(new FakeStore("ftp://x/"));
  Ref<Document> elsewhere = Make(2, kText, Ref<Store>(other));
  EXPECT_FALSE(elsewhere->storeContentFromMemory("x", 1));
  EXPECT_TRUE(other->calls.empty());
}

TEST_F(ContentTest, UploadsToAServerGoThroughTheService) {
  Ref<Document> d = Make(7, kText + "Path=/home/doc\n", Ref<Store>(server));
  // Without the session's service no upload is possible.
  EXPECT_FALSE(d->storeContentFromMemory("abc", 3));

  FakeUpload upload;
  ASSERT_TRUE(d->storeContentFromMemory("abc", 0));
  const std::string file = dir.write("up.bin", Bytes(100));
  ASSERT_TRUE(d->storeContentFromFile(file.c_str()));
  EXPECT_EQ(upload.calls,
            (std::vector<std::string>{
                "10.1.2.3 file='' size=0 data=abc id=7 path=/home/doc",
                "10.1.2.3 file='" + file + "' size=100 data=- id=7 path=/home/doc"}));

  // Nothing to send, or a file that is not there.
  upload.calls.clear();
  EXPECT_FALSE(d->storeContentFromMemory("", 0));
  EXPECT_FALSE(d->storeContentFromMemory(nullptr, 4));
  EXPECT_FALSE(d->storeContentFromFile(dir.file("absent").c_str()));
  EXPECT_TRUE(upload.calls.empty());

  upload.answer = false;
  EXPECT_FALSE(d->storeContentFromMemory("abc", 3));
}

TEST_F(ContentTest, AnUploadNeedsTheClientsOwnAddress) {
  FakeUpload upload;
  Ref<Document> d = Make(7, kText, Ref<Store>(server));
  for (const char* unusable : {"0.0.0.0", "127.0.0.1", ""}) {
    upload.address = unusable;
    upload.calls.clear();
    win::ClearMessageBoxLog();
    const bool done = d->storeContentFromMemory("abc", 3);
    const CString fallback = OwnUploadAddress(*server, upload);
    if (fallback.IsEmpty()) {
      EXPECT_FALSE(done) << unusable;
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                                "Can't get own hostaddress !\nHave you added your IP-address "
                                "to your hosts file ?"});
    } else {
      // The host's own address stands in.
      EXPECT_TRUE(done) << unusable;
      ASSERT_EQ(upload.calls.size(), 1u);
      EXPECT_EQ(upload.calls[0].rfind(fallback.str() + " ", 0), 0u);
    }
  }
}

TEST_F(ContentTest, InsertingADocumentStoresItsContent) {
  Ref<Document> parent = Make(2, "Type=Document\nDocumentType=collection\n", Ref<Store>(local));
  Ref<Document> d = Make(0, kText, Ref<Store>(local));
  ASSERT_TRUE(d->insertInto(Ref<KXObject>(parent), "", "0123456789", 10));
  EXPECT_EQ(local->calls[0], "insertObject 0x00000000 0x00000002 0");
  EXPECT_EQ(local->written("0x00000000"), "0123456789");
  EXPECT_EQ(d->getRefreshFlags(), kRefreshAll);

  // A refused insert sends nothing; a missing file refuses before the store
  // is changed.
  local->setAnswer("insertObject", false);
  local->calls.clear();
  EXPECT_FALSE(d->insertInto(Ref<KXObject>(parent), "", "x", 1));
  EXPECT_EQ(local->callCount("openRequest"), 0);
  local->setAnswer("insertObject", true);
  local->calls.clear();
  EXPECT_FALSE(d->insertInto(Ref<KXObject>(parent), dir.file("absent").c_str(), nullptr, 0));
  EXPECT_TRUE(local->calls.empty());

  // On a server the content is uploaded after the insert.
  FakeUpload upload;
  Ref<Document> s = Make(0, kText, Ref<Store>(server));
  ASSERT_TRUE(s->insertInto(Ref<KXObject>(parent), "", "abc", 3));
  EXPECT_EQ(server->calls[0], "insertObject 0x00000000 0x00000002 0");
  EXPECT_EQ(upload.calls.size(), 1u);

  Ref<Document> storeless = Make(0, kText, Ref<Store>());
  EXPECT_FALSE(storeless->insertInto(Ref<KXObject>(parent), "", "abc", 3));
}

TEST_F(ContentTest, TemporaryNamesAndServerFileNames) {
  const std::string temp = tempDir.string() + "/";
  EXPECT_EQ(ContentTempDirectory().str(), temp);
  // The user's own directory under the temporary path.
  struct stat st;
  ASSERT_EQ(::lstat(tempDir.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 077, 0u);
  EXPECT_EQ(tempDir.parent_path(), dir.path() / "temp");
  const CString a = MakeContentTempName(kContentTempPrefix, ".*");
  const CString b = MakeContentTempName(kGenericTempPrefix, ".");
  EXPECT_EQ(a.str().rfind(temp + "kxdoc", 0), 0u);
  EXPECT_EQ(a.GetLength(), static_cast<int>(temp.size()) + 5 + 8 + 2);
  EXPECT_EQ(a.Right(2), ".*");
  EXPECT_EQ(b.str().rfind(temp + "GenOb", 0), 0u);
  EXPECT_EQ(b.Right(1), ".");
  // Drawn at random: not the next number after the last name.
  EXPECT_NE(a.Mid(static_cast<int>(temp.size()) + 5, 8), b.Mid(static_cast<int>(temp.size()) + 5, 8));

  struct Case {
    const char* suggested;
    const char* kept;  // "" when refused
  };
  const Case cases[] = {
      {"out.dat", "out.dat"},           {"../../etc/passwd", "passwd"},
      {"C:\\WINDOWS\\win.ini", "win.ini"}, {"/abs/name", "name"},
      {"D:name", "name"},               {"..", ""},
      {"sub/..", ""},                   {"dir/", ""},
      {"", ""},                         {"...", ""},
  };
  for (const Case& c : cases) {
    const CString safe = SafeServerFileName(c.suggested);
    EXPECT_EQ(safe.str(), *c.kept ? temp + c.kept : std::string()) << c.suggested;
  }

}

}  // namespace
