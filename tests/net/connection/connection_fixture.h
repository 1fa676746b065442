// A reference peer and a control connection to it, for the connection
// tests. (Header only: the test folders compile *_test.cpp.)
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "net/dispatcher.h"
#include "net/io_handler.h"
#include "net/kx_connection.h"
#include "net/support/peer_process.h"
#include "peer_log.h"

namespace net_test {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

struct Login {
  const char* user = "alice";
  const char* password = "wonder";
};

// Starts a connection as the client does; the peer must be running.
inline std::unique_ptr<KxConnection> Connect(const PeerProcess& peer, bool binary,
                                             int version = KxConnection::kClientVersion,
                                             bool compress = false, Login login = Login()) {
  return std::make_unique<KxConnection>(login.user, login.password, "127.0.0.1", peer.port(),
                                        binary, false, compress, version);
}

// Sets the user-break flag when its timer falls due: a user who breaks a
// wait after `ms` milliseconds.
class BreakTimer : public IOHandler {
 public:
  explicit BreakTimer(LONG ms) {
    Dispatcher::instance()->startTimer(ms / 1000, (ms % 1000) * 1000, this);
  }
  void timerExpired(LONG, LONG) override {
    SetAbortFlag();
    fired = true;
  }
  bool fired = false;
};

// Every test starts without a dispatcher, a break or the option variables.
class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("KXCOMPRESS");
    unsetenv("KXDISTRIBUTED");
    Dispatcher::destroy();
    ClearAbortFlag();
  }
  void TearDown() override {
    Dispatcher::setClock(nullptr);
    Dispatcher::destroy();
    ClearAbortFlag();
    unsetenv("KXCOMPRESS");
    unsetenv("KXDISTRIBUTED");
  }

  // Starts a peer; the test stops when it did not come up.
  std::unique_ptr<PeerProcess> StartPeer(const PeerOptions& options = PeerOptions()) {
    auto peer = std::make_unique<PeerProcess>(options);
    EXPECT_TRUE(peer->started()) << peer->error();
    return peer;
  }
};

}  // namespace net_test
