// The document the single-document template asks for. The client keeps
// nothing in it: everything shown comes from the server through the pages.
#pragma once

#include "mfc/document.h"

class CZemraDoc : public CDocument {
  DECLARE_DYNCREATE(CZemraDoc)
 public:
  CZemraDoc() = default;
};
