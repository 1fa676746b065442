// An IOHandler that listens on a port of the client and hands each
// connection it accepts to connectionAccepted. The server session uses one
// to receive a document's content over a data connection.
#pragma once

#include "mfc/cstring.h"
#include "net/io_handler.h"
#include "net/rpcbuf.h"

class ListeningEndpoint : public IOHandler {
 public:
  // Starts listening at once (0: the system chooses the port). With an
  // endpoint-file path the file is written with the bound port; failing to
  // write it counts as a failed listen.
  explicit ListeningEndpoint(int port, const char* endpointFile = nullptr);
  // Stops listening when still open.
  ~ListeningEndpoint() override;

  // The port bound; 0 when listening failed (nothing is then linked and
  // nothing will be accepted).
  int port() const { return port_; }
  bool isListening() const { return buffer_.isOpen(); }
  int socket() const { return buffer_.socket(); }
  rpcbuf& buffer() { return buffer_; }

  // Accepts one connection and hands it on; 0 (stay linked). -1 when
  // accepting failed: the dispatcher drops the listening socket and
  // connectionAccepted is not called.
  int inputReady(int socket) override;

  // The accepted socket belongs to the callee from here on.
  virtual void connectionAccepted(int socket) = 0;

 protected:
  void startListening();
  void stopListening();

 private:
  CString endpointFile_;
  bool hasEndpointFile_ = false;
  int port_ = 0;
  rpcbuf buffer_;
};
