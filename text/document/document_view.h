// What a text document asks of the view that shows it: a form submission
// becomes a request (the form's action with its method line, and the
// encoded query) that the view hands on to its listener; and while the
// document is being built, the view hears how far the build has come, so
// that it can show what is there already.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class MarkupDocument;

class DocumentView {
 public:
  virtual ~DocumentView();
  virtual void ForwardRequest(const CString& action, const CString& query) = 0;
  // The build of `document` has read its text up to `count` (a position);
  // the atoms made so far may be laid out and drawn. Reported at doubling
  // distances, so that showing the growing document costs no more than
  // laying out the whole of it once more.
  virtual void ContentAdded(MarkupDocument& document, LONG count) { (void)document, (void)count; }
};
