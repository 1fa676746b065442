// The print and print-setup dialogs as the user meets them: keys typed into
// the modal dialog, and what PrintDlg then returns.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "display/headless.h"
#include "print/print_dialog_window.h"
#include "support/print_fixture.h"
#include "win/kernel.h"
#include "win/print.h"
#include "win/user.h"

namespace print_test {
namespace {

// Keys as the display reports them; each character given with its key,
// capitals with Shift held. (The same key typed for two different
// characters in one go is not told apart yet, so the texts typed here keep
// to one character per key.)
void TypeText(const std::string& text) {
  for (char c : text) {
    UINT vk = VK_OEM_2;
    if (std::isalpha(static_cast<unsigned char>(c))) {
      vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(c)));
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      vk = static_cast<UINT>(c);
    } else if (c == '.') {
      vk = VK_OEM_PERIOD;
    } else if (c == '-' || c == '_') {
      vk = VK_OEM_MINUS;
    }
    const bool upper = std::isupper(static_cast<unsigned char>(c)) != 0;
    if (upper) win::headless::PressKey(VK_SHIFT);
    win::headless::PressKey(vk, static_cast<unsigned char>(c));
    win::headless::ReleaseKey(vk);
    if (upper) win::headless::ReleaseKey(VK_SHIFT);
  }
}

void Alt(char letter) {
  win::headless::PressKey(VK_MENU);
  win::headless::PressKey(static_cast<UINT>(letter), std::tolower(letter));
  win::headless::ReleaseKey(static_cast<UINT>(letter));
  win::headless::ReleaseKey(VK_MENU);
}

PRINTDLG Request(DWORD flags) {
  PRINTDLG pd{};
  pd.lStructSize = sizeof(PRINTDLG);
  pd.Flags = flags;
  pd.nFromPage = 1;
  pd.nToPage = 5;
  pd.nMinPage = 1;
  pd.nMaxPage = 5;
  return pd;
}

std::string OutputOf(HGLOBAL devNames) {
  const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(devNames));
  std::string s = reinterpret_cast<const char*>(dn) + dn->wOutputOffset;
  GlobalUnlock(devNames);
  return s;
}

void FreeHandles(PRINTDLG& pd) {
  if (pd.hDC) DeleteDC(pd.hDC);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
}

class PrintDialogWindow : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    Settings("Letter", "Portrait", 72);
  }
};

TEST_F(PrintDialogWindow, FileNameAndPagesTypedReachPrintdlg) {
  const std::string chosen = dir_.file("typed.pdf");
  // The file name box has the focus with the default name: out.pdf in the
  // test's folder. Its file part is typed over.
  win::headless::TypeKey(VK_END);
  for (int i = 0; i < 7; ++i) win::headless::TypeKey(VK_BACK);
  TypeText("typed.pdf");
  Alt('P');          // Pages
  win::headless::TypeKey(VK_TAB);
  TypeText("2");
  win::headless::TypeKey(VK_TAB);
  TypeText("3");
  win::headless::TypeKey(VK_RETURN);
  PRINTDLG pd = Request(PD_RETURNDC | PD_NOSELECTION);
  ASSERT_TRUE(PrintDlg(&pd)) << CommDlgExtendedError();
  EXPECT_EQ(pd.Flags & (PD_PAGENUMS | PD_SELECTION), static_cast<DWORD>(PD_PAGENUMS));
  EXPECT_EQ(pd.nFromPage, 2);
  EXPECT_EQ(pd.nToPage, 3);
  EXPECT_EQ(OutputOf(pd.hDevNames), chosen);
  EXPECT_TRUE(pd.hDC);
  EXPECT_TRUE(win::MessageBoxLog().empty());
  FreeHandles(pd);
}

TEST_F(PrintDialogWindow, EscapeCancels) {
  win::headless::TypeKey(VK_ESCAPE);
  PRINTDLG pd = Request(PD_RETURNDC);
  EXPECT_FALSE(PrintDlg(&pd));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_FALSE(pd.hDC);
  EXPECT_EQ(win::print::CurrentPrinterSetup().output, out_);
}

TEST_F(PrintDialogWindow, ABadRangeIsExplainedAndCanBePutRight) {
  Alt('P');
  win::headless::TypeKey(VK_TAB);
  TypeText("4");
  win::headless::TypeKey(VK_TAB);
  TypeText("2");
  win::headless::TypeKey(VK_RETURN);  // refused: the dialog stays
  Alt('T');                           // the "to" box again
  TypeText("5");
  win::headless::TypeKey(VK_RETURN);
  PRINTDLG pd = Request(PD_NOSELECTION);
  ASSERT_TRUE(PrintDlg(&pd));
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_NE(win::MessageBoxLog()[0].text.find("between 1 and 5"), std::string::npos);
  EXPECT_EQ(pd.nFromPage, 4);
  EXPECT_EQ(pd.nToPage, 5);
  FreeHandles(pd);
}

TEST_F(PrintDialogWindow, PrintSetupChoosesPaperAndOrientation) {
  Alt('G');  // Legal
  Alt('N');  // Landscape
  win::headless::TypeKey(VK_RETURN);
  PRINTDLG pd = Request(PD_PRINTSETUP);
  ASSERT_TRUE(PrintDlg(&pd));
  DEVMODE dm{};
  std::memcpy(&dm, GlobalLock(pd.hDevMode), sizeof dm);
  GlobalUnlock(pd.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_LEGAL);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  const win::print::PrinterSetup setup = win::print::CurrentPrinterSetup();
  EXPECT_EQ(setup.paper, win::print::Paper::Legal);
  EXPECT_TRUE(setup.landscape);
  FreeHandles(pd);
}

// What the open dialog shows, looked at from a timer while it runs.
struct Seen {
  bool found = false;
  std::string output;
  bool selectionEnabled = true;
  bool pagesEnabled = true;
  UINT allChecked = 0;
  std::string from;
};
Seen g_seen;

void LookAtDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dlg = GetActiveWindow();
  if (!dlg || !GetDlgItem(dlg, IDC_PRINT_OUTPUT)) return;
  g_seen.found = true;
  char text[512] = {};
  GetDlgItemText(dlg, IDC_PRINT_OUTPUT, text, sizeof text);
  g_seen.output = text;
  GetDlgItemText(dlg, IDC_PRINT_FROM, text, sizeof text);
  g_seen.from = text;
  g_seen.selectionEnabled = IsWindowEnabled(GetDlgItem(dlg, IDC_PRINT_SELECTION)) != 0;
  g_seen.pagesEnabled = IsWindowEnabled(GetDlgItem(dlg, IDC_PRINT_PAGES)) != 0;
  g_seen.allChecked = IsDlgButtonChecked(dlg, IDC_PRINT_ALL);
  PostMessage(dlg, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(PrintDialogWindow, OpensWithTheOutputAndOnlyTheRangesOffered) {
  struct Case {
    DWORD flags;
    bool selection;
    bool pages;
  };
  const Case cases[] = {
      {PD_NOSELECTION | PD_NOPAGENUMS, false, false},
      {0, true, true},
  };
  for (const Case& c : cases) {
    g_seen = Seen{};
    SetTimer(nullptr, 0, 1, LookAtDialog);
    PRINTDLG pd = Request(c.flags);
    EXPECT_FALSE(PrintDlg(&pd));
    ASSERT_TRUE(g_seen.found);
    EXPECT_EQ(g_seen.output, out_);
    EXPECT_EQ(g_seen.from, "1");
    EXPECT_EQ(g_seen.selectionEnabled, c.selection) << c.flags;
    EXPECT_EQ(g_seen.pagesEnabled, c.pages) << c.flags;
    EXPECT_EQ(g_seen.allChecked, static_cast<UINT>(BST_CHECKED));
  }
}

TEST_F(PrintDialogWindow, TheTemplatesHaveEveryControl) {
  HINSTANCE module = win::print::PrintDialogModule();
  ASSERT_TRUE(module);
  struct Case {
    WORD dialog;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {win::print::kPrintDialogTemplate,
       {IDC_PRINT_OUTPUT, IDC_PRINT_ALL, IDC_PRINT_SELECTION, IDC_PRINT_PAGES, IDC_PRINT_FROM,
        IDC_PRINT_TO, IDC_PRINT_FROM_LABEL, IDC_PRINT_TO_LABEL, IDOK, IDCANCEL}},
      {win::print::kSetupDialogTemplate,
       {IDC_SETUP_A4, IDC_SETUP_LETTER, IDC_SETUP_LEGAL, IDC_SETUP_PORTRAIT, IDC_SETUP_LANDSCAPE,
        IDOK, IDCANCEL}},
  };
  for (const Case& c : cases) {
    HWND dlg = CreateDialogParam(module, MAKEINTRESOURCE(c.dialog), nullptr,
                                 [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_TRUE(dlg) << c.dialog;
    for (int id : c.ids) EXPECT_TRUE(GetDlgItem(dlg, id)) << c.dialog << ": " << id;
    DestroyWindow(dlg);
  }
}

}  // namespace
}  // namespace print_test
