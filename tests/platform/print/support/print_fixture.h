// The printing tests' fixture: a fresh GDI and USER state, the PDF printer
// installed, and a settings file of the test's own for [Printer].
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"
#include "win/gdi.h"
#include "win/print.h"

namespace print_test {

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes [Printer] of the test's settings file; `output` "" leaves the
  // default (out.pdf in the test's directory).
  void Settings(const std::string& pageSize, const std::string& orientation, int dpi,
                const std::string& output = "");
  // The PDF printer's DC (current setup), or a failed test.
  HDC PrinterDc();

  testing_support::TempDir dir_;
  std::string ini_;
  std::string out_;  // the default output file
};

// Files in the test's directory other than the settings file.
int FilesBesideSettings(const testing_support::TempDir& dir);

}  // namespace print_test
