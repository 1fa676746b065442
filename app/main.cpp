// The client program: the one application object, started as WinMain
// started it.
#include "app/zemra_app.h"
#include "mfc/app.h"
#include "win/kernel.h"

namespace {
ZemraApp theApp;
}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  return AfxWinMain(GetModuleHandle(nullptr), nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
}
