#include "text/dispatch/link_maker.h"

LinkMaker::~LinkMaker() = default;

CString LinkMaker::MakeAnchorLink(const CString& text) { return text; }

CString LinkMaker::MakeUrlLink(const CString& text, const CString&) { return text; }

void LinkMaker::EncodeFormSubmission(Form&, CString& action, CString& query) {
  action.Empty();
  query.Empty();
}
