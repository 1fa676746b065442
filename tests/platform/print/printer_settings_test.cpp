// The printer's page from the [Printer] settings and the session's choices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "mfc/app.h"
#include "support/print_fixture.h"
#include "win/path_map.h"
#include "win/print.h"

namespace print_test {
namespace {

using win::print::Paper;

using PrinterSettings = PrintTest;

TEST_F(PrinterSettings, PageSizeOrientationAndResolutionComeFromTheSettingsFile) {
  struct Case {
    const char* lines;
    Paper paper;
    bool landscape;
    int dpi;
    int width;
    int height;
  };
  const Case cases[] = {
      {"", Paper::A4, false, 300, 2480, 3508},  // no [Printer] values: the defaults
      {"PageSize=letter\n", Paper::Letter, false, 300, 2550, 3300},
      {"PageSize=Legal\nResolution=600\n", Paper::Legal, false, 600, 5100, 8400},
      {"PageSize=A4\nOrientation=LANDSCAPE\nResolution=150\n", Paper::A4, true, 150, 1754, 1240},
      {"PageSize=B5\nOrientation=sideways\n", Paper::A4, false, 300, 2480, 3508},
      {"Resolution=1200\n", Paper::A4, false, 300, 2480, 3508},  // past what a page can hold
      {"Resolution=71\n", Paper::A4, false, 300, 2480, 3508},
      {"Resolution=150dpi\n", Paper::A4, false, 300, 2480, 3508},
      {"Resolution=72\nPageSize=Letter\n", Paper::Letter, false, 72, 612, 792},
  };
  for (const Case& c : cases) {
    dir_.write("settings.ini", std::string("[Printer]\n") + c.lines);
    const win::print::PrinterSetup setup = win::print::CurrentPrinterSetup();
    EXPECT_EQ(setup.paper, c.paper) << c.lines;
    EXPECT_EQ(setup.landscape, c.landscape) << c.lines;
    EXPECT_EQ(setup.dpi, c.dpi) << c.lines;
    EXPECT_EQ(setup.output, win::PrivateTempWindowsDirectory() + "print.pdf") << c.lines;
    HDC dc = PrinterDc();
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), c.width) << c.lines;
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), c.height) << c.lines;
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), c.dpi) << c.lines;
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER) << c.lines;
    DeleteDC(dc);
  }
}

TEST_F(PrinterSettings, TheSessionsChoicesLieOverTheFile) {
  Settings("Letter", "Portrait", 300, "C:\\tmp\\file.pdf");
  win::print::ChoosePaper(Paper::Legal, true);
  EXPECT_FALSE(win::print::ChooseOutput(""));
  EXPECT_TRUE(win::print::ChooseOutput("chosen.pdf"));
  win::print::PrinterSetup setup = win::print::CurrentPrinterSetup();
  EXPECT_EQ(setup.paper, Paper::Legal);
  EXPECT_TRUE(setup.landscape);
  EXPECT_EQ(setup.output, "chosen.pdf");
  EXPECT_EQ(win::print::PagePixels(setup).cx, 4200);
  win::print::ResetPrinterChoices();
  setup = win::print::CurrentPrinterSetup();
  EXPECT_EQ(setup.paper, Paper::Letter);
  EXPECT_FALSE(setup.landscape);
  EXPECT_EQ(setup.output, "C:\\tmp\\file.pdf");
}

TEST_F(PrinterSettings, TheApplicationsProfileIsReadWhenNoFileIsNamed) {
  win::print::SetPrinterProfile(nullptr);
  EXPECT_EQ(win::print::CurrentPrinterSetup().paper, Paper::A4);  // no application: defaults
  {
    CWinApp app("Tolm");
    app.m_pszProfileName = strdup(ini_.c_str());
    Settings("Legal", "Portrait", 96);
    const win::print::PrinterSetup setup = win::print::CurrentPrinterSetup();
    EXPECT_EQ(setup.paper, Paper::Legal);
    EXPECT_EQ(setup.dpi, 96);
    EXPECT_EQ(setup.output, out_);
  }
  EXPECT_EQ(win::print::CurrentPrinterSetup().paper, Paper::A4);
}

}  // namespace
}  // namespace print_test
