// Style expressions: short texts of the form Name(assignments) from which a
// fresh struct is derived at run time - the style of a page object, the
// layout of a page, the action of a page element. A page expression may also
// name a style file to fetch ("... ) in <document>").
#pragma once

#include "mfc/cstring.h"
#include "pages/style/property_struct.h"

// A new struct derived from the type; null for null. The caller owns it.
PropertyStruct* InstantiateStruct(const PropertyStruct* type);
// The same for a struct entry only (null for any other entry).
PropertyStruct* InstantiateAnonymous(const Property* type);

// Parses "Name(assignments)" or plain "assignments". The leading name is
// looked up in the base (when given) and then in the style table; a struct
// found that way replaces the base. The result derives from the base (a
// struct without a type when there is none) and carries the assignments as
// its own members; the caller owns it. The base is never changed.
PropertyStruct* ApplyStyleAssignments(const char* text, const PropertyStruct* base);
// The same without the lookup of the leading name: the result always
// derives from the given base.
PropertyStruct* ApplyStyleAssignmentsTo(const char* text, const PropertyStruct* base);
// The leading name of "Name(...)"; "" otherwise.
CString GetStyleName(const char* text);
// Loads the style file that a page expression names after its last ")"
// with "in <document>": fetched through the file cache.
void LoadOnlineStyle(const char* text);
