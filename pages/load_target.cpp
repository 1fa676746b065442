#include "pages/load_target.h"

#include "pages/objects/vobject.h"

int LoadTarget::Deliver(const char* fileName, int) {
  fileName_ = fileName ? fileName : "";
  if (owner_) owner_->Notify(kDelivered, owner_);
  return 1;
}

int LoadTarget::MatchObject(const Ref<KXObject>& document) {
  if (!document) return 0;
  return document->loadContent(1, fileName_, CString("internal"), CString("")) ? 1 : 0;
}
