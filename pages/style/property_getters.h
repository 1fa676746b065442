// The typed getters every page object reads its style with. Each takes an
// entry (usually what a StyleQuery found, possibly null) and a default, and
// gives the entry's value only when the entry is of the kind named and set;
// the default in every other case. No getter converts between kinds.
#pragma once

#include "mfc/cstring.h"
#include "pages/area/area.h"
#include "pages/style/property_struct.h"
#include "win/types.h"

PropertyStruct* getStruct(Property* entry);
const PropertyStruct* getStruct(const Property* entry);
int getBool(const Property* entry, int def);
COLORREF getColor(const Property* entry, COLORREF def);
// A Value truncated toward zero and held inside the int range.
int getInt(const Property* entry, int def);
double getValue(const Property* entry, double def);
CString getString(const Property* entry, const CString& def);
// The text of an enumeration value.
CString getConstant(const Property* entry, const CString& def);
CString getFile(const Property* entry, const CString& def);
// A rectangle with a width and a height above 0.
RECT getRect(const Property* entry, const RECT& def);
// A copy of an area that holds at least one rectangle.
Area getArea(const Property* entry, const Area& def);
// The enumeration value TOP (true) or BOTTOM (false), exactly.
bool getTopBottom(const Property* entry, bool def);
// getTopBottom of the struct's "relpos", getBool of its "visible".
bool getRelPos(const PropertyStruct* style, bool def);
bool getVisible(const PropertyStruct* style, bool def);
// The effect number of an enumeration value that names a transition.
int getTransition(const Property* entry, int def);

// Seconds of a style or a script as milliseconds of the page clock:
// truncated, 0 for anything at or below 0, held at the largest 32-bit
// count (so "end" values beyond it mean "never").
DWORD SecondsToMilliseconds(double seconds);
