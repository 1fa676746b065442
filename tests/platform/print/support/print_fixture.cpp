#include "print_fixture.h"

#include <filesystem>

#include "gdi/printer.h"
#include "win/kernel.h"
#include "win/user.h"

namespace print_test {

void PrintTest::SetUp() {
  win::ResetUserState();
  win::ResetGdiState();
  win::SetDisplayBitsPerPixel(24);
  win::print::InstallPdfPrinter();
  win::print::ResetPrinterChoices();
  win::print::SetPrintDialogHook(nullptr);
  ini_ = dir_.file("settings.ini");
  out_ = dir_.file("out.pdf");
  Settings("Letter", "Portrait", 300);
  win::print::SetPrinterProfile(ini_.c_str());
}

void PrintTest::TearDown() {
  win::print::SetPrintDialogHook(nullptr);
  win::print::SetPrinterProfile(nullptr);
  win::print::ResetPrinterChoices();
  // GDI's own tests expect its placeholder printer.
  win::gdi::SetPrinterProvider(nullptr);
  win::ResetGdiState();
  win::ResetUserState();
}

void PrintTest::Settings(const std::string& pageSize, const std::string& orientation, int dpi,
                         const std::string& output) {
  dir_.write("settings.ini", "[Printer]\nPageSize=" + pageSize + "\nOrientation=" + orientation +
                                 "\nResolution=" + std::to_string(dpi) +
                                 "\nOutput=" + (output.empty() ? out_ : output) + "\n");
}

HDC PrintTest::PrinterDc() {
  HDC dc = CreateDC(win::print::kPrinterDriver, win::print::kPrinterName, nullptr, nullptr);
  EXPECT_TRUE(dc);
  return dc;
}

int FilesBesideSettings(const testing_support::TempDir& dir) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().filename() != "settings.ini") ++n;
  }
  return n;
}

}  // namespace print_test
