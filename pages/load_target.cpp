#include "pages/load_target.h"

#include "pages/shell_link.h"

LoadTarget::~LoadTarget() { Shell().CancelLoads(this); }

int LoadTarget::Deliver(const CString& /*fileName*/, int /*code*/) { return 0; }

int LoadTarget::Refused(const char* /*data*/, int /*size*/, int /*status*/) { return 0; }

int LoadTarget::Kind() const { return 0; }

int LoadTarget::contentReady(const CString& fileName, int status) {
  return Deliver(fileName, status);
}
