// An element that waits among a document's children for the document's
// content. The document tells it when the content is in a local file
// (status kContentReady with the file name) or when it could not be had
// (kContentFailed with an empty name). A listener that answers
// kListenerDone is taken out of the children and deleted.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"

inline constexpr int kContentReady = 0;
inline constexpr int kContentFailed = 2;
inline constexpr int kListenerDone = 1;

class ContentListener : public ListElement {
 public:
  virtual int contentReady(const CString& fileName, int status) = 0;
  // The object the listener stands for (a view, a picture of a page), by
  // which a text document finds the same listener among the children of
  // the objects it shows inline; null when it stands for none.
  virtual const void* referent() const { return nullptr; }
};
