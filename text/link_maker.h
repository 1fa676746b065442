// What a text document makes of the links found in it: link records for
// anchor values (KTF anchors and URLs) and the submission of its forms. The
// base gives the text back unchanged; the documents override all three.
#pragma once

#include "mfc/cstring.h"

class Form;

class LinkMaker {
 public:
  LinkMaker() = default;
  LinkMaker(const LinkMaker&) = delete;
  LinkMaker& operator=(const LinkMaker&) = delete;
  virtual ~LinkMaker();

  // The link record for an anchor value the tokenizer resolved.
  virtual CString MakeAnchorLink(const CString& text);
  // The link record for a URL, with the link type its action names.
  virtual CString MakeUrlLink(const CString& text, const CString& linkType);
  // The action and query text of a form's submission.
  virtual void EncodeFormSubmission(const Form& form, CString& action, CString& query);
};
