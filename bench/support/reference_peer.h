// The reference peer (tests/peer/korvex_peer.py) as a child process for a
// whole benchmark run, on the loopback interface at a port it picks and
// writes to a file; stopped, and its temporary folder removed, at the end.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace bench_support {

// The source tree: as the build names it, else from this file's own path
// (bench/support/ is two levels down), which a compiler cache may have made
// relative to the build folder.
inline std::string SourceDir() {
#ifdef ZEMRA_SOURCE_DIR
  return ZEMRA_SOURCE_DIR;
#else
  std::string here = __FILE__;
  std::size_t slash = here.rfind("/bench/");
  return slash == std::string::npos ? "." : here.substr(0, slash);
#endif
}

class ReferencePeer {
 public:
  // The peer serves `content`, or, when that is empty, a "content" folder
  // in its temporary folder (/tmp/zemra-<tag>-XXXXXX) that `fill` writes
  // first. `options` go to the peer after its port and content.
  ReferencePeer(const std::string& tag, const std::function<void(const std::string& dir)>& fill,
                std::string content = "", const std::vector<std::string>& options = {}) {
    std::string pattern = "/tmp/zemra-" + tag + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return;
    dir_ = pattern;
    if (content.empty()) {
      content = dir_ + "/content";
      std::filesystem::create_directories(content);
      if (fill) fill(content);
    }
    const std::string portFile = dir_ + "/port";
    const std::string script = SourceDir() + "/tests/peer/korvex_peer.py";
    std::vector<std::string> args = {"python3", script, "--port", "0", "--port-file", portFile, "--content", content};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--lifetime", "600"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      execvp("python3", argv.data());
      _exit(127);
    }
    for (int k = 0; k < 150 && port_ == 0; ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      std::ifstream in(portFile);
      in >> port_;
    }
  }
  ~ReferencePeer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
  }
  ReferencePeer(const ReferencePeer&) = delete;
  ReferencePeer& operator=(const ReferencePeer&) = delete;

  // 0 when the peer did not start.
  int port() const { return port_; }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace bench_support
