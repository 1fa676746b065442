#include "app/dialogs/support/ui_fixture.h"

#include <fstream>

#include "core/languages.h"
#include "core/logbook.h"
#include "display/headless.h"
#include "pages/style/property_table.h"
#include "support/temp_dir.h"
#include "support/window_system.h"
#include "win/gdi.h"

namespace shell_ui_test {

namespace {

// Every language active, in table order, as at start-up.
void StartupLanguages() {
  Languages* languages = Languages::instance();
  CString all;
  for (int i = 0; i < languages->count(); ++i) all += languages->codeAt(i);
  languages->setOrder(all);
}

UINT KeyOf(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<UINT>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<UINT>(c);
  switch (c) {
    case ' ': return VK_SPACE;
    case ':': return VK_OEM_1;
    case '/': return VK_OEM_2;
    case '.': return VK_OEM_PERIOD;
    case '-': return VK_OEM_MINUS;
    default: return VK_OEM_7;
  }
}

}  // namespace

void UiTest::SetUp() {
  testing_support::FreshWindowSystem();
  StyleTable().clear();
  StartupLanguages();
  Logbook::SetLogging(true);
  logPath_ = tmp_.file("tolm.log");
  TheLogbook().SetFileName(logPath_.c_str());
}

void UiTest::TearDown() {
  StyleTable().clear();
  StartupLanguages();
  TheLogbook().Close();
  testing_support::FreshWindowSystem();
}

std::vector<std::string> UiTest::LogLines() const {
  TheLogbook().Close();
  return testing_support::FileLines(logPath_);
}

void UiTest::ClearLog() {
  TheLogbook().Close();
  std::ofstream(logPath_, std::ios::trunc);
}

void UiTest::Styles(const std::string& body) {
  const std::string text = "<Style Description>\n" + body;
  StyleTable().ParseStyleText(text.c_str());
}

void Type(const std::string& text) {
  for (char c : text) {
    const UINT vk = KeyOf(c);
    win::headless::PressKey(vk, static_cast<unsigned char>(c));
    win::headless::ReleaseKey(vk);
  }
}

void Key(UINT vk) { win::headless::TypeKey(vk); }

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::string WindowText(HWND wnd) {
  char buf[1024] = {};
  GetWindowText(wnd, buf, sizeof buf);
  return buf;
}

std::string ListNames(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  std::string names;
  const int n = static_cast<int>(SendMessage(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char buf[64] = {};
    SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    names += (i ? "," : "") + std::string(buf);
  }
  return names;
}

void ClickListEntry(HWND dialog, int id, int index) {
  HWND list = GetDlgItem(dialog, id);
  RECT r{};
  SendMessage(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  win::headless::Click(p.x, p.y);
}

}  // namespace shell_ui_test
