#include "pages/media/mci_port.h"

#include <cstring>

#include "pages/media/media_notices.h"

namespace {

// Whether the command asks to be told when it is done.
bool AsksForNotice(const char* command) {
  for (const char* at = command; (at = std::strstr(at, " notify")) != nullptr; at += 7)
    if (at[7] == '\0' || at[7] == ' ') return true;
  return false;
}

class SystemMci : public MciPort {
 public:
  MCIERROR SendString(const char* command, char* reply, UINT replyLength) override {
    HWND callback = command && AsksForNotice(command) ? MediaNoticeWindow() : nullptr;
    return mciSendStringA(command, reply, replyLength, callback);
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
