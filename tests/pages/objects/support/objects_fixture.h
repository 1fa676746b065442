// What the tests of labels, titles, tool bars, hints and dialogs share: a
// clock that moves only when the test moves it
// (for USER's timers and the pages' tick count alike), and a top-level
// window with a group that stands for its page, in which objects are
// painted and photographed.
#pragma once

#include <memory>

#include "core/languages.h"
#include "display/headless.h"
#include "mfc/afx.h"
#include "pages/support/pages_fixture.h"
#include "pages/support/test_page_objects.h"
#include "support/user_clock.h"

namespace pages_test {

class ObjectsTest : public PagesTest {
 protected:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;

  void SetUp() override;
  void TearDown() override;

  // The host group, initialised, holding `object` (appended).
  template <class T>
  T* Add(T* object) {
    host_->AppendChild(object);
    if (!object->Has(VObject::kInitialised)) object->Initialize();
    return object;
  }
  // Paints the host group into its window and takes its picture.
  std::unique_ptr<win::gdi::Surface> Shot();
  // Moves both clocks.
  void Advance(DWORD ms);
  // Dispatches what waits (timers that are due included).
  static void Pump() { win::headless::DispatchPending(); }

  std::unique_ptr<testing_support::TestUserClock> clock_;
  CWnd window_;
  std::unique_ptr<WindowGroup> host_;
};

// A colour as the picture of a window holds it (0xRRGGBB).
inline std::uint32_t Px(COLORREF c) {
  return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace pages_test
