// The session's control connection and its two hooks: the server's own
// messages and the loss of the connection.
#include "core/fatal.h"
#include "core/message_boxes.h"
#include "net/kx_session.h"
#include "net/requests_echo.h"

SessionConnection::SessionConnection(const CString& user, const CString& password,
                                     const CString& host, int port, bool binary,
                                     bool distributed, bool compress, int version)
    : KxConnection(user, password, host, port, binary, distributed, compress, version) {}

SessionConnection::~SessionConnection() = default;

void SessionConnection::serverMessage() {
  CString message;
  if (!takeServerMessage(message)) return;
  // A liveness probe is answered on the connection it came on: the server
  // waits for the answer there, whichever session is listed first.
  CString reply;
  if (EchoReplyFor(message, reply)) sendEcho(reply);
  // Notices of other kinds are dropped.
}

void SessionConnection::connectionClosed() {
  KxConnection::connectionClosed();  // error 7 for whatever still waits
  ShowErrorText(KxSession::kClosedText);
  FatalError();
}
