#include "net/listening_endpoint.h"

#include "core/marker_file.h"
#include "net/dispatcher.h"

ListeningEndpoint::ListeningEndpoint(int port, const char* endpointFile)
    : port_(port), buffer_(nullptr) {
  if (endpointFile) {
    endpointFile_ = endpointFile;
    hasEndpointFile_ = true;
  }
  startListening();
}

ListeningEndpoint::~ListeningEndpoint() {
  if (buffer_.isOpen()) stopListening();
}

void ListeningEndpoint::startListening() {
  if (!buffer_.listen(port_)) {
    port_ = 0;
    return;
  }
  port_ = buffer_.port();
  if (port_ == 0 ||
      (hasEndpointFile_ && !writeMarkerFile(endpointFile_.c_str(), port_)) ||
      !Dispatcher::instance()->link(buffer_.socket(), Dispatcher::kRead, this)) {
    // An endpoint nobody can find, or that the dispatcher will not watch,
    // accepts nothing: it is closed at once.
    buffer_.close();
    port_ = 0;
  }
}

void ListeningEndpoint::stopListening() {
  if (Dispatcher* d = Dispatcher::existing()) {
    if (d->handlerFor(buffer_.socket(), Dispatcher::kRead) == this) d->unlink(buffer_.socket());
  }
  if (hasEndpointFile_) removeMarkerFile(endpointFile_.c_str());
  buffer_.close();
}

int ListeningEndpoint::inputReady(int) {
  int socket = -1;
  if (!buffer_.accept(socket)) return -1;
  connectionAccepted(socket);
  return 0;
}
