// What a text document asks of the view that shows it: a form submission
// becomes a request (the form's action with its method line, and the
// encoded query) that the view hands on to its listener.
#pragma once

#include "mfc/cstring.h"

class DocumentView {
 public:
  virtual ~DocumentView();
  virtual void ForwardRequest(const CString& action, const CString& query) = 0;
};
