// PrintDlg answered through its hook: what the dialog starts with, what a
// choice puts into PRINTDLG, and which choices it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/print_fixture.h"
#include "win/kernel.h"
#include "win/print.h"
#include "win/user.h"

namespace print_test {
namespace {

using win::print::Paper;
using win::print::PrintDialogState;

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

std::string DevNamesText(HGLOBAL h, bool output) {
  const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(h));
  std::string s = reinterpret_cast<const char*>(dn) + (output ? dn->wOutputOffset : dn->wDeviceOffset);
  GlobalUnlock(h);
  return s;
}

DEVMODE DevModeOf(HGLOBAL h) {
  DEVMODE dm{};
  std::memcpy(&dm, GlobalLock(h), sizeof dm);
  GlobalUnlock(h);
  return dm;
}

void FreeHandles(PRINTDLG& pd) {
  if (pd.hDC) DeleteDC(pd.hDC);
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  pd.hDC = nullptr;
  pd.hDevMode = pd.hDevNames = nullptr;
}

using PrintDlgTest = PrintTest;

TEST_F(PrintDlgTest, ThePageRangeAndFileNameChosenReachPrintdlgAndTheDc) {
  Settings("Letter", "Portrait", 72);
  const std::string chosen = dir_.file("chosen.pdf");
  PrintDialogState shown;
  win::print::SetPrintDialogHook([&](PrintDialogState& s) {
    shown = s;
    s.output = chosen;
    s.range = PD_PAGENUMS;
    s.fromPage = 2;
    s.toPage = 3;
    return true;
  });
  PRINTDLG pd = Request(PD_ALLPAGES | PD_RETURNDC | PD_NOSELECTION);
  ASSERT_TRUE(PrintDlg(&pd));
  EXPECT_EQ(shown.output, out_);  // the default from the settings
  EXPECT_EQ(shown.range, static_cast<DWORD>(PD_ALLPAGES));
  EXPECT_TRUE(shown.pagesEnabled);
  EXPECT_FALSE(shown.selectionEnabled);
  EXPECT_EQ(pd.Flags & (PD_PAGENUMS | PD_SELECTION), static_cast<DWORD>(PD_PAGENUMS));
  EXPECT_EQ(pd.nFromPage, 2);
  EXPECT_EQ(pd.nToPage, 3);
  EXPECT_EQ(pd.nCopies, 1);
  ASSERT_TRUE(pd.hDC);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 612);
  ASSERT_TRUE(pd.hDevNames);
  EXPECT_EQ(DevNamesText(pd.hDevNames, true), chosen);
  EXPECT_EQ(DevNamesText(pd.hDevNames, false), win::print::kPrinterName);
  EXPECT_EQ(win::print::CurrentPrinterSetup().output, chosen);

  // The DC prints to the chosen file.
  win::print::PrintLoop loop;
  loop.last = 1;
  loop.print = [](HDC dc, UINT) { return PatBlt(dc, 0, 0, 10, 10, BLACKNESS) != 0; };
  EXPECT_TRUE(win::print::PrintPages(pd.hDC, loop));
  EXPECT_TRUE(std::filesystem::exists(chosen));
  EXPECT_FALSE(std::filesystem::exists(out_));
  FreeHandles(pd);
}

TEST_F(PrintDlgTest, TheDialogOpensWithTheRequestsRangeAndItsEnabledChoices) {
  struct Case {
    DWORD flags;
    DWORD range;
    bool pages;
    bool selection;
  };
  const Case cases[] = {
      {PD_ALLPAGES | PD_NOPAGENUMS | PD_NOSELECTION, PD_ALLPAGES, false, false},
      {PD_SELECTION, PD_SELECTION, true, true},
      {PD_SELECTION | PD_NOSELECTION, PD_ALLPAGES, true, false},  // not offered: all
      {PD_PAGENUMS | PD_NOSELECTION, PD_PAGENUMS, true, false},
      {PD_PAGENUMS | PD_NOPAGENUMS, PD_ALLPAGES, false, true},
  };
  for (const Case& c : cases) {
    PrintDialogState shown;
    win::print::SetPrintDialogHook([&](PrintDialogState& s) {
      shown = s;
      return false;
    });
    PRINTDLG pd = Request(c.flags);
    EXPECT_FALSE(PrintDlg(&pd)) << c.flags;
    EXPECT_EQ(CommDlgExtendedError(), 0u);  // Cancel is no failure
    EXPECT_FALSE(shown.setup);
    EXPECT_EQ(shown.range, c.range) << c.flags;
    EXPECT_EQ(shown.pagesEnabled, c.pages) << c.flags;
    EXPECT_EQ(shown.selectionEnabled, c.selection) << c.flags;
    EXPECT_EQ(shown.fromPage, 1);
    EXPECT_EQ(shown.toPage, 5);
    EXPECT_EQ(pd.Flags, c.flags);  // Cancel changes nothing
    EXPECT_FALSE(pd.hDC);
    EXPECT_FALSE(pd.hDevMode);
  }
}

TEST_F(PrintDlgTest, ChoosingTheSelectionSetsOnlyPdSelection) {
  win::print::SetPrintDialogHook([](PrintDialogState& s) {
    s.range = PD_SELECTION;
    return true;
  });
  PRINTDLG pd = Request(PD_PAGENUMS);
  ASSERT_TRUE(PrintDlg(&pd));
  EXPECT_EQ(pd.Flags & (PD_PAGENUMS | PD_SELECTION), static_cast<DWORD>(PD_SELECTION));
  EXPECT_FALSE(pd.hDC);  // not asked for
  FreeHandles(pd);
}

TEST_F(PrintDlgTest, RefusedChoicesShowTheReasonAndTheDialogStays) {
  std::filesystem::create_directory(dir_.file("folder"));
  struct Case {
    const char* what;
    DWORD flags;
    std::function<void(PrintDialogState&)> choose;
    const char* says;
  };
  const Case cases[] = {
      {"first after last", PD_NOSELECTION,
       [](PrintDialogState& s) { s.range = PD_PAGENUMS; s.fromPage = 4; s.toPage = 2; },
       "between 1 and 5"},
      {"past the last page", PD_NOSELECTION,
       [](PrintDialogState& s) { s.range = PD_PAGENUMS; s.fromPage = 1; s.toPage = 6; },
       "between 1 and 5"},
      {"page 0", PD_NOSELECTION,
       [](PrintDialogState& s) { s.range = PD_PAGENUMS; s.fromPage = 0; s.toPage = 1; },
       "between 1 and 5"},
      {"no file name", PD_NOSELECTION, [](PrintDialogState& s) { s.output = "  "; }, "file"},
      {"a folder", PD_NOSELECTION,
       [this](PrintDialogState& s) { s.output = dir_.file("folder"); }, "is a folder"},
      {"no such folder", PD_NOSELECTION,
       [this](PrintDialogState& s) { s.output = dir_.file("none/x.pdf"); }, "does not exist"},
      {"selection not offered", PD_NOSELECTION,
       [](PrintDialogState& s) { s.range = PD_SELECTION; }, "selection"},
      {"pages not offered", PD_NOPAGENUMS,
       [](PrintDialogState& s) { s.range = PD_PAGENUMS; s.fromPage = 1; s.toPage = 1; }, "pages"},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    int asked = 0;
    win::print::SetPrintDialogHook([&](PrintDialogState& s) {
      if (++asked == 1) {
        c.choose(s);
      } else {
        s = PrintDialogState{};  // the user puts it right
        s.output = out_;
        s.minPage = 1;
        s.maxPage = 5;
      }
      return true;
    });
    PRINTDLG pd = Request(c.flags);
    EXPECT_TRUE(PrintDlg(&pd)) << c.what;
    EXPECT_EQ(asked, 2) << c.what;
    ASSERT_EQ(win::MessageBoxLog().size(), 1u) << c.what;
    EXPECT_NE(win::MessageBoxLog()[0].text.find(c.says), std::string::npos)
        << c.what << ": " << win::MessageBoxLog()[0].text;
    EXPECT_EQ(win::MessageBoxLog()[0].caption, "Print");
    FreeHandles(pd);
  }
}

TEST_F(PrintDlgTest, AHookThatKeepsChoosingWhatIsRefusedEndsAsCancel) {
  int asked = 0;
  win::print::SetPrintDialogHook([&](PrintDialogState& s) {
    ++asked;
    s.output = "";
    return true;
  });
  PRINTDLG pd = Request(0);
  EXPECT_FALSE(PrintDlg(&pd));
  EXPECT_EQ(asked, 8);
  EXPECT_EQ(win::MessageBoxLog().size(), 8u);
}

TEST_F(PrintDlgTest, PrintSetupChangesThePageOfLaterDcs) {
  Settings("Letter", "Portrait", 72);
  PrintDialogState shown;
  win::print::SetPrintDialogHook([&](PrintDialogState& s) {
    shown = s;
    s.paper = Paper::Legal;
    s.landscape = true;
    return true;
  });
  PRINTDLG pd = Request(PD_PRINTSETUP);
  ASSERT_TRUE(PrintDlg(&pd));
  EXPECT_TRUE(shown.setup);
  EXPECT_EQ(shown.paper, Paper::Letter);
  const DEVMODE dm = DevModeOf(pd.hDevMode);
  EXPECT_STREQ(dm.dmDeviceName, win::print::kPrinterName);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_LEGAL);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm.dmPrintQuality, 72);
  HDC dc = PrinterDc();
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1008);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 612);
  DeleteDC(dc);

  // The next dialog starts from the caller's DEVMODE.
  win::print::ResetPrinterChoices();
  win::print::SetPrintDialogHook([&](PrintDialogState& s) {
    shown = s;
    return false;
  });
  PRINTDLG again = Request(PD_PRINTSETUP);
  again.hDevMode = pd.hDevMode;
  EXPECT_FALSE(PrintDlg(&again));
  EXPECT_EQ(shown.paper, Paper::Legal);
  EXPECT_TRUE(shown.landscape);
  FreeHandles(pd);
}

TEST_F(PrintDlgTest, ForeignOrBrokenDevmodesAreIgnored) {
  Settings("Letter", "Portrait", 72);
  HGLOBAL small = GlobalAlloc(GHND, 8);
  HGLOBAL foreign = GlobalAlloc(GHND, sizeof(DEVMODE));
  auto* dm = static_cast<DEVMODE*>(GlobalLock(foreign));
  std::strcpy(dm->dmDeviceName, "Other Printer");
  dm->dmFields = DM_PAPERSIZE;
  dm->dmPaperSize = DMPAPER_LEGAL;
  GlobalUnlock(foreign);
  for (HGLOBAL h : {small, foreign}) {
    PrintDialogState shown;
    win::print::SetPrintDialogHook([&](PrintDialogState& s) {
      shown = s;
      return false;
    });
    PRINTDLG pd = Request(PD_PRINTSETUP);
    pd.hDevMode = h;
    EXPECT_FALSE(PrintDlg(&pd));
    EXPECT_EQ(shown.paper, Paper::Letter);
  }
  GlobalFree(small);
  GlobalFree(foreign);
}

TEST_F(PrintDlgTest, ReturnDefaultGivesTheCurrentPrinterWithoutADialog) {
  Settings("A4", "Landscape", 72);
  win::print::SetPrintDialogHook([](PrintDialogState&) -> bool {
    ADD_FAILURE() << "no dialog for PD_RETURNDEFAULT";
    return false;
  });
  PRINTDLG pd = Request(PD_RETURNDEFAULT | PD_RETURNDC);
  ASSERT_TRUE(PrintDlg(&pd));
  const DEVMODE dm = DevModeOf(pd.hDevMode);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A4);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(DevNamesText(pd.hDevNames, true), out_);
  ASSERT_TRUE(pd.hDC);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 842);

  // Blocks of the caller would be lost: refused.
  PRINTDLG again = Request(PD_RETURNDEFAULT);
  again.hDevMode = pd.hDevMode;
  EXPECT_FALSE(PrintDlg(&again));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
  FreeHandles(pd);
}

TEST_F(PrintDlgTest, BadRequestsFail) {
  EXPECT_FALSE(PrintDlg(nullptr));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  PRINTDLG pd = Request(0);
  pd.lStructSize = 40;
  EXPECT_FALSE(PrintDlg(&pd));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

}  // namespace
}  // namespace print_test
