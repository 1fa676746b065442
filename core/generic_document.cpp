#include "core/generic_document.h"

#include "core/attr_record.h"
#include "core/content_transfer.h"
#include "core/fatal.h"
#include "core/viewer_templates.h"

GenericDocument::GenericDocument(const CString& recordText) : Document(recordText) {
  classCode = kClassGeneric;
  const CString type = getDocumentType();
  if (type != kxdoc::kGeneric && type != kxdoc::kRemote)
    FatalErrorBox(("Fatal Error: GenericDocument with DocumentType=" + type).c_str());
  GenericDocument::parseAttributes(recordText);
}

GenericDocument::~GenericDocument() = default;

bool GenericDocument::refresh() {
  if (!flagsAskFetch()) {
    parsed = (refreshFlags & kRefreshNoFetch) == 0;
    return true;
  }
  const bool refreshed = Document::refresh();
  bool reparsed = true;
  if (flagsAskFetch()) reparsed = parseAttributes(record);
  return refreshed && reparsed;
}

CString GenericDocument::getRecord() { return KXObject::getRecord(); }

CString GenericDocument::getAttributeNames() {
  return Document::getAttributeNames() + "SubType\nArguments\n";
}

bool GenericDocument::parseAttributes(const CString& recordText) {
  // The document's own attributes too: a refresh reaches only this parse.
  Document::parseAttributes(recordText);
  if (flagsAskFetch()) arguments = AttrRecord(recordText).getAttribute(kxgeneric::kArgumentsKey);
  return true;
}

bool GenericDocument::saveContent(StoreEntry* transfer, CString& commandTemplate,
                                  CString& fileName, int mode) {
  const Ref<KXObject> keep = self();
  if (!parsed) refresh();
  CString first;
  if (SplitWords(arguments, &first, 1) == 1) {
    // The server names the file: it may choose its name, never its place;
    // a name with nothing usable left gets a fresh one.
    fileName = SafeServerFileName(first);
  }
  if (fileName.IsEmpty()) fileName = MakeContentTempName(kGenericTempPrefix, ".");

  CString key = subType;
  if (key.IsEmpty()) {
    key = mimeType;
    const int slash = key.Find('/');
    if (slash >= 0) key = key.Mid(slash + 1);
  }
  if (commandTemplate.IsEmpty()) commandTemplate = ViewerTemplateSetting(getDocumentType(), key);
  return Document::saveContent(transfer, commandTemplate, fileName, mode);
}
