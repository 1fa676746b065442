// The link operations of a text document: link records made from anchor
// values found in the text, and the encoding of a form submission. The
// document overrides them; this base leaves texts unchanged.
#pragma once

#include "mfc/cstring.h"

class Form;

class LinkMaker {
 public:
  virtual ~LinkMaker();
  // The link record of a KTF anchor value (as the token source resolved it).
  virtual CString MakeAnchorLink(const CString& text);
  // The link record of a URL found in the text, with its link type.
  virtual CString MakeUrlLink(const CString& text, const CString& linkType);
  // The request of a submission: the form's action (with its method line)
  // and the encoded query.
  virtual void EncodeFormSubmission(Form& form, CString& action, CString& query);
};
