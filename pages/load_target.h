// The hand-over of a fetched file to whoever waits for it: a page object's
// picture, sound or movie, or the file pool of the text viewer. A load
// command of the shell appends the target to the document's children and
// has the document's content loaded; the document then tells the target
// (contentReady), which is its Deliver.
//
// Ownership: a target appended to a document's children belongs to that
// document, which deletes it when Deliver answers kListenerDone or when the
// waiting object takes it out (the document's removeChild). However it
// ends, its destructor withdraws the loads still queued for it, so that no
// load ever reaches a freed target.
#pragma once

#include "core/content_listener.h"
#include "mfc/cstring.h"

class VObject;

class LoadTarget : public ContentListener {
 public:
  explicit LoadTarget(VObject* owner = nullptr) : owner_(owner) {}
  LoadTarget(const LoadTarget&) = delete;
  LoadTarget& operator=(const LoadTarget&) = delete;
  ~LoadTarget() override;

  // The file is there (code kContentReady, 0) or could not be had (any
  // other code; a non-empty name with such a code names a temporary file
  // that the target deletes). kListenerDone (1) asks the document to take
  // the target out of its children. The base takes nothing: 0.
  virtual int Deliver(const CString& fileName, int code);
  // Data that reached the target in memory instead of a file. The base: 0.
  virtual int Refused(const char* data, int size, int status);
  // What kind of target this is (the file pool's entries tell theirs). The
  // base: 0.
  virtual int Kind() const;

  // The document's report goes to Deliver.
  int contentReady(const CString& fileName, int status) override;

  VObject* Owner() const { return owner_; }
  void SetOwner(VObject* owner) { owner_ = owner; }
  const CString& FileName() const { return fileName_; }
  void SetFileName(const CString& name) { fileName_ = name; }

 private:
  [[maybe_unused]] int reserved_ = 0;
  VObject* owner_;
  CString fileName_;
};
