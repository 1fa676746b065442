#include "app/support/shell_fixture.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/commands/command_queue.h"
#include "app/commands/load_commands.h"
#include "app/commands/navigation_commands.h"
#include "app/history/nav_history.h"
#include "app/idle_tasks.h"
#include "app/shell_state.h"
#include "app/shell_ui.h"
#include "core/logbook.h"
#include "core/screen_geometry.h"
#include "core/store_registry.h"
#include "framework/user_break.h"
#include "mfc/app.h"
#include "mfc/wnd.h"
#include "net/dispatcher.h"
#include "net/open_store.h"
#include "pages/page/page_switch.h"
#include "support/patience.h"
#include "support/temp_dir.h"
#include "win/gdi.h"
#include "win/user.h"

namespace app_test {

namespace {

void FreshWindowSystem() {
  AfxResetWindowMaps();
  win::ResetUserState();
  win::ResetGdiState();
  GetStockObject(WHITE_BRUSH);
}

void FreshProgramState() {
  TheCommandQueue().ResetForTests();
  TheHistory().Clear();
  ResetStopFlagForTests();
  HomeCommand::ResetForTests();
  SetServerAddress(kDefaultServerAddress);
  SetLongOperationFlag(0);
  ClearAbortFlag();
  DropIdleTasks();
  ReplaceShellUi(ShellUi{});
  SetLoadCache(nullptr);
  win::ClearMessageBoxLog();
}

}  // namespace

std::string DataDir() { return testing_support::SourceDir() + "/data"; }

void ShellTest::SetUp() {
  FreshWindowSystem();
  FreshProgramState();
  runDir_ = tmp_.file("run");
  tempDir_ = tmp_.file("tmp");
  std::filesystem::create_directories(runDir_);
  std::filesystem::create_directories(tempDir_);
  oldDir_ = std::filesystem::current_path().string();
  if (const char* t = std::getenv("TMPDIR")) {
    hadTmp_ = true;
    oldTmp_ = t;
  }
  setenv("TMPDIR", tempDir_.c_str(), 1);
  std::filesystem::current_path(runDir_);

  ini["Tolm"]["HomeDir"] = DataDir();
  ini["CONNECT"]["Autologin"] = "1";
  ini["CONNECT"]["Login"] = "";
  ini["CONNECT"]["Password"] = "";
  ini["INIT"]["LanguageOrder"] = "en ge";
  ini["INIT"]["MainWindow"] = "0,0,640,480";
  ini["CACHE"]["ClearCache"] = "N";
  ini["TextViewer"]["DingbatDir"] = "Dingbat";
  ini["TextViewer"]["HTMLDir"] = "textdefs";
  ini["Styles"]["DrawStyles"] = "1";
  peerOptions.content = DataDir() + "/sample";
}

void ShellTest::TearDown() {
  if (app_) ExitClient();
  FreshProgramState();
  ForgetSessions();
  TheLogbook().Close();
  if (peer_) peer_->stop();
  std::filesystem::current_path(oldDir_);
  if (hadTmp_)
    setenv("TMPDIR", oldTmp_.c_str(), 1);
  else
    unsetenv("TMPDIR");
  ResetScreenRect();
  FreshWindowSystem();
}

void ShellTest::StartPeer() {
  peer_ = std::make_unique<testing_support::PeerProcess>(peerOptions);
  ASSERT_TRUE(peer_->started()) << peer_->error();
  ini["CONNECT"]["Server"] = "korvex://127.0.0.1:" + std::to_string(peer_->port()) + "/";
}

void ShellTest::StartClient() {
  // A program starts with no messages waiting (an earlier client's end in
  // the same test left its quit message).
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  quitSeen = false;
  // Started from the run folder (an earlier client made its home current).
  std::filesystem::current_path(runDir_);
  std::ofstream out(runDir_ + "/Tolm.ini");
  for (const auto& [section, keys] : ini) {
    out << "[" << section << "]\n";
    for (const auto& [key, value] : keys) out << key << "=" << value << "\n";
  }
  out.close();
  app_ = std::make_unique<ZemraApp>();
  // The executable's base name, as program start-up fills it in.
  std::free(const_cast<char*>(app_->m_pszExeName));
  app_->m_pszExeName = strdup("Tolm");
  ASSERT_TRUE(app_->InitInstance());
}

bool ShellTest::IdleUntil(const std::function<bool()>& done) {
  const auto deadline = testing_support::PatienceDeadline();
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    // Messages first (as the message loop does), then one idle call.
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quitSeen = true;
        quitCode = static_cast<int>(msg.wParam);
        return done();
      }
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
    if (!app_->OnIdle(0)) return done();
  }
  return true;
}

bool ShellTest::IdleUntilQueueEmpty() {
  const bool emptied = IdleUntil([] { return TheCommandQueue().Count() == 0; });
  if (emptied && !StopFlag()) app_->OnIdle(0);
  return emptied;
}

void ShellTest::ForgetSessions() {
  ClearMarkedObjects();
  ClearObjectCache();
  ClearOpenStores();
  ResetDefaultScheme();
  Dispatcher::destroy();
}

int ShellTest::ExitClient() {
  DestroyCurrentPage();
  if (CWnd* main = AfxGetMainWnd()) main->DestroyWindow();
  const int result = app_->ExitInstance();
  app_.reset();
  return result;
}

void ShellTest::StartAndLogIn() {
  StartPeer();
  StartClient();
  ASSERT_TRUE(IdleUntil([] { return bool(TheHistory().Current()); }))
      << "no object after log-in; boxes: " << ::testing::PrintToString(BoxTexts());
}

std::vector<std::string> ShellTest::LogLines() const {
  TheLogbook().Close();
  std::vector<std::string> lines;
  std::ifstream in(testing_support::PrivateTempDir() / "tolm.log");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool ShellTest::LogHas(const std::string& line) const {
  for (const std::string& l : LogLines())
    if (l == line) return true;
  return false;
}

std::vector<std::string> ShellTest::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : win::MessageBoxLog()) texts.push_back(box.text);
  return texts;
}

long ShellTest::CurrentId() {
  const Ref<KXObject> current = TheHistory().Current();
  return current ? current->getObjectId() : -1;
}

}  // namespace app_test
