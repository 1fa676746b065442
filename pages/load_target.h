// The hand-over of a fetched file to a page object that waits for it. A
// page object that shows a server document makes a target, queues a load
// command with it (ShellLink::PushLoad) and goes on; when the command has
// the document's file it calls Deliver, which notifies the waiting object
// with kDelivered. The waiting object owns its target: before the target
// goes, the object cancels the queued loads for it (ShellLink::CancelLoads)
// and detaches it, so a delivery that still comes finds no owner.
#pragma once

#include "core/kx_object.h"
#include "core/list.h"
#include "core/objref.h"
#include "mfc/cstring.h"

class VObject;

class LoadTarget : public ListElement {
 public:
  // The notification a delivery sends to the owner.
  static constexpr int kDelivered = 0x4000;

  explicit LoadTarget(VObject* owner) : owner_(owner) {}
  ~LoadTarget() override = default;

  // The file is there (with `temporary` set it is a file of its own that
  // the target may delete). 1 when taken.
  virtual int Deliver(const char* fileName, int temporary);
  // Whether the document's content can be loaded into the target's file.
  virtual int MatchObject(const Ref<KXObject>& document);

  VObject* Owner() const { return owner_; }
  // Forgets the owner: what is delivered later goes nowhere.
  void Detach() { owner_ = nullptr; }
  const CString& FileName() const { return fileName_; }
  // The file the load command has the document's content loaded into.
  void SetFileName(const CString& name) { fileName_ = name; }

 protected:
  std::int32_t reserved_ = 0;
  VObject* owner_;
  CString fileName_;
};
