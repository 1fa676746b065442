// The page tests' window setting: an application whose main window is a
// frame, and a child window of the frame that is the parent of the pages
// (as the client's view is), with the page area its whole client area.
#pragma once

#include <memory>

#include "mfc/afx.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_objects.h"

class VPage;

namespace pages_test {

class PageTest : public PagesTest {
 protected:
  static constexpr int kPageWidth = 320;
  static constexpr int kPageHeight = 240;

  void SetUp() override;
  void TearDown() override;

  // Shows the object as the current page (the idle processing's call).
  VPage* Show(const Ref<KXObject>& object);
  // Paints whatever waits to be painted.
  static void Settle();

  std::unique_ptr<CWinApp> app_;
  CWnd frame_;
  CWnd parent_;
  TestObjects objects_;
};

}  // namespace pages_test
