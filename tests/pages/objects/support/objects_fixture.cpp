#include "pages/objects/support/objects_fixture.h"

#include "mfc/dc.h"
#include "pages/page/vpage.h"
#include "win/user.h"

namespace pages_test {

namespace {

DWORD& TestTicks() {
  static DWORD ticks = 0;
  return ticks;
}
DWORD TestTickSource() { return TestTicks(); }

}  // namespace

void ObjectsTest::SetUp() {
  PagesTest::SetUp();
  clock_ = std::make_unique<testing_support::TestUserClock>();
  TestTicks() = 100000;
  SetPageTickSource(&TestTickSource);
  ASSERT_TRUE(window_.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0,
                               kWidth, kHeight, nullptr, nullptr));
  host_ = std::make_unique<WindowGroup>(&window_, kWidth, kHeight, true);
  host_->Initialize();
}

void ObjectsTest::TearDown() {
  host_.reset();
  if (window_.GetSafeHwnd()) window_.DestroyWindow();
  SetPageTickSource(nullptr);
  clock_.reset();
  PagesTest::TearDown();
}

std::unique_ptr<win::gdi::Surface> ObjectsTest::Shot() {
  Pump();
  {
    CClientDC dc(&window_);
    const RECT all{0, 0, kWidth, kHeight};
    host_->Paint(&dc, all);
  }
  return win::headless::CaptureWindow(window_.GetSafeHwnd());
}

void ObjectsTest::Advance(DWORD ms) {
  clock_->Advance(ms);
  TestTicks() += ms;
}

}  // namespace pages_test
