// An application object whose settings file is a fresh file with the given
// text, for tests of code that reads the application's profile.
#pragma once

#include <string>

#include "mfc/app.h"
#include "support/temp_dir.h"

class ProfileApp {
 public:
  explicit ProfileApp(const std::string& iniText);
  ~ProfileApp();
  const std::string& iniPath() const { return ini_; }
  const testing_support::TempDir& dir() const { return dir_; }

 private:
  testing_support::TempDir dir_;
  std::string ini_;
  CWinApp app_;
};
