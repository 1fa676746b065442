// Turning an attribute record into the KXObject class it names, with the
// pseudo documents for sources on other protocols.
#include <ctime>
#include <new>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/cluster.h"
#include "core/collection.h"
#include "core/document.h"
#include "core/document_kinds.h"
#include "core/generic_document.h"
#include "core/user_group.h"
#include "net/open_store.h"

namespace {

CString Value(const CString& record, const char* key) { return AttrRecord(record).getAttribute(key); }

// Appends "key" + value + "\n" to a record, behind a line feed of its own
// when the record does not end in one (a value must not run into the line).
void AppendLine(CString& record, const char* key, const char* value) {
  if (!record.IsEmpty() && record[record.GetLength() - 1] != '\n') record += '\n';
  record += key;
  record += value;
  record += '\n';
}

// The remote document type is named only when the record has none.
void NameRemoteType(CString& record, const char* type) {
  if (Value(record, kxdoc::kRemoteDocTypeKey).IsEmpty())
    AppendLine(record, kxdoc::kRemoteDocTypeKey, type);
}

bool NoTypeGiven(const CString& record) {
  return Value(record, kxdoc::kRemoteDocTypeKey).IsEmpty() &&
         Value(record, kxdoc::kMimeTypeKey).IsEmpty() && Value(record, "DataT=").IsEmpty();
}

// A remote picture or sound. The picture and sound classes accept only
// records of their own document type, and a remote record carries
// "Remote": building one of them would end the program. Such a document
// is kept as a remote document of that RemoteDocType instead.
KXObject* RemoteMedia(const CString& record) { return new (std::nothrow) RemoteDocument(record); }

KXObject* TextOf(CString& record, const char* mime) {
  NameRemoteType(record, "text");
  // Named only when the record has none: a record that already names its
  // type keeps its last line last (a query's pseudo record ends in its
  // query, which the session reads to the end of the record).
  if (Value(record, kxdoc::kMimeTypeKey).IsEmpty()) AppendLine(record, kxdoc::kMimeTypeKey, mime);
  return new (std::nothrow) TextDocument(record);
}

KXObject* HttpDocument(CString& record) {
  if (Value(record, kxdoc::kPathKey).IsEmpty()) AppendLine(record, kxdoc::kPathKey, "/");
  if (remoteDocKind(record) == 2) {
    NameRemoteType(record, "Image");
    return RemoteMedia(record);
  }
  return TextOf(record, "text/html");
}

KXObject* GopherDocument(CString& record) {
  const CString gopherType = Value(record, "GopherType=");
  const char first = gopherType.IsEmpty() ? '\0' : gopherType[0];
  switch (first) {
    case '1':
      NameRemoteType(record, "collection");
      return new (std::nothrow) Collection(record, nullptr);
    case '7':
      NameRemoteType(record, "Document");
      return new (std::nothrow) Document(record);
    case ':':
    case 'I':
    case 'g':
      NameRemoteType(record, "Image");
      return RemoteMedia(record);
    case '<':
    case 'S':
    case 's':
      NameRemoteType(record, "Sound");
      return RemoteMedia(record);
    default:
      return TextOf(record, "text/plain");
  }
}

KXObject* WaisDocument(const CString& record) {
  const CString waisType = Value(record, "WaisType=");
  if (waisType == "WSRC") return new (std::nothrow) Document(record);
  if (waisType == "GIF" || waisType == "TIFF" || waisType == "PICT") return RemoteMedia(record);
  return new (std::nothrow) TextDocument(record);
}

KXObject* RemoteByProtocol(CString& record) {
  const CString protocol = Value(record, kxdoc::kProtocolKey);
  if (protocol == "http") return HttpDocument(record);
  if (protocol == "telnet" || protocol == "tn3270") return new (std::nothrow) TelnetSession(record);
  if (protocol == "gopher") return GopherDocument(record);
  if (protocol == "wais") return WaisDocument(record);
  if (protocol == "ftp") {
    if (!NoTypeGiven(record)) return new (std::nothrow) RemoteDocument(record);
    NameRemoteType(record, "collection");
    return new (std::nothrow) Collection(record, nullptr);
  }
  if (protocol == "sql") {
    if (!NoTypeGiven(record)) return new (std::nothrow) RemoteDocument(record);
    NameRemoteType(record, "collection");
    return new (std::nothrow) SQLDocument(record);
  }
  if (NoTypeGiven(record)) NameRemoteType(record, "collection");
  return new (std::nothrow) RemoteDocument(record);
}

KXObject* DocumentOf(CString& record) {
  const CString type = Value(record, kxdoc::kDocumentTypeKey);
  if (type == "text") return new (std::nothrow) TextDocument(record);
  if (type == "PIC") return new (std::nothrow) PICDocument(record);
  if (type == "Image") return new (std::nothrow) ImageDocument(record);
  if (type == "Movie") return new (std::nothrow) MovieDocument(record);
  if (type == "PostScript") return new (std::nothrow) PostScriptDocument(record);
  if (type == "Sound") return new (std::nothrow) SoundDocument(record);
  if (type == "Scene") return new (std::nothrow) SceneDocument(record);
  if (type == "Generic") return new (std::nothrow) GenericDocument(record);
  if (type == "collection") {
    if (Value(record, kxcoll::kCollectionTypeKey) == kxcoll::kClusterType)
      return new (std::nothrow) Cluster(record, nullptr);
    return new (std::nothrow) Collection(record, nullptr);
  }
  if (type == "Remote") return RemoteByProtocol(record);
  if (type == "CGI") return new (std::nothrow) CGIDocument(record);
  return new (std::nothrow) Document(record);
}

}  // namespace

int remoteDocKind(CString& record) {
  CString subType = Value(record, kxdoc::kSubTypeKey);
  subType.MakeUpper();
  if (subType == "INLINE") {
    NameRemoteType(record, "Image");
    return 2;
  }
  const CString type = Value(record, kxdoc::kRemoteDocTypeKey);
  if (type == "Image") return 2;
  if (type == "Sound") return 3;
  if (type == "Movie") return 4;
  if (type == "PostScript") return 5;
  if (type.IsEmpty()) AppendLine(record, kxdoc::kRemoteDocTypeKey, "text");
  return 1;
}

KXObject* KxObjectFactory::createObject(const CString& recordText) {
  CString record = recordText;
  const CString type = Value(record, kxobj::kTypeKey);
  if (type != kxdoc::kTypeName) {
    if (type == "Anchor") return new (std::nothrow) Anchor(record);
    const CString ttype = Value(record, "TType=");
    if (ttype == "User") return new (std::nothrow) User(record);
    if (ttype == "Group") return new (std::nothrow) Group(record);
    return nullptr;
  }
  return DocumentOf(record);
}

CString currentTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  gmtime_r(&now, &t);
  CString s;
  s.Format("%02d/%02d/%02d %02d:%02d:%02d", t.tm_year, t.tm_mon + 1, t.tm_mday, t.tm_hour,
           t.tm_min, t.tm_sec);
  return s;
}

CString escapeBlanks(const CString& text) {
  CString out = text;
  out.Replace(" ", "%20");
  return out;
}
