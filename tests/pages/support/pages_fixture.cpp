#include "pages/support/pages_fixture.h"

#include <fstream>
#include <sstream>

#include "core/logbook.h"
#include "core/screen_geometry.h"
#include "mfc/afx.h"
#include "mfc/wnd.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/vobject.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/rules/rule_set.h"
#include "pages/style/property_table.h"
#include "store/cache/file_cache.h"
#include "support/temp_dir.h"
#include "support/window_system.h"
#include "win/gdi.h"
#include "win/user.h"

namespace pages_test {

void PagesTest::SetUp() {
  testing_support::FreshWindowSystem();
  StyleTable().clear();
  TheRuleSet().clear();
  ResetScreenRect();
  SetScreenRect(RECT{0, 0, 640, 480});
  SetPageTickSource(nullptr);
  Logbook::SetLogging(true);
  logPath_ = tmp_.file("tolm.log");
  TheLogbook().SetFileName(logPath_.c_str());
  SetShellLink(&shell_);
}

void PagesTest::TearDown() {
  DestroyCurrentPage();
  // The shell stands for the main frame, which deletes the hint window.
  delete shell_.hintWindow;
  shell_.hintWindow = nullptr;
  SetBackgroundSound(nullptr, CString());
  SetShellLink(nullptr);
  shell_.current = nullptr;
  // A fixture's own download (which may reach into the fixture) must not
  // serve the next test.
  TheFileCache().clear();
  TheFileCache().resetHandlers();
  StyleTable().clear();
  TheRuleSet().clear();
  ResetScreenRect();
  SetPageTickSource(nullptr);
  TheLogbook().Close();
  AfxResetWindowMaps();
  testing_support::FreshWindowSystem();
}

std::vector<std::string> PagesTest::LogLines() const {
  TheLogbook().Close();
  return testing_support::FileLines(logPath_);
}

void PagesTest::ClearLog() {
  TheLogbook().Close();
  std::ofstream(logPath_, std::ios::trunc);
}

void PagesTest::Styles(const std::string& body) {
  const std::string text = "<Style Description>\n" + body;
  StyleTable().ParseStyleText(text.c_str());
}

}  // namespace pages_test
