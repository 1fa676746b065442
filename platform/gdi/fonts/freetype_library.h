// The one FreeType library of the process, with its rendering settings pinned
// so that glyph pixels do not depend on the environment (FREETYPE_PROPERTIES)
// or on FreeType's build defaults.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace win::gdi::fonts {

// Null when FreeType could not start; text then measures 0 and draws nothing.
FT_Library FreeTypeLibrary();

// Every glyph is loaded with these flags: grey-scale anti-aliasing with the
// native TrueType hinter (interpreter version 40), never embedded bitmaps.
inline constexpr FT_Int32 kGlyphLoadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_BITMAP;

}  // namespace win::gdi::fonts
