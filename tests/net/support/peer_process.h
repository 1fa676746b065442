// Runs the reference Korvex peer (tests/peer/korvex_peer.py) for a test: on
// a free port of the loopback interface, with its request log in a fresh
// temporary directory, stopped when the object goes away.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace testing_support {

struct PeerOptions {
  // --form: "client" (the client's choice stands), "binary" or "text".
  std::string form = "client";
  // --order: "little", "big" or "client".
  std::string order = "little";
  // --version: the peer's protocol version.
  int version = 717;
  // --compress: "on", "off" or "force"; empty leaves the peer's default.
  std::string compress;
  // The bundled content (tests/peer/content) unless set; "-" for none.
  std::string content;
  // --misbehave rules and --unsolicited triggers, one option each.
  std::vector<std::string> misbehave;
  std::vector<std::string> unsolicited;
  // Further options, passed as they are.
  std::vector<std::string> extra;
};

class PeerProcess {
 public:
  // Starts the peer and waits (within the tests' patience) until it has written its
  // port file. started() tells whether it came up; error() why not.
  explicit PeerProcess(const PeerOptions& options = PeerOptions());
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  const std::string& error() const { return error_; }
  // The request log (one line per event) as far as it is written.
  std::string log() const;
  const std::string& logPath() const { return logPath_; }
  // A control file the peer re-reads whenever it changes (written to a
  // temporary name and renamed, as the peer wants).
  void control(const std::string& lines) const;
  // Waits until the log holds `text`; false when it does not within the
  // tests' patience.
  bool waitForLog(const std::string& text) const;

  // SIGTERM, then SIGKILL after 5 s; waits for the process. Idempotent.
  void stop();

 private:
  TempDir dir_;
  std::string logPath_;
  std::string controlPath_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
};

// The source directory of the project (ZEMRA_SOURCE_DIR of the tests).
std::string SourceDir();

}  // namespace testing_support
