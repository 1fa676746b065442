#include "core/document_kinds.h"

#include <ctime>
#include <utility>
#include <vector>

#include "core/environ.h"
#include "core/fatal.h"
#include "core/store_registry.h"

namespace {

constexpr const char* kLinkTypeInline = "INLINE";
constexpr const char* kHttp = "http";

// Ends the program when the record's DocumentType is none of the accepted.
void CheckDocumentType(const Document& document, const char* className, const char* accepted,
                       const char* alsoAccepted = nullptr) {
  const CString type = document.getDocumentType();
  if (type == accepted || (alsoAccepted && type == alsoAccepted)) return;
  FatalErrorBox((CString("Fatal Error: ") + className + " with DocumentType=" + type).c_str());
}

// The object a child element stands for: the object of a handle element,
// or what a content listener names.
const void* Referent(const ListElement* element) {
  if (const KXObject* object = ObjectOf(element)) return object;
  if (const auto* listener = dynamic_cast<const ContentListener*>(element))
    return listener->referent();
  return nullptr;
}

}  // namespace

// --- TextDocument ---

TextDocument::TextDocument(const CString& record) : Document(record) {
  classCode = kClassText;
  CheckDocumentType(*this, "TextDocument", kxdoc::kText, kxdoc::kRemote);
}

TextDocument::~TextDocument() = default;

void TextDocument::removeChild(ListElement* child) {
  const Ref<KXObject> keep = self();
  const void* target = Referent(child);
  if (target) {
    std::vector<Ref<KXObject>> anchors;
    for (ListElement* e = linkAnchors.first(); e; e = e->next())
      if (KXObject* a = ObjectOf(e)) anchors.emplace_back(a);
    for (const Ref<KXObject>& anchor : anchors) {
      CString linkType = anchor->getAttribute(kxobj::kLinkTypeKey);
      linkType.MakeUpper();
      if (linkType != kLinkTypeInline) continue;
      const Ref<KXObject> shown = fetchObject(anchor->getAttribute(kxobj::kDestKey), store);
      if (!shown || shown.get() == this) continue;
      List* its = shown->getChildren();
      for (ListElement* e = its ? its->first() : nullptr; e; e = e->next())
        if (e != child && Referent(e) == target) {
          shown->removeChild(e);
          break;
        }
    }
  }
  Document::removeChild(child);
}

bool TextDocument::loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                               const CString& requestText) {
  return Document::loadContent(mode, fileName, commandTemplate, requestText);
}

void TextDocument::loadAnchors() {
  if (anchorsValid) return;
  if (getDocumentType() != kxdoc::kRemote) {
    Document::loadAnchors();
    return;
  }
  anchorsValid = true;
  if (getProtocol() != kHttp) return;
  const Ref<KXObject> keep = self();
  // One time for every pseudo anchor of this load.
  const CString now = Environ::timeText(std::time(nullptr), false);
  // A copy: making objects must not meet a list that changes under it.
  std::vector<std::pair<CString, CString>> positions;
  for (const AnchorPosition& p : anchorPositions) positions.emplace_back(p.anchorId, p.dest);
  for (const auto& [anchorId, dest] : positions) {
    const CString anchorRecord = "ObjectID=" + anchorId +
                                 "\nType=Anchor\nAuthor=system\nTimeCreated=" + now +
                                 "\nTAnchor=Src\nDest=" + dest + "\n";
    if (Ref<KXObject> anchor = objectForRecord(anchorRecord, store))
      AppendObject(linkAnchors, anchor);
  }
}

// --- The media kinds ---

PICDocument::PICDocument(const CString& record) : Document(record) {
  classCode = kClassPIC;
  CheckDocumentType(*this, "PICDocument", "PIC");
}

ImageDocument::ImageDocument(const CString& record) : Document(record) {
  classCode = kClassImage;
  CheckDocumentType(*this, "ImageDocument", "Image");
}

SoundDocument::SoundDocument(const CString& record) : Document(record) {
  classCode = kClassSound;
  CheckDocumentType(*this, "SoundDocument", "Sound");
}

MovieDocument::MovieDocument(const CString& record) : Document(record) {
  classCode = kClassMovie;
  CheckDocumentType(*this, "MovieDocument", "Movie");
}

PostScriptDocument::PostScriptDocument(const CString& record) : Document(record) {
  classCode = kClassPostScript;
  CheckDocumentType(*this, "PostScriptDocument", kxdoc::kPostScript);
}

SceneDocument::SceneDocument(const CString& record) : Document(record) {
  classCode = kClassScene;
  CheckDocumentType(*this, "SceneDocument", "Scene");
}

// --- Remote kinds ---

RemoteDocument::RemoteDocument(const CString& record) : Document(record) {
  classCode = kClassRemote;
}

List* RemoteDocument::getLinkDestinations(List* list, std::int32_t) { return list; }

TelnetSession::TelnetSession(const CString& record) : RemoteDocument(record) {
  classCode = kClassTelnetSession;
}

SQLDocument::SQLDocument(const CString& record) : RemoteDocument(record) {
  classCode = kClassSQL;
}

CString SQLDocument::getAttributeNames() {
  return Document::getAttributeNames() + "Uid\nPwd\nDatabase\nSQLStmt\nDataT\n";
}

// --- CGIDocument ---

CGIDocument::CGIDocument(const CString& record) : Document(record) { classCode = kClassCGI; }

CString CGIDocument::getAttributeNames() { return Document::getAttributeNames() + "Path\n"; }

bool CGIDocument::loadContent(int mode, const CString& fileName, const CString& commandTemplate,
                              const CString& requestText) {
  return Document::loadContent(mode, fileName, commandTemplate, requestText);
}
