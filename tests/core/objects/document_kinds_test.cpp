// The document kinds: class codes, the DocumentType checks, attribute
// names, the pseudo anchors of remote HTTP text, link destinations of remote
// kinds, and inline children of text documents.
#include "core/document_kinds.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/generic_document.h"
#include "core/objects/document_test_fixture.h"
#include "core/store_registry.h"

namespace {

using doctest::FatalBoxText;
using doctest::Make;
using doctest::RecordingListener;

class DocumentKindsTest : public doctest::DocumentFixture {};

struct KindCase {
  const char* className;
  std::function<Document*(const CString&)> make;
  std::int32_t classCode;
  const char* accepts;  // a DocumentType the kind takes
  bool checksType;      // false: any DocumentType passes
  bool takesRemote;
};

std::vector<KindCase> Kinds() {
  return {
      {"TextDocument", [](const CString& r) { return new TextDocument(r); }, kClassText, "text",
       true, true},
      {"PICDocument", [](const CString& r) { return new PICDocument(r); }, kClassPIC, "PIC", true,
       false},
      {"ImageDocument", [](const CString& r) { return new ImageDocument(r); }, kClassImage,
       "Image", true, false},
      {"SoundDocument", [](const CString& r) { return new SoundDocument(r); }, kClassSound,
       "Sound", true, false},
      {"MovieDocument", [](const CString& r) { return new MovieDocument(r); }, kClassMovie,
       "Movie", true, false},
      {"PostScriptDocument", [](const CString& r) { return new PostScriptDocument(r); },
       kClassPostScript, "PostScript", true, false},
      {"SceneDocument", [](const CString& r) { return new SceneDocument(r); }, kClassScene,
       "Scene", true, false},
      {"GenericDocument", [](const CString& r) { return new GenericDocument(r); }, kClassGeneric,
       "Generic", true, true},
      {"RemoteDocument", [](const CString& r) { return new RemoteDocument(r); }, kClassRemote,
       "Remote", false, true},
      {"TelnetSession", [](const CString& r) { return new TelnetSession(r); },
       kClassTelnetSession, "Remote", false, true},
      {"CGIDocument", [](const CString& r) { return new CGIDocument(r); }, kClassCGI, "CGI", false,
       true},
      {"SQLDocument", [](const CString& r) { return new SQLDocument(r); }, kClassSQL, "Remote",
       false, true},
  };
}

CString DocRecord(const char* docType) {
  return Record(1, (std::string("Type=Document\nDocumentType=") + docType + "\n").c_str());
}

TEST_F(DocumentKindsTest, ClassCodesAndDocumentTypeChecks) {
  for (const KindCase& k : Kinds()) {
    Ref<Document> d(k.make(DocRecord(k.accepts)));
    EXPECT_EQ(d->getClassCode(), k.classCode) << k.className;

    Ref<Document> remote;
    const std::string remoteBox = FatalBoxText([&] { remote = k.make(DocRecord("Remote")); });
    if (k.takesRemote)
      EXPECT_EQ(remoteBox, "(no fatal end)") << k.className;
    else
      EXPECT_EQ(remoteBox, std::string("Fatal Error: ") + k.className +
                               " with DocumentType=Remote");

    const std::string otherBox = FatalBoxText([&] { Ref<Document> o(k.make(DocRecord("Other"))); });
    if (k.checksType)
      EXPECT_EQ(otherBox, std::string("Fatal Error: ") + k.className + " with DocumentType=Other");
    else
      EXPECT_EQ(otherBox, "(no fatal end)") << k.className;
  }
  // The document's own check comes first.
  EXPECT_EQ(FatalBoxText([] { Ref<Document> d(new ImageDocument(Record(1, "Type=Anchor\n"))); }),
            "Fatal Error: Document with Type=Anchor");
}

TEST_F(DocumentKindsTest, AttributeNamesOfTheKinds) {
  Ref<Document> plain(new Document(DocRecord("Image")));
  const CString base = plain->getAttributeNames();
  struct Case {
    Document* d;
    const char* added;
  };
  const Case cases[] = {
      {new SQLDocument(DocRecord("SQL")), "Uid\nPwd\nDatabase\nSQLStmt\nDataT\n"},
      {new CGIDocument(DocRecord("CGI")), "Path\n"},
      {new GenericDocument(DocRecord("Generic")), "SubType\nArguments\n"},
      {new ImageDocument(DocRecord("Image")), ""},
  };
  for (const Case& c : cases) {
    Ref<Document> held(c.d);
    EXPECT_EQ(held->getAttributeNames(), base + c.added);
  }
  Ref<CGIDocument> cgi(new CGIDocument(DocRecord("CGI")));
  EXPECT_TRUE(cgi->getRequestMethod().IsEmpty());
  cgi->getRequestMethod() = "POST";
  cgi->getQueryString() = "a=1";
  EXPECT_EQ(cgi->getRequestMethod(), "POST");
  EXPECT_EQ(cgi->getQueryString(), "a=1");
}

TEST_F(DocumentKindsTest, RemoteKindsHaveNoLinkDestinations) {
  for (const KindCase& k : Kinds()) {
    if (k.classCode != kClassRemote && k.classCode != kClassTelnetSession &&
        k.classCode != kClassSQL)
      continue;
    Ref<Document> d(k.make(DocRecord("Remote")));
    d->setStore(Ref<Store>(server));
    server->setResults(kRequestAnchors, d->getIdentifier(),
                       {MakeObject(Record(11, "Type=Anchor\nTAnchor=Src\nDest=0x2\n"),
                                   Ref<Store>(server))});
    server->addRecord("0x2", Record(2, "Type=Document\n"));
    EXPECT_EQ(d->getLinkDestinations(nullptr, 0), nullptr) << k.className;
    List mine;
    EXPECT_EQ(d->getLinkDestinations(&mine, 0), &mine);
    EXPECT_TRUE(mine.isEmpty());
    server->clearTables();
  }
}

TEST_F(DocumentKindsTest, RemoteHttpTextGetsPseudoAnchorsFromItsPositions) {
  const std::string http = "Type=Document\nDocumentType=Remote\nProtocol=http\nHost=w\nPort=80\n"
                           "Path=/i.html\n";
  Ref<TextDocument> d = Make<TextDocument>(0, http, Ref<Store>(server));
  d->getAnchorPositions().InsertSorted(
      new TextAnchorPosition(10, 12, "0x00000051", "http://w:80/a.html"));
  d->getAnchorPositions().InsertSorted(
      new TextAnchorPosition(20, 22, "0x00000052", "http://w:80/b.html"));
  factory.make = [](const CString& r) -> KXObject* { return new KXObject(r, Ref<Store>()); };

  d->loadAnchors();
  const List* links = d->getLinkAnchors();
  ASSERT_EQ(links->count(), 2);
  EXPECT_EQ(server->callCount("openRequest"), 0);
  KXObject* a = ObjectOf(links->first());
  KXObject* b = ObjectOf(links->last());
  EXPECT_EQ(a->getObjectIdText(), "0x00000051");
  EXPECT_EQ(a->getAttribute("Dest="), "http://w:80/a.html");
  EXPECT_EQ(b->getAttribute("Dest="), "http://w:80/b.html");
  EXPECT_EQ(a->getAuthor(), "system");
  EXPECT_EQ(a->getAttribute("TAnchor="), "Src");
  EXPECT_EQ(a->getType(), "Anchor");
  EXPECT_FALSE(a->getTimeCreated().IsEmpty());
  EXPECT_EQ(a->getTimeCreated(), b->getTimeCreated());
  EXPECT_EQ(a->getStore().get(), server.get());

  // Other protocols get no anchors and ask nothing.
  Ref<TextDocument> gopher = Make<TextDocument>(
      0, "Type=Document\nDocumentType=Remote\nProtocol=gopher\nHost=g\nPort=70\nPath=/\n",
      Ref<Store>(server));
  gopher->getAnchorPositions().InsertSorted(new TextAnchorPosition(1, 2, "0x00000053", "x"));
  gopher->loadAnchors();
  EXPECT_TRUE(gopher->anchorsAreValid());
  EXPECT_TRUE(gopher->getLinkAnchors()->isEmpty());
  EXPECT_EQ(server->calls.size(), 0u);
}

TEST_F(DocumentKindsTest, RemovingAChildAlsoLeavesTheInlineObjects) {
  Ref<TextDocument> page = Make<TextDocument>(1, "Type=Document\nDocumentType=text\n",
                                              Ref<Store>(local));
  Ref<Document> picture = Make(2, "Type=Document\nDocumentType=Image\n", Ref<Store>(local));
  CacheObject("0x00000002", Ref<KXObject>(picture));
  local->addRecord("0x00000002", Record(2, "Type=Document\nDocumentType=Image\n"));
  local->setResults(kRequestAnchors, "0x00000001",
                    {MakeObject(Record(11, "Type=Anchor\nTAnchor=Src\nDest=0x00000002\n"
                                           "LinkType=inline\n"),
                                Ref<Store>(local))});

  std::vector<std::string>& log = listenerLog;
  log.clear();
  int view = 0;
  int otherView = 0;
  picture->addChild(new RecordingListener(&log, "other", 0, &otherView));
  picture->addChild(new RecordingListener(&log, "in picture", 0, &view));
  auto* child = new RecordingListener(&log, "in page", 0, &view);
  page->addChild(child);
  page->loadAnchors();

  page->removeChild(child);
  EXPECT_EQ(log, (std::vector<std::string>{"in picture deleted", "in page deleted"}));
  EXPECT_EQ(picture->getChildren()->count(), 1);
  EXPECT_TRUE(page->getChildren()->isEmpty());
}

}  // namespace
