// The server's side of a data connection, on plain POSIX sockets in a
// thread of its own (kept apart from the client's WinSock declarations).
#pragma once

#include <string>
#include <thread>

namespace sender_test {

class Server {
 public:
  enum class Mode {
    kRead,         // read to the end
    kSlowRead,     // read through a small window, pausing now and then
    kCloseAtOnce,  // connect and close
    kSpeakFirst    // send one byte, then read to the end
  };

  // Connects to the port of the loopback interface and runs the mode.
  Server(int port, Mode mode);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  void join();
  // What arrived (after join).
  const std::string& bytes() const { return bytes_; }

 private:
  void run(int port, Mode mode);

  std::thread thread_;
  std::string bytes_;
};

// A socket listening on a free port of every interface, so that another
// listen on that port fails; closed when the object goes away.
class PortBlocker {
 public:
  PortBlocker();
  ~PortBlocker();
  PortBlocker(const PortBlocker&) = delete;
  PortBlocker& operator=(const PortBlocker&) = delete;
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

}  // namespace sender_test
