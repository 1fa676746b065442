// Documents: server objects of type "Document" (class code 4) and the base
// of the document kinds and collections. On top of KXObject a document reads
// the document attributes of its record, knows its anchors (links that start
// or end in it), builds an address for remote documents, and owns the
// content operations: loading the content into a local file, saving
// streamed content, reading it into memory and sending new content to the
// store (content_transfer.cpp).
//
// The virtual operations are declared in their fixed slot order: first those
// of KXObject that a document replaces, then the six it adds. The kinds,
// collections and clusters override them by that order.
#pragma once

#include <cstdint>

#include "core/anchor_positions.h"
#include "core/content_listener.h"
#include "core/kx_object.h"
#include "core/list.h"
#include "core/objref.h"
#include "core/store.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

namespace kxdoc {
inline constexpr const char* kTypeName = "Document";
inline constexpr const char* kDocumentTypeKey = "DocumentType=";
inline constexpr const char* kPathKey = "Path=";
inline constexpr const char* kPresentationHintsKey = "PresentationHints=";
inline constexpr const char* kProtocolKey = "Protocol=";
inline constexpr const char* kHostKey = "Host=";
inline constexpr const char* kPortKey = "Port=";
inline constexpr const char* kSubTypeKey = "SubType=";
inline constexpr const char* kInlineIdKey = "InlineID=";
inline constexpr const char* kRemoteDocTypeKey = "RemoteDocType=";
inline constexpr const char* kMimeTypeKey = "MimeType=";
inline constexpr const char* kBodyKey = "Body=";
inline constexpr const char* kNameKey = "Name=";
// Document types that change behaviour.
inline constexpr const char* kRemote = "Remote";
inline constexpr const char* kGeneric = "Generic";
inline constexpr const char* kText = "text";
inline constexpr const char* kPostScript = "PostScript";
inline constexpr const char* kCGI = "CGI";
// The viewer command that means: the client shows the content itself.
inline constexpr const char* kInternalViewer = "internal";
// The object id text of an object the store has not numbered.
inline constexpr const char* kNullIdText = "0x00000000";
}  // namespace kxdoc

class Document : public KXObject {
 public:
  // The store is attached afterwards by the code that fetched the record. A
  // record whose type is not "Document" is a broken invariant of the object
  // factory: the fatal box "Fatal Error: Document with Type=<type>" ends the
  // program.
  explicit Document(const CString& record);

  // --- Replaced virtual operations of KXObject, in slot order ---
  // Forgets a content file the document wrote itself (the file stays).
  ~Document() override;
  // Fetches the record when the flags ask for it (and parses it with the
  // base's and the kind's parse), reloads anchors loaded before, and reloads
  // invalid content that listeners wait for. The flags are left as they are.
  bool refresh() override;
  void removeChild(ListElement* child) override;
  // A remote document without an object id is known by its address:
  // Protocol "://" Host ":" Port and the Path with blanks as "%20".
  CString getIdentifier() override;
  CString getRecord() override;
  CString getAttributeNames() override;
  // The object's invalidation; anchors dropped or invalidated as the flags
  // say; a document that has listeners refreshes at once.
  void invalidate(std::uint32_t flags) override;
  // Fetches the content into a local file (unless it is there already),
  // builds the viewer command and tells the listeners. True when the
  // content is in contentFile.
  bool loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                   const CString& requestText) override;
  // Sends a memory block as the document's new content (a length below 1:
  // up to the NUL).
  bool storeContentFromMemory(const char* data, std::int32_t length) override;
  // The collections that hold the document (request kind 3).
  List* getParents(List* list, std::int32_t unused) override;
  // The objects the link anchors lead to.
  List* getLinkDestinations(List* list, std::int32_t unused) override;
  // Every anchor that leads to the document or into it; asked once and
  // kept. The answer belongs to the document: a list the caller gives is
  // filled and kept, and the caller deletes neither it nor the answer.
  List* getReferrers(List* list, std::int32_t unused) override;
  bool removeFromStore() override;
  // Inserts the document below the parent and stores its content (a file,
  // or a memory block of `length` bytes).
  bool insertInto(const Ref<KXObject>& parent, const CString& fileName, const char* data,
                  std::int32_t length) override;
  bool moveBetween(const Ref<KXObject>& from, const Ref<KXObject>& to) override;
  bool attachTo(const Ref<KXObject>& parent) override;
  bool detachFrom(const Ref<KXObject>& parent) override;
  // Reads the document attributes when the refresh flags ask for it; true.
  bool parseAttributes(const CString& recordText) override;

  // --- Added virtual operations ---
  // Writes the streamed content of a read transfer to a file (a temporary
  // one when fileName is empty; the name chosen is given back) and finds the
  // viewer template for it. True when the whole content was written.
  virtual bool saveContent(StoreEntry* transfer, CString& commandTemplate, CString& fileName,
                           int mode);
  // Reads the whole content of a read transfer into `text` (bytes as they
  // are, NULs kept). True when every byte read arrived and no read failed.
  virtual bool readContent(StoreEntry* transfer, CString& text);
  // Asks the store for the document's anchors once (request kind 4) and
  // sorts them into link, source and destination anchors.
  virtual void loadAnchors();
  // Forgets the anchors and the referrers, then loadAnchors.
  virtual void reloadAnchors();
  // Forgets the content file (the file itself stays).
  virtual void discardContentFile();
  // Sends a file as the document's new content.
  virtual bool storeContentFromFile(const CString& fileName);

  // --- Non-virtual operations ---
  CString getDocumentType() const;
  CString getPath() const;
  CString getPresentationHints() const;
  CString getProtocol() const;
  CString getHost() const;
  CString getPort() const;
  // loadAnchors, then the list (owned by the document).
  const List* getLinkAnchors();
  const List* getDestAnchors();
  const List* getSourceAnchors();
  // The viewer command line for the template and a file argument (see
  // viewer_templates.h).
  CString buildViewerCommand(const CString& commandTemplate, const CString& fileArgument);

  const CString& getContentFile() const { return contentFile; }
  bool isContentTemporary() const { return contentIsTemporary; }
  const CString& getViewerCommand() const { return viewerCommand; }
  AnchorPositionList& getAnchorPositions() { return anchorPositions; }
  const CString& getSubType() const { return subType; }
  const CString& getInlineId() const { return inlineId; }
  const CString& getRemoteDocType() const { return remoteDocType; }
  const CString& getMimeType() const { return mimeType; }
  const StringArray& getBodies() const { return bodies; }
  const StringArray& getNames() const { return names; }
  bool anchorsAreValid() const { return anchorsValid; }
  // The kept referrer list; null until first asked.
  const List* cachedReferrers() const { return referrers; }

 protected:
  // Protocol "://" Host ":" Port and the escaped Path.
  CString remoteAddress() const;
  // The request of `kind` about this document, by the related-objects walk.
  List* runRelated(std::int32_t kind, List* list);
  // Empties the three anchor lists and the positions; drops the referrers.
  void dropAnchors();
  // Sorts the anchors of a kind-4 answer into the three lists.
  void sortAnchors(const List& answer);
  // The settings section for viewer templates: the DocumentType, or the
  // RemoteDocType of a remote document.
  CString templateSection() const;
  // Tells every listener among the children, removing those that are done.
  void notifyListeners(const CString& fileName, int status);
  // Opens a read transfer and gets its content into contentFile (saved, or
  // the local file the store names), with the viewer command for it.
  bool fetchContent(int mode, const CString& fileName, const CString& commandTemplate,
                    const CString& request);
  // The extension of streamed content, from the document type, the MIME
  // type or the format of the first bytes.
  CString contentExtension(const char* firstChunk, std::int32_t count) const;
  // Sends `size` bytes from a file or a memory block through a write
  // transfer of the own store. True when the store took every byte.
  bool writeThroughTransfer(int fileHandle, const char* data, std::uint32_t size);
  bool uploadToServer(const CString& fileName, const char* data, std::int32_t length);

  bool anchorsValid = false;
  bool anchorsLoadedOnce = false;
  List linkAnchors;
  List sourceAnchors;
  List destAnchors;
  List* referrers = nullptr;
  CString contentFile;
  bool contentIsTemporary = false;
  CString viewerCommand;
  AnchorPositionList anchorPositions;
  CString subType;
  CString inlineId;
  CString remoteDocType;
  CString mimeType;
  StringArray bodies;
  StringArray names;
};
