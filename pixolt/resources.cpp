// The library's own resources (pixolt.rc): registered as the module
// "Pixolt" when first asked for, and again if they were dropped.
#include "pixolt.h"
#include "win/user.h"

extern "C" const unsigned char zemra_res_pixolt[];
extern "C" const unsigned long zemra_res_pixolt_size;

namespace pixolt {

HINSTANCE ResourceModule() {
  HINSTANCE module = win::FindResourceModule("Pixolt");
  if (module && FindResource(module, MAKEINTRESOURCE(PIXOLT_DLG_CONVERSION), RT_DIALOG)) return module;
  return win::RegisterResourceScript("Pixolt", zemra_res_pixolt, static_cast<size_t>(zemra_res_pixolt_size));
}

}  // namespace pixolt
