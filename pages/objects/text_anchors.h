// Text documents meet anchors whose destinations are shown inside the text
// (inline documents, backgrounds, documents inside a tag). The text layer
// does not fetch them: it hands the anchor's record to the shell, which
// decides here whether the destination may be loaded inline and, if so,
// queues the load that later hands the file to the waiting text object.
#pragma once

#include "mfc/cstring.h"

class LoadTarget;

// The input of a text document: the name of the file it reads (or of the
// request it stands for). A clone is independent of its original.
class FileSource {
 public:
  FileSource() = default;
  explicit FileSource(const CString& fileName) : name(fileName) {}
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  virtual ~FileSource();
  virtual FileSource* Clone() const;

  CString name;
};

// Link types that are loaded inline (compared in upper case).
bool IsInlineLinkType(const CString& linkType);

// Decides an inline request: the record's object (a server anchor, or for
// a local anchor its Dest= or Hint= address) is queued for loading into
// `target` under the source's name. False when the request is not served:
// the caller then tells the target so (refused, status 2), so that it
// stops waiting.
bool ServeTextAnchor(const char* record, FileSource* source, LoadTarget* target);

// The text viewer's companion for inline requests: it passes each request
// to the shell, and has nothing to cancel (a queued load is withdrawn when
// its target goes away).
class TextAnchorFetcher {
 public:
  virtual ~TextAnchorFetcher();
  virtual void start(const char* record, FileSource* context, LoadTarget* request);
  virtual void cancel(LoadTarget* request);
};
