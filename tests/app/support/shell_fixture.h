// The client as a user starts it, headless: a run folder with its own
// Tolm.ini (home directory data/, the server the reference peer serving
// data/sample on a free loopback port), the temporary directory inside the
// run folder, and the application object started from there. The test
// drives the idle processing itself and reads the logbook, the message
// boxes, the history and the queue.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/zemra_app.h"
#include "net/support/peer_process.h"
#include "support/temp_dir.h"

namespace app_test {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Settings of the run's Tolm.ini: "SECTION" -> key -> value. SetUp fills
  // the defaults; a test changes them before StartClient.
  std::map<std::string, std::map<std::string, std::string>> ini;
  // The peer's options (before StartPeer).
  testing_support::PeerOptions peerOptions;

  // Starts the peer and writes the server address into the settings.
  void StartPeer();
  // Writes Tolm.ini and starts the application (InitInstance).
  void StartClient();
  // Calls the idle processing until `done` holds; false when it does not
  // within the tests' patience.
  bool IdleUntil(const std::function<bool()>& done);
  // Idle calls until the queue is empty (and one more).
  bool IdleUntilQueueEmpty();
  // Ends the client as the message loop's end does (the frame destroyed,
  // ExitInstance); its result.
  int ExitClient();
  // Forgets the sessions and objects of the program, as a new run of the
  // client starts without them.
  static void ForgetSessions();
  // Starts everything and waits until the first object is current.
  void StartAndLogIn();

  // The logbook's lines (without their line feeds).
  std::vector<std::string> LogLines() const;
  bool LogHas(const std::string& line) const;
  // The texts of the message boxes shown so far.
  std::vector<std::string> BoxTexts() const;

  // The current history object's id (-1 for none).
  static long CurrentId();

  // The message loop's end was seen (WM_QUIT), and its exit code.
  bool quitSeen = false;
  int quitCode = 0;

  testing_support::TempDir tmp_;
  std::string runDir_;
  std::string tempDir_;
  std::unique_ptr<testing_support::PeerProcess> peer_;
  std::unique_ptr<ZemraApp> app_;

 private:
  std::string oldDir_;
  std::string oldTmp_;
  bool hadTmp_ = false;
};

// The source folder's data/ directory.
std::string DataDir();

}  // namespace app_test
