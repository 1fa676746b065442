// A window system as a freshly started program finds it: no windows, no
// window maps of the class library, no GDI objects but the stock ones, and
// no resources registered. The fixtures of the dialog and page tests start
// and end each test with it, so that no window, timer or focus of one test
// reaches the next, whatever order they run in.
#pragma once

namespace testing_support {

void FreshWindowSystem();

}  // namespace testing_support
