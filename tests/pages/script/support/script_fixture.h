// What the script player tests share: a script page without a window (its
// timer is the test's call), a background picture and a toolbar as its
// parts, a page clock that moves only when the test moves it, and the
// script log in the test's own temporary directory.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/page/vsyncpage.h"
#include "pages/picture/support/picture_fixture.h"
#include "pages/script/sync_script.h"

class VImage;
class VLabel;

namespace pages_test {

class ScriptTest : public PictureTest {
 public:
  // The page clock (milliseconds).
  static unsigned& Ticks();

 protected:
  void SetUp() override;
  void TearDown() override;

  // A player for the text as a script file, held by the page, not started.
  SyncScript* Load(const std::string& text, const std::string& name = "show.syn");
  // Load and Start.
  SyncScript* Play(const std::string& text);
  // Moves the page clock on and gives the page one timer message.
  void Run(unsigned ms);
  // The lines of the script log so far (none before it is made).
  std::vector<std::string> ScriptLog() const;
  // The log lines that report errors, without their prefix up to ": ".
  std::vector<std::string> Errors() const;
  // A picture of that size; its path.
  std::string Picture(const std::string& name, int w, int h);
  // The cursor's display count now.
  static int CursorCount();

  std::unique_ptr<VSyncpage> page_;
  VImage* background_ = nullptr;
  VLabel* toolbar_ = nullptr;

 private:
  std::optional<std::string> oldTemp_;
};

}  // namespace pages_test
