// The run command as a user types it, on an X server of the test's own:
// the client comes up in its window, connected to the peer serving the
// sample web, and after the log-in its window looks as the kept picture
// shows (within a tolerance: the page is drawn by the same code, but its
// texts and pictures come through more layers than a unit test's).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "platform/x11/xvfb_server.h"
#include "platform/x11/xwd_reader.h"
#include "support/patience.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace app_test {
namespace {

// The main window's rectangle in the shipped Tolm.ini.
constexpr int kWidth = 800, kHeight = 600;
// A pixel counts as different when a channel is further off than this, and
// the picture as different when more than this share of pixels is.
constexpr int kChannelTolerance = 48;
constexpr double kPixelShare = 0.02;

const char* kGolden = "tests/app/x11/golden/client_after_login.png";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool Updating() {
  const char* update = std::getenv("ZEMRA_UPDATE_GOLDEN");
  return update && *update && std::strcmp(update, "0") != 0;
}

// The main window's part of the screen, or null.
std::unique_ptr<win::gdi::Surface> Screenshot(const std::string& display, const std::string& dir) {
  const std::string dump = dir + "/screen.xwd";
  const std::string command = "xwd -root -silent -display " + display + " -out " + dump;
  if (std::system(command.c_str()) != 0) return nullptr;
  std::string error;
  auto screen = x11_test::ReadXwd(dump, &error);
  if (!screen || screen->width() < kWidth || screen->height() < kHeight) return nullptr;
  auto shot = win::gdi::Surface::Create(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) shot->Row(y)[x] = screen->At(x, y) & 0xFFFFFF;
  return shot;
}

// The share of pixels further off than the tolerance (1 for another size).
double Difference(const win::gdi::Surface& a, const win::gdi::Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return 1;
  long off = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const std::uint32_t p = a.At(x, y), q = b.At(x, y);
      for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
        if (d > kChannelTolerance || -d > kChannelTolerance) {
          ++off;
          break;
        }
      }
    }
  return static_cast<double>(off) / (static_cast<double>(a.width()) * a.height());
}

TEST(ClientWindow, TheRunCommandOpensTheClientOnTheSampleWeb) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("Xvfb"), "Xvfb is not installed");
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("xwd"), "xwd (x11-apps) is not installed");
  const std::string client = std::string(ZEMRA_BINARY_DIR) + "/bin/Tolm";
  ASSERT_TRUE(std::filesystem::exists(client)) << client;
  x11_test::XvfbServer server;
  std::string error;
  ZEMRA_SKIP_WITHOUT(server.Start(1024, 768, &error), error);

  testing_support::TempDir dir;
  const std::string run = dir.file("run");
  const std::string tmp = dir.file("tmp");
  std::filesystem::create_directories(tmp);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setpgid(0, 0);
    setenv("DISPLAY", server.name().c_str(), 1);
    setenv("ZEMRA_BUILD_DIR", ZEMRA_BINARY_DIR, 1);
    setenv("ZEMRA_RUN_DIR", run.c_str(), 1);
    setenv("TMPDIR", tmp.c_str(), 1);
    const std::string script = std::string(ZEMRA_SOURCE_DIR) + "/tools/run-client.sh";
    // Through the reference peer, whose log tells when the client logged in.
    execl("/bin/bash", "bash", script.c_str(), "--peer", static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);

  // The root page asks for the root collection's members once the client
  // has logged in.
  const auto deadline = testing_support::PatienceDeadline();
  bool loggedIn = false;
  while (!loggedIn && std::chrono::steady_clock::now() < deadline) {
    loggedIn = ReadAll(run + "/peer.log").find("\treq\tcode=44") != std::string::npos;
    if (!loggedIn) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(loggedIn) << ReadAll(tmp + "/tolm.log");

  // The page is drawn after that: screenshots until one looks as kept (or,
  // when making the picture, until two in a row are the same).
  std::unique_ptr<win::gdi::Surface> shot, previous;
  auto expected = Updating() ? nullptr : win::gdi::ReadPng(std::string(ZEMRA_SOURCE_DIR) + "/" + kGolden, &error);
  if (!Updating()) ASSERT_NE(expected, nullptr) << kGolden << ": " << error << " (ZEMRA_UPDATE_GOLDEN=1 makes it)";
  double difference = 1;
  while (loggedIn && std::chrono::steady_clock::now() < deadline) {
    previous = std::move(shot);
    shot = Screenshot(server.name(), dir.path().string());
    if (!shot) continue;
    if (Updating()) {
      if (previous && Difference(*previous, *shot) == 0) break;
    } else {
      difference = Difference(*expected, *shot);
      if (difference <= kPixelShare) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  killpg(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);

  ASSERT_NE(shot, nullptr) << "no screenshot of " << server.name();
  if (Updating()) {
    ASSERT_TRUE(win::gdi::WritePng(*shot, std::string(ZEMRA_SOURCE_DIR) + "/" + kGolden, &error)) << error;
    return;
  }
  if (difference > kPixelShare) {
    const std::string saved = std::string(ZEMRA_BINARY_DIR) + "/drawn-client_after_login.png";
    win::gdi::WritePng(*shot, saved);
    ADD_FAILURE() << difference * 100 << "% of the pixels differ from " << kGolden << "; drawn: " << saved;
  }
}

}  // namespace
}  // namespace app_test
