#include "net/support/peer_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/patience.h"

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The port in the port file, or 0 while it is not there (it is written
// atomically, so a file that exists is whole).
int readPort(const std::string& path) {
  const std::string text = readFile(path);
  if (text.empty()) return 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  return value > 0 && value < 65536 ? static_cast<int>(value) : 0;
}

}  // namespace

std::string SourceDir() {
#ifdef ZEMRA_SOURCE_DIR
  return ZEMRA_SOURCE_DIR;
#else
  return ".";
#endif
}

PeerProcess::PeerProcess(const PeerOptions& options) {
  const std::string portFile = dir_.file("peer.port");
  logPath_ = dir_.file("peer.log");
  controlPath_ = dir_.file("peer.control");
  const std::string script = SourceDir() + "/tests/peer/korvex_peer.py";

  std::vector<std::string> args = {"python3", script, "--port", "0", "--port-file", portFile,
                                   "--log", logPath_, "--control", controlPath_,
                                   "--form", options.form, "--order", options.order,
                                   "--version", std::to_string(options.version),
                                   "--lifetime", "600"};
  const std::string content =
      options.content.empty() ? SourceDir() + "/tests/peer/content" : options.content;
  if (content != "-") {
    args.push_back("--content");
    args.push_back(content);
  }
  if (!options.compress.empty()) {
    args.push_back("--compress");
    args.push_back(options.compress);
  }
  for (const std::string& rule : options.misbehave) {
    args.push_back("--misbehave");
    args.push_back(rule);
  }
  for (const std::string& trigger : options.unsolicited) {
    args.push_back("--unsolicited");
    args.push_back(trigger);
  }
  args.insert(args.end(), options.extra.begin(), options.extra.end());

  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string outPath = dir_.file("peer.out");

  pid_ = fork();
  if (pid_ < 0) {
    error_ = "fork failed";
    return;
  }
  if (pid_ == 0) {
    // The peer's own output goes to a file of the temporary directory.
    if (std::freopen(outPath.c_str(), "w", stdout) == nullptr) _exit(127);
    if (std::freopen(outPath.c_str(), "a", stderr) == nullptr) _exit(127);
    setenv("PYTHONDONTWRITEBYTECODE", "1", 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }

  const auto deadline = PatienceDeadline();
  while (Clock::now() < deadline) {
    port_ = readPort(portFile);
    if (port_ > 0) return;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "the peer ended before it listened: " + readFile(outPath);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  error_ = "the peer wrote no port file within " + std::to_string(kPatience.count()) + " s: " + readFile(outPath);
  stop();
}

PeerProcess::~PeerProcess() { stop(); }

std::string PeerProcess::log() const { return readFile(logPath_); }

void PeerProcess::control(const std::string& lines) const {
  const std::string temp = controlPath_ + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << lines;
  }
  std::rename(temp.c_str(), controlPath_.c_str());
}

bool PeerProcess::waitForLog(const std::string& text) const {
  const auto deadline = PatienceDeadline();
  do {
    if (log().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (Clock::now() < deadline);
  return false;
}

void PeerProcess::stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (Clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
  port_ = 0;
}

}  // namespace testing_support
