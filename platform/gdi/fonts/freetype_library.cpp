#include "gdi/fonts/freetype_library.h"

#include FT_MODULE_H

namespace win::gdi::fonts {

namespace {

FT_Library Start() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return nullptr;
  // The environment may have chosen another interpreter or darkening; the
  // pictures we compare against were made with these.
  FT_UInt interpreter = 40;
  FT_Property_Set(lib, "truetype", "interpreter-version", &interpreter);
  FT_Bool noDarkening = 1;
  FT_Property_Set(lib, "autofitter", "no-stem-darkening", &noDarkening);
  FT_Property_Set(lib, "cff", "no-stem-darkening", &noDarkening);
  return lib;
}

}  // namespace

FT_Library FreeTypeLibrary() {
  // Never released: glyphs and faces made from it live until the process ends.
  static FT_Library lib = Start();
  return lib;
}

}  // namespace win::gdi::fonts
