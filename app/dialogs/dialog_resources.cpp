#include "app/dialogs/dialog_resources.h"

#include <cstddef>

#include "win/user.h"

extern "C" const unsigned char zemra_res_shell_dialogs[];
extern "C" const unsigned long zemra_res_shell_dialogs_size;

void RegisterShellDialogs() {
  // Tests reset the resource set between cases, so look rather than
  // remember.
  if (FindResource(nullptr, MAKEINTRESOURCE(kLoginDialog), RT_DIALOG)) return;
  win::RegisterResourceScript(nullptr, zemra_res_shell_dialogs,
                              static_cast<std::size_t>(zemra_res_shell_dialogs_size));
}
