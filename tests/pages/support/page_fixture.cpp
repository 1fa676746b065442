#include "pages/support/page_fixture.h"

#include "core/screen_geometry.h"
#include "display/headless.h"
#include "pages/objects/background_sound.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"

namespace pages_test {

void PageTest::SetUp() {
  PagesTest::SetUp();
  objects_.Install();
  SetScreenRect(RECT{0, 0, kPageWidth, kPageHeight});
  shell_.pageArea = RECT{0, 0, kPageWidth, kPageHeight};
  app_ = std::make_unique<CWinApp>("Tolm");
  ASSERT_TRUE(frame_.CreateEx(0, AfxRegisterWndClass(0), "Tolm", WS_POPUP | WS_VISIBLE, 0, 0,
                              kPageWidth, kPageHeight, nullptr, nullptr));
  ASSERT_TRUE(parent_.CreateEx(0, AfxRegisterWndClass(0), "view", WS_CHILD | WS_VISIBLE, 0, 0,
                               kPageWidth, kPageHeight, frame_.GetSafeHwnd(), nullptr));
  app_->m_pMainWnd = &frame_;
}

void PageTest::TearDown() {
  DestroyCurrentPage();
  SetBackgroundSound(nullptr, CString());
  if (app_) app_->m_pMainWnd = nullptr;
  if (parent_.GetSafeHwnd()) parent_.DestroyWindow();
  if (frame_.GetSafeHwnd()) frame_.DestroyWindow();
  app_.reset();
  shell_.current = nullptr;
  objects_.Remove();
  PagesTest::TearDown();
}

VPage* PageTest::Show(const Ref<KXObject>& object) {
  shell_.current = object;
  VPage* page = setCurrentPage(&parent_, TRUE);
  Settle();
  return page;
}

void PageTest::Settle() { win::headless::DispatchPending(); }

}  // namespace pages_test
