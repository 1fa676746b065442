// Character entities: the table of the 100 named Latin-1 entities the client
// knows, and the two conversions built on it: entity references to Latin-1
// characters (for text shown to the user) and any text to plain lower-case
// ASCII (for sort keys, type names and comparisons).
#pragma once

#include <string_view>

#include "mfc/cstring.h"

struct EntityRow {
  const char* name;   // case-sensitive; the table is sorted by byte order
  int code;           // Latin-1 code of the character
  const char* ascii;  // transliteration into ASCII, may be empty
  const char* mac;    // Mac Roman rendering; carried along, read by no conversion
};

int EntityCount();
const EntityRow& EntityAt(int row);  // row in [0, EntityCount())

// Binary search by name. True with the row when found; false with the row
// where the name would be inserted.
bool FindEntity(std::string_view name, int& row);

// "&name;" references of known names become their Latin-1 character; anything
// else (unknown names, a reference without its ";") stays as it is.
CString DecodeEntities(const CString& s);

// Lower-case ASCII: known entities give their transliteration, Latin-1 letters
// theirs ("\xe4" gives "ae"), other control, "&" and high bytes are dropped.
// A NUL byte ends the text.
CString FoldToAscii(const CString& s);
