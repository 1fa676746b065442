// An Xvfb server of its own for a test: started on a free display number
// (Xvfb picks it and reports it through -displayfd), stopped at the end.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace x11_test {

class XvfbServer {
 public:
  XvfbServer() = default;
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // Starts "Xvfb -screen 0 <width>x<height>x24"; false (and `error`) when it
  // cannot be started or does not report ready within ten seconds.
  bool Start(int width, int height, std::string* error);
  void Stop();
  const std::string& name() const { return name_; }  // ":<n>"

 private:
  int pid_ = -1;
  std::string name_;
};

// ---- inline definitions ----

inline bool XvfbServer::Start(int width, int height, std::string* error) {
  int fds[2];
  if (pipe(fds) != 0) {
    *error = "pipe failed";
    return false;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  const std::string fd = std::to_string(fds[1]);
  const pid_t pid = fork();
  if (pid < 0) {
    *error = "fork failed";
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 1);
      dup2(null, 2);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  pid_ = pid;
  // Xvfb writes its display number and a newline once it takes clients.
  std::string number;
  for (;;) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) break;
    char c;
    const ssize_t n = read(fds[0], &c, 1);
    if (n <= 0 || c == '\n') break;
    if (c >= '0' && c <= '9' && number.size() < 8) number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    *error = "Xvfb did not start (is the Debian package xvfb installed?)";
    Stop();
    return false;
  }
  name_ = ":" + number;
  return true;
}

inline void XvfbServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}

}  // namespace x11_test
