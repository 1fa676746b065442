// select() over our sockets and one descriptor of the system together.
#pragma once

#include "win/winsock.h"

namespace winsock {

// select() that also watches one descriptor of the system for reading
// (`descriptor`, -1 for none): a loop that waits on its sockets can then
// wake as soon as the window system's connection has input. Empty or null
// sets are allowed here (the wait is then on the descriptor and the time
// alone). *descriptorReady tells whether the descriptor became readable;
// the result counts only sockets, as select() does.
int SelectWithDescriptor(fd_set* readfds, fd_set* writefds, fd_set* exceptfds,
                         const timeval* timeout, int descriptor, bool* descriptorReady);

}  // namespace winsock
