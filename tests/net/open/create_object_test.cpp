// The object factory: which class each record becomes, how the record of a
// remote document is completed, and the helpers of remote records.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "core/attr_record.h"
#include "core/document.h"
#include "core/kx_object.h"
#include "net/open_store.h"

namespace {

struct Case {
  const char* label;
  std::string record;
  int classCode;  // -1: no object
  // Values the object's record must hold afterwards ("" : key absent).
  std::string remoteDocType;
  std::string mimeType;
  std::string path;
};

int ClassOf(const Ref<KXObject>& o) { return o ? o->getClassCode() : -1; }

std::string Remote(const std::string& lines) {
  return "ObjectID=0x00000000\nType=Document\nDocumentType=Remote\n" + lines;
}

TEST(CreateObject, EveryKindOfRecord) {
  const Case cases[] = {
      {"anchor", "ObjectID=0x1\nType=Anchor\nTAnchor=Src\n", kClassAnchor, "", "", ""},
      {"user", "ObjectID=0x2\nTType=User\nUName=u\n", kClassUser, "", "", ""},
      {"group", "ObjectID=0x3\nTType=Group\nUGroup=g\n", kClassGroup, "", "", ""},
      {"unknown type", "ObjectID=0x4\nType=Link\n", -1, "", "", ""},
      {"no type at all", "ObjectID=0x4\n", -1, "", "", ""},
      {"text", "Type=Document\nDocumentType=text\n", kClassText, "", "", ""},
      {"PIC", "Type=Document\nDocumentType=PIC\n", kClassPIC, "", "", ""},
      {"image", "Type=Document\nDocumentType=Image\n", kClassImage, "", "", ""},
      {"movie", "Type=Document\nDocumentType=Movie\n", kClassMovie, "", "", ""},
      {"PostScript", "Type=Document\nDocumentType=PostScript\n", kClassPostScript, "", "", ""},
      {"sound", "Type=Document\nDocumentType=Sound\n", kClassSound, "", "", ""},
      {"scene", "Type=Document\nDocumentType=Scene\n", kClassScene, "", "", ""},
      {"generic", "Type=Document\nDocumentType=Generic\n", kClassGeneric, "", "", ""},
      {"collection", "Type=Document\nDocumentType=collection\n", kClassCollection, "", "", ""},
      {"cluster", "Type=Document\nDocumentType=collection\nCollectionType=Cluster\n",
       kClassCluster, "", "", ""},
      {"sequence is a collection",
       "Type=Document\nDocumentType=collection\nCollectionType=Sequence\n", kClassCollection, "",
       "", ""},
      {"CGI", "Type=Document\nDocumentType=CGI\n", kClassCGI, "", "", ""},
      {"unknown document type", "Type=Document\nDocumentType=VRML\n", kClassDocument, "", "", ""},
      // Remote documents by protocol.
      {"http without path", Remote("Protocol=http\nHost=h\n"), kClassText, "text", "text/html",
       "/"},
      {"http with path", Remote("Protocol=http\nHost=h\nPath=/a.html\n"), kClassText, "text",
       "text/html", "/a.html"},
      {"http named text keeps its type",
       Remote("Protocol=http\nPath=/a\nRemoteDocType=text\n"), kClassText, "text", "text/html",
       "/a"},
      {"http inline picture", Remote("Protocol=http\nPath=/p.gif\nSubType=inline\n"), kClassRemote,
       "Image", "", "/p.gif"},
      {"http image", Remote("Protocol=http\nPath=/p.gif\nRemoteDocType=Image\n"), kClassRemote,
       "Image", "", "/p.gif"},
      {"telnet", Remote("Protocol=telnet\nHost=h\n"), kClassTelnetSession, "", "", ""},
      {"tn3270", Remote("Protocol=tn3270\nHost=h\n"), kClassTelnetSession, "", "", ""},
      {"gopher menu", Remote("Protocol=gopher\nGopherType=1\n"), kClassCollection, "collection",
       "", ""},
      {"gopher search", Remote("Protocol=gopher\nGopherType=7\n"), kClassDocument, "Document", "",
       ""},
      {"gopher picture", Remote("Protocol=gopher\nGopherType=I\n"), kClassRemote, "Image", "", ""},
      {"gopher gif", Remote("Protocol=gopher\nGopherType=g\n"), kClassRemote, "Image", "", ""},
      {"gopher sound", Remote("Protocol=gopher\nGopherType=s\n"), kClassRemote, "Sound", "", ""},
      {"gopher text", Remote("Protocol=gopher\nGopherType=0\n"), kClassText, "text", "text/plain",
       ""},
      {"gopher without type", Remote("Protocol=gopher\n"), kClassText, "text", "text/plain", ""},
      {"wais source", Remote("Protocol=wais\nWaisType=WSRC\n"), kClassDocument, "", "", ""},
      {"wais picture", Remote("Protocol=wais\nWaisType=TIFF\n"), kClassRemote, "", "", ""},
      {"wais text", Remote("Protocol=wais\nWaisType=TEXT\n"), kClassText, "", "", ""},
      {"ftp directory", Remote("Protocol=ftp\nHost=h\nPath=/pub\n"), kClassCollection,
       "collection", "", "/pub"},
      {"ftp file", Remote("Protocol=ftp\nHost=h\nPath=/a.txt\nMimeType=text/plain\n"),
       kClassRemote, "", "text/plain", "/a.txt"},
      {"sql query", Remote("Protocol=sql\n"), kClassSQL, "collection", "", ""},
      {"sql data", Remote("Protocol=sql\nDataT=rows\n"), kClassRemote, "", "", ""},
      {"other protocol", Remote("Protocol=news\n"), kClassRemote, "collection", "", ""},
      {"other protocol with a type", Remote("Protocol=news\nRemoteDocType=text\n"), kClassRemote,
       "text", "", ""},
      // A record without a final line feed: an appended line stands on its
      // own and does not change the last value.
      {"appended lines on their own", Remote("Protocol=gopher\nGopherType=1"), kClassCollection,
       "collection", "", ""},
  };
  KxObjectFactory factory;
  for (const Case& c : cases) {
    const Ref<KXObject> o(factory.createObject(CString(c.record.c_str())));
    ASSERT_EQ(ClassOf(o), c.classCode) << c.label;
    if (!o) continue;
    const AttrRecord r(o->recordText());
    EXPECT_EQ(std::string(r.getAttribute("RemoteDocType=").c_str()), c.remoteDocType) << c.label;
    EXPECT_EQ(std::string(r.getAttribute("MimeType=").c_str()), c.mimeType) << c.label;
    EXPECT_EQ(std::string(r.getAttribute("Path=").c_str()), c.path) << c.label;
    EXPECT_FALSE(o->getStore()) << c.label;
  }
}

TEST(CreateObject, CompletedRecordsKeepTheirValues) {
  KxObjectFactory factory;
  const Ref<KXObject> o(
      factory.createObject("ObjectID=0x00000000\nType=Document\nDocumentType=Remote\n"
                           "Protocol=gopher\nHost=g\nPort=70\nPath=/1/\nGopherType=1"));
  ASSERT_TRUE(o);
  const AttrRecord r(o->recordText());
  EXPECT_EQ(r.getAttribute("GopherType="), "1");
  // A remote pseudo document is known by its address.
  EXPECT_EQ(o->getIdentifier(), "gopher://g:70/1/");
  auto* d = dynamic_cast<Document*>(o.get());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->getRemoteDocType(), "collection");
  EXPECT_EQ(o->getObjectIdText(), "gopher://g:70/1/");
}

TEST(RemoteRecords, KindOfRemoteDocument) {
  struct KindCase {
    const char* label;
    const char* record;
    int kind;
    const char* typeAfter;
  };
  const KindCase cases[] = {
      {"inline subtype, any case", "SubType=InLine\n", 2, "Image"},
      {"inline keeps a named type", "SubType=INLINE\nRemoteDocType=Sound\n", 2, "Sound"},
      {"image", "RemoteDocType=Image\n", 2, "Image"},
      {"sound", "RemoteDocType=Sound\n", 3, "Sound"},
      {"movie", "RemoteDocType=Movie\n", 4, "Movie"},
      {"PostScript", "RemoteDocType=PostScript\n", 5, "PostScript"},
      {"no type is text", "Path=/x\n", 1, "text"},
      {"other type", "RemoteDocType=collection\n", 1, "collection"},
  };
  for (const KindCase& c : cases) {
    CString record = c.record;
    EXPECT_EQ(remoteDocKind(record), c.kind) << c.label;
    EXPECT_EQ(AttrRecord(record).getAttribute("RemoteDocType="), c.typeAfter) << c.label;
  }
}

TEST(RemoteRecords, TimeStampAndBlanks) {
  const std::string stamp = currentTimeStamp().c_str();
  EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(1[0-9]{2}/[01][0-9]/[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9])")))
      << stamp;
  EXPECT_EQ(escapeBlanks("/a b  c"), "/a%20b%20%20c");
  EXPECT_EQ(escapeBlanks(""), "");
}

}  // namespace
