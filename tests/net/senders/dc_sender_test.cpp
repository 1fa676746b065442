// Senders against a real loopback socket: what arrives on the wire (header,
// pieces, the NUL of a string), files that cannot be read, a server that
// reads slowly (short sends continued), a connection that refuses data, the
// user's break, and the sockets a sender unlinks when it goes away.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/progress_reporter.h"
#include "core/fatal.h"
#include "net/csocket.h"
#include "net/dc_sender.h"
#include "net/dispatcher.h"
#include "win/winsock.h"
#include "net/senders/support/posix_server.h"
#include "support/temp_dir.h"

namespace {

using std::string_literals::operator""s;

using sender_test::PortBlocker;
using sender_test::Server;

bool Terminal(int state) { return state != DcSender::kListening && state != DcSender::kSending; }

// Serves the Dispatcher until the sender has finished (at most `ms`).
void Serve(DcSender& sender, int ms = 20000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!Terminal(sender.state()) && std::chrono::steady_clock::now() < deadline)
    Dispatcher::instance()->dispatch();
}

// Records every piece fill gives and every write the connection takes;
// optionally takes at most `maxWrite` bytes per write, or fails the n-th.
template <class Base>
class Recording : public Base {
 public:
  using Base::Base;
  int fill() override {
    const int n = Base::fill();
    fills.push_back(n);
    return n;
  }
  int writeSome(const char* data, int length) override {
    ++writes;
    if (failWrite > 0 && writes == failWrite) return -1;
    const int n = Base::writeSome(data, maxWrite > 0 && length > maxWrite ? maxWrite : length);
    if (n >= 0 && n < length) ++shortWrites;
    return n;
  }
  std::vector<int> fills;
  int writes = 0;
  int shortWrites = 0;
  int maxWrite = 0;
  int failWrite = 0;
};
using RecordingMemory = Recording<MemorySender>;
using RecordingFile = Recording<FileSender>;

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return s;
}

std::string HeaderBytes(const KxHeader& h) {
  CString s;
  h.writeString(s);
  return std::string(s.c_str(), static_cast<size_t>(s.GetLength()));
}

class DcSenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dispatcher::destroy();
    ClearAbortFlag();
  }
  void TearDown() override {
    Dispatcher::destroy();
    ClearAbortFlag();
  }
};

TEST_F(DcSenderTest, MemoryBlocksOnTheWire) {
  const std::string block = Pattern(20000);
  const char text[] = "hello";
  KxHeader set;
  set.type = 1;
  set.sz = 0;
  struct Case {
    const char* label;
    const char* data;
    int length;
    bool withHeader;
    std::string wire;
    std::vector<int> fills;
  };
  const Case cases[] = {
      {"empty, no header", "", 0, false, "", {0}},
      {"empty, header only", "", 0, true, HeaderBytes(set), {0}},
      {"a string goes with its NUL", text, -1, false, "hello\0"s, {6, 0}},
      {"three pieces of at most the buffer size", block.data(), 20000, false, block,
       {8192, 8192, 3616, 0}},
      {"header, then the pieces", block.data(), 20000, true, HeaderBytes(set) + block,
       {8192, 8192, 3616, 0}},
  };
  for (const Case& c : cases) {
    RecordingMemory sender(c.data, c.length, 0, 8192);
    if (c.withHeader) sender.header() = set;
    ASSERT_GT(sender.port(), 0) << c.label;
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone) << c.label;
    EXPECT_EQ(server.bytes(), c.wire) << c.label;
    EXPECT_EQ(sender.fills, c.fills) << c.label;
    EXPECT_EQ(sender.bytesWritten(), static_cast<std::int64_t>(c.wire.size())) << c.label;
    EXPECT_EQ(sender.connectionSocket(), -1) << c.label;
  }
}

TEST_F(DcSenderTest, FilesAndFilesThatCannotBeRead) {
  testing_support::TempDir dir;
  const std::string content = Pattern(50001);
  const std::string path = dir.write("upload.bin", content);
  KxHeader h;
  h.sz = static_cast<std::int32_t>(content.size());
  {
    RecordingFile sender(path.c_str(), 0, 4096);
    sender.header() = h;
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone);
    EXPECT_EQ(server.bytes(), HeaderBytes(h) + content);
    EXPECT_EQ(sender.fills.size(), 14u);  // 12 full pieces, one of 849, the end
  }
  {
    // The connection is taken and the header sent; then the read fails.
    RecordingFile sender(dir.file("missing.bin").c_str(), 0, 4096);
    EXPECT_FALSE(sender.isOpen());
    sender.header() = h;
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kFillFailed);
    EXPECT_EQ(server.bytes(), HeaderBytes(h));
  }
}

TEST_F(DcSenderTest, ShortSendsAreContinuedNeverLost) {
  const std::string block = Pattern(2 * 1024 * 1024 + 17);
  {
    // A server that reads slowly, and a connection with a small send
    // buffer: the connection takes pieces in part, and the rest goes on the
    // next turn.
    RecordingMemory sender(block.data(), static_cast<int>(block.size()), 0, 65536);
    Server server(sender.port(), Server::Mode::kSlowRead);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sender.state() == DcSender::kListening && std::chrono::steady_clock::now() < deadline)
      Dispatcher::instance()->dispatch();
    ASSERT_EQ(sender.state(), DcSender::kSending);
    const int small = 8192;
    winsock::setsockopt(static_cast<winsock::SOCKET>(sender.connectionSocket()),
                        winsock::SOL_SOCKET, winsock::SO_SNDBUF,
                        reinterpret_cast<const char*>(&small), sizeof small);
    Serve(sender, 60000);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone);
    EXPECT_EQ(server.bytes().size(), block.size());
    EXPECT_TRUE(server.bytes() == block);
    EXPECT_GT(sender.shortWrites, 0) << "the socket never took a piece in part";
  }
  {
    // A connection that takes at most 1000 bytes per write.
    RecordingMemory sender(block.data(), 20000, 0, 8192);
    sender.maxWrite = 1000;
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone);
    EXPECT_TRUE(server.bytes() == block.substr(0, 20000));
    EXPECT_EQ(sender.writes, 9 + 9 + 4);  // 8192, 8192 and 3616 bytes in 1000s
  }
}

TEST_F(DcSenderTest, FailedWritesAndServersThatStopAreNotSuccess) {
  const std::string block = Pattern(8 * 1024 * 1024);
  {
    RecordingMemory sender(block.data(), 30000, 0, 8192);
    sender.failWrite = 2;
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kWriteFailed);
    EXPECT_EQ(server.bytes().size(), 8192u);
    EXPECT_EQ(sender.connectionSocket(), -1);
  }
  {
    RecordingMemory sender(block.data(), static_cast<int>(block.size()), 0, 8192);
    Server server(sender.port(), Server::Mode::kCloseAtOnce);
    Serve(sender);
    server.join();
    EXPECT_TRUE(sender.state() == DcSender::kPeerClosed || sender.state() == DcSender::kWriteFailed)
        << sender.state();
  }
  {
    RecordingMemory sender(block.data(), static_cast<int>(block.size()), 0, 8192);
    Server server(sender.port(), Server::Mode::kSpeakFirst);
    Serve(sender);
    EXPECT_EQ(sender.state(), DcSender::kPeerClosed);
    EXPECT_EQ(sender.connectionSocket(), -1);
  }
}

// A reporter that breaks on the n-th poll and records the fractions.
class BreakingProgress : public ProgressReporter {
 public:
  explicit BreakingProgress(int breakOn) : breakOn_(breakOn) { previous_ = SetFrameProgress(this); }
  ~BreakingProgress() override { SetFrameProgress(previous_); }
  BOOL PollAbort() override { return ++polls == breakOn_; }
  void SetFraction(int done, int total) override { reports.push_back({done, total}); }
  int polls = 0;
  std::vector<std::pair<int, int>> reports;

 private:
  int breakOn_;
  ProgressReporter* previous_ = nullptr;
};

TEST_F(DcSenderTest, ProgressKindsReportAndTakeTheBreak) {
  testing_support::TempDir dir;
  const std::string content = Pattern(20000);
  const std::string path = dir.write("up.bin", content);
  {
    BreakingProgress progress(0);  // never breaks
    ProgressFileSender sender(path.c_str(), 20000);
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone);
    EXPECT_EQ(server.bytes(), content);
    const std::vector<std::pair<int, int>> expected = {
        {8192, 20000}, {16384, 20000}, {20000, 20000}, {20000, 20000}};
    EXPECT_EQ(progress.reports, expected);
  }
  {
    // The user breaks before the second piece: what was sent stays sent.
    BreakingProgress progress(2);
    ProgressMemorySender sender(content.data(), 20000);
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kFillFailed);
    EXPECT_EQ(server.bytes(), content.substr(0, 8192));
    EXPECT_EQ(sender.connectionSocket(), -1);
  }
  {
    // No reporter: sent without polls or reports; a string counts its NUL.
    ProgressMemorySender sender("abc", -1);
    Server server(sender.port(), Server::Mode::kRead);
    Serve(sender);
    server.join();
    EXPECT_EQ(sender.state(), DcSender::kDone);
    EXPECT_EQ(server.bytes(), "abc\0"s);
    EXPECT_EQ(sender.sent(), 4);
  }
}

TEST_F(DcSenderTest, DeletingASenderUnlinksAndClosesItsSockets) {
  const std::string block = Pattern(4 * 1024 * 1024);
  Dispatcher* d = Dispatcher::instance();
  {
    auto sender = std::make_unique<MemorySender>("x", 1, 0, 8192);
    const int listening = sender->listeningSocket();
    ASSERT_GE(listening, 0);
    EXPECT_EQ(d->handlerFor(listening, Dispatcher::kRead), sender.get());
    sender.reset();
    EXPECT_EQ(d->handlerFor(listening, Dispatcher::kRead), nullptr);
    EXPECT_FALSE(CSocket::IsRegistered(listening));
  }
  {
    // Deleted while sending to a server that reads slowly.
    auto sender = std::make_unique<MemorySender>(block.data(), static_cast<int>(block.size()), 0,
                                                 8192);
    Server server(sender->port(), Server::Mode::kSlowRead);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sender->bytesWritten() < 100000 && std::chrono::steady_clock::now() < deadline)
      d->dispatch();
    ASSERT_EQ(sender->state(), DcSender::kSending);
    const int connection = sender->connectionSocket();
    ASSERT_GE(connection, 0);
    EXPECT_EQ(d->handlerFor(connection, Dispatcher::kWrite), sender.get());
    EXPECT_EQ(d->handlerFor(connection, Dispatcher::kRead), sender.get());
    sender.reset();
    EXPECT_EQ(d->handlerFor(connection, Dispatcher::kWrite), nullptr);
    EXPECT_EQ(d->handlerFor(connection, Dispatcher::kRead), nullptr);
    EXPECT_FALSE(CSocket::IsRegistered(connection));
    server.join();
    EXPECT_LT(server.bytes().size(), block.size());
  }
}

TEST_F(DcSenderTest, ListeningRefusedAndTheWrongSocket) {
  {
    // A port another socket listens on already.
    PortBlocker blocker;
    ASSERT_GT(blocker.port(), 0);
    MemorySender sender("x", 1, blocker.port(), 8192);
    EXPECT_EQ(sender.state(), DcSender::kListenFailed);
    EXPECT_EQ(sender.port(), -1);
    EXPECT_EQ(sender.listeningSocket(), -1);
  }

  const FatalExitHook old = SetFatalExitHook([](int) { throw std::runtime_error("fatal"); });
  MemorySender sender("x", 1, 0, 8192);
  EXPECT_THROW(sender.inputReady(sender.listeningSocket() + 1000), std::runtime_error);
  SetFatalExitHook(old);
}

}  // namespace
