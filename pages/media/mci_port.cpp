#include "pages/media/mci_port.h"

namespace {

class SystemMci : public MciPort {
 public:
  MCIERROR SendString(const char* command, char* reply, UINT replyLength) override {
    return mciSendStringA(command, reply, replyLength, nullptr);
  }
  BOOL ErrorString(MCIERROR error, char* text, UINT length) override {
    return mciGetErrorStringA(error, text, length);
  }
};

SystemMci& systemPort() {
  static SystemMci port;
  return port;
}

MciPort*& installed() {
  static MciPort* port = nullptr;
  return port;
}

}  // namespace

MciPort& TheMciPort() { return installed() ? *installed() : systemPort(); }

MciPort* SetMciPort(MciPort* port) {
  MciPort* old = installed();
  installed() = port;
  return old;
}
