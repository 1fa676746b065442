// Interim: the content operations answer false until the transfer code
// lands in the next commit.
#include "core/document.h"

bool Document::loadContent(int, const CString&, const CString&, const CString&) { return false; }
bool Document::storeContentFromMemory(const char*, std::int32_t) { return false; }
bool Document::insertInto(const Ref<KXObject>&, const CString&, const char*, std::int32_t) {
  return false;
}
bool Document::saveContent(StoreEntry*, CString&, CString&, int) { return false; }
bool Document::readContent(StoreEntry*, CString& text) {
  text.Empty();
  return false;
}
bool Document::storeContentFromFile(const CString&) { return false; }
CString Document::buildViewerCommand(const CString&, const CString&) { return CString(); }
