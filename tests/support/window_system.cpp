#include "support/window_system.h"

#include "mfc/afx.h"
#include "win/gdi.h"
#include "win/user.h"

namespace testing_support {

void FreshWindowSystem() {
  AfxResetWindowMaps();
  win::ResetUserState();
  win::ResetGdiState();
  // The stock objects are made again before anything selects one.
  GetStockObject(WHITE_BRUSH);
  win::ResetResources();
}

}  // namespace testing_support
