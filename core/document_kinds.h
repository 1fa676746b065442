// The document kinds: classes on Document with their own class codes, which
// other parts of the program switch on. Most only check the DocumentType of
// the record; text documents make pseudo anchors for remote HTTP pages, and
// remote documents have no link destinations. Generic documents are in
// generic_document.h.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "mfc/cstring.h"

class TextDocument : public Document {
 public:
  // DocumentType "text" or "Remote".
  explicit TextDocument(const CString& record);

  // --- Replaced virtual operations, in slot order ---
  ~TextDocument() override;
  // Also takes the child out of the inline objects this text shows.
  void removeChild(ListElement* child) override;
  bool loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                   const CString& requestText) override;
  // A remote document asks the store nothing: an HTTP page gets one link
  // anchor for each anchor position its content has; other protocols none.
  void loadAnchors() override;

 protected:
  CString reserved;  // read and written by no operation
};

// The media kinds: each accepts only its own DocumentType.
class PICDocument : public Document {
 public:
  explicit PICDocument(const CString& record);
};
class ImageDocument : public Document {
 public:
  explicit ImageDocument(const CString& record);
};
class SoundDocument : public Document {
 public:
  explicit SoundDocument(const CString& record);
};
class MovieDocument : public Document {
 public:
  explicit MovieDocument(const CString& record);
};
class PostScriptDocument : public Document {
 public:
  explicit PostScriptDocument(const CString& record);
};
class SceneDocument : public Document {
 public:
  explicit SceneDocument(const CString& record);
};

// A document elsewhere, reached through a protocol; its DocumentType is not
// checked.
class RemoteDocument : public Document {
 public:
  explicit RemoteDocument(const CString& record);
  // No link destinations: the list comes back as given.
  List* getLinkDestinations(List* list, std::int32_t unused) override;
};

class TelnetSession : public RemoteDocument {
 public:
  explicit TelnetSession(const CString& record);
};

class SQLDocument : public RemoteDocument {
 public:
  explicit SQLDocument(const CString& record);
  CString getAttributeNames() override;
};

// A document produced by a program on the server; the session sends the
// request method and the query string with its content request.
class CGIDocument : public Document {
 public:
  explicit CGIDocument(const CString& record);
  CString getAttributeNames() override;
  bool loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                   const CString& requestText) override;

  // The strings themselves, for the caller to read or fill.
  CString& getRequestMethod() { return requestMethod; }  // "GET" or "POST"
  CString& getQueryString() { return queryString; }

 protected:
  CString requestMethod;
  CString queryString;
};
