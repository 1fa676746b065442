// The clipboard on an X server (an Xvfb the test starts), with xclip as the
// other program: what the program copies is pasted there in UTF-8 or
// ISO 8859-1, what xclip copies is pasted here as Windows-1252 with CR LF,
// large texts come in pieces, and an owner that never answers costs a
// bounded wait.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "display/display.h"
#include "support/patience.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/user.h"
#include "xvfb_server.h"
#include "support/tools.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Starts `command` under sh; its pid.
pid_t Start(const std::string& command) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

constexpr DWORD kPatienceMs = std::chrono::duration_cast<std::chrono::milliseconds>(testing_support::kPatience).count();

// Serves the display (so that the command can ask us for the selection)
// until the process ends; false when it failed or has not ended in time.
bool ServeUntilExit(pid_t pid) {
  const DWORD start = GetTickCount();
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (GetTickCount() - start > kPatienceMs) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    // Returns as soon as the display has something for us.
    win::display::Active().Wait(2);
  }
}

void Copy(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
  CloseClipboard();
}

std::string Paste() {
  if (!OpenClipboard(nullptr)) return "<not opened>";
  std::string text = "<none>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

class X11Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("xclip"), "xclip is not installed");
    std::string error;
    ZEMRA_SKIP_WITHOUT(server_.Start(320, 240, &error), error);
    win::ResetUserState();
    auto x11 = win::display::MakeX11(server_.name().c_str());
    ASSERT_NE(x11, nullptr) << "cannot open " << server_.name();
    win::display::Use(std::move(x11));
  }
  void TearDown() override {
    if (owner_ > 0) {
      kill(owner_, SIGKILL);
      int status = 0;
      waitpid(owner_, &status, 0);
    }
    win::ResetUserState();
    win::display::Use(win::display::MakeHeadless());
    server_.Stop();
  }
  std::string Xclip(const std::string& args) const { return "xclip -display " + server_.name() + " " + args; }

  // xclip copies the file's bytes and keeps serving them in the foreground;
  // returns once our paste sees something other than `before`.
  std::string CopyElsewhere(const std::string& file, const std::string& before) {
    owner_ = Start("exec " + Xclip("-quiet -selection clipboard -i " + file + " >/dev/null 2>&1"));
    std::string now = before;
    const DWORD start = GetTickCount();
    while (now == before && GetTickCount() - start < kPatienceMs) {
      usleep(10000);
      now = Paste();
    }
    return now;
  }

  x11_test::XvfbServer server_;
  testing_support::TempDir dir_;
  pid_t owner_ = -1;
};

TEST_F(X11Clipboard, WhatTheProgramCopiesIsPastedElsewhere) {
  Copy("Gr\xfc\xdf Gott\r\nZeile \x80");
  struct Case {
    const char* target;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF8_STRING", "Gr\xc3\xbc\xc3\x9f Gott\nZeile \xe2\x82\xac"},
      {"STRING", "Gr\xfc\xdf Gott\nZeile ?"},
  };
  for (const Case& c : cases) {
    const std::string out = dir_.file(std::string(c.target) + ".out");
    ASSERT_TRUE(ServeUntilExit(Start(Xclip("-selection clipboard -o -t ") + c.target + " > " + out)))
        << c.target;
    EXPECT_EQ(ReadAll(out), c.bytes) << c.target;
  }
  const std::string targets = dir_.file("targets.out");
  ASSERT_TRUE(ServeUntilExit(Start(Xclip("-selection clipboard -o -t TARGETS > ") + targets)));
  EXPECT_NE(ReadAll(targets).find("UTF8_STRING"), std::string::npos) << ReadAll(targets);
  // The program's own copy stands while it owns the selection.
  EXPECT_EQ(Paste(), "Gr\xfc\xdf Gott\r\nZeile \x80");
}

TEST_F(X11Clipboard, WhatAnotherProgramCopiesIsPastedHere) {
  Copy("ours");
  dir_.write("theirs.txt", "caf\xc3\xa9\nline \xe2\x82\xac two");
  EXPECT_EQ(CopyElsewhere(dir_.file("theirs.txt"), "ours"), "caf\xe9\r\nline \x80 two");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  CloseClipboard();
  // Copying again takes the selection back from xclip, which then ends.
  Copy("ours again");
  int status = 0;
  const DWORD start = GetTickCount();
  while (waitpid(owner_, &status, WNOHANG) == 0 && GetTickCount() - start < kPatienceMs)
    win::display::Active().Wait(2);
  EXPECT_TRUE(kill(owner_, 0) != 0) << "xclip still owns the selection";
  owner_ = -1;
  const std::string out = dir_.file("again.out");
  ASSERT_TRUE(ServeUntilExit(Start(Xclip("-selection clipboard -o > ") + out)));
  EXPECT_EQ(ReadAll(out), "ours again");
}

TEST_F(X11Clipboard, ALargeTextComesInPieces) {
  // More than xclip sends at once: it hands the text over incrementally.
  std::string big;
  for (int i = 0; big.size() < (3u << 20); ++i) big += "line " + std::to_string(i) + "\n";
  dir_.write("big.txt", big);
  Copy("small");
  const std::string pasted = CopyElsewhere(dir_.file("big.txt"), "small");
  std::string expected;
  for (char c : big) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  EXPECT_EQ(pasted.size(), expected.size());
  EXPECT_TRUE(pasted == expected);
}

TEST_F(X11Clipboard, AnOwnerThatNeverAnswersCostsABoundedWait) {
  Copy("ours");
  dir_.write("theirs.txt", "theirs");
  ASSERT_EQ(CopyElsewhere(dir_.file("theirs.txt"), "ours"), "theirs");
  ASSERT_EQ(kill(owner_, SIGSTOP), 0);  // it keeps the selection but answers nothing
  const DWORD start = GetTickCount();
  EXPECT_EQ(Paste(), "theirs");  // the last text had stands
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 1000u);
  EXPECT_LT(waited, 4000u);
  kill(owner_, SIGCONT);
}

}  // namespace
