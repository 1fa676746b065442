#include "pages/style/property_getters.h"

#include <cmath>
#include <cstdint>

#include "pages/transitions/transitions.h"

PropertyStruct* getStruct(Property* entry) {
  return entry && entry->kind == kPropertyStruct ? static_cast<PropertyStruct*>(entry) : nullptr;
}

const PropertyStruct* getStruct(const Property* entry) {
  return entry && entry->kind == kPropertyStruct ? static_cast<const PropertyStruct*>(entry)
                                                 : nullptr;
}

int getBool(const Property* entry, int def) {
  if (!entry || entry->kind != kPropertyBoolean) return def;
  return static_cast<const PropertyBoolean*>(entry)->value;
}

COLORREF getColor(const Property* entry, COLORREF def) {
  if (!entry || entry->kind != kPropertyColor) return def;
  const COLORREF c = static_cast<const PropertyColor*>(entry)->value;
  return c == kUnsetColor ? def : c;
}

int getInt(const Property* entry, int def) {
  if (!entry || entry->kind != kPropertyValue) return def;
  const auto* v = static_cast<const PropertyValue*>(entry);
  if (v->unset || std::isnan(v->value)) return def;
  if (v->value >= 2147483647.0) return INT32_MAX;
  if (v->value <= -2147483648.0) return INT32_MIN;
  return static_cast<int>(v->value);
}

double getValue(const Property* entry, double def) {
  if (!entry || entry->kind != kPropertyValue) return def;
  const auto* v = static_cast<const PropertyValue*>(entry);
  return v->unset ? def : v->value;
}

CString getString(const Property* entry, const CString& def) {
  if (!entry || entry->kind != kPropertyString) return def;
  return static_cast<const PropertyString*>(entry)->text;
}

CString getConstant(const Property* entry, const CString& def) {
  if (!entry || entry->kind != kPropertyConst) return def;
  return static_cast<const PropertyConst*>(entry)->text;
}

CString getFile(const Property* entry, const CString& def) {
  if (!entry || entry->kind != kPropertyFile) return def;
  const CString& name = static_cast<const PropertyFile*>(entry)->fileName;
  return name.IsEmpty() ? def : name;
}

RECT getRect(const Property* entry, const RECT& def) {
  if (!entry || entry->kind != kPropertyRect) return def;
  const RECT& r = static_cast<const PropertyRect*>(entry)->rect;
  const bool hasArea = std::int64_t{r.right} - r.left > 0 && std::int64_t{r.bottom} - r.top > 0;
  return hasArea ? r : def;
}

Area getArea(const Property* entry, const Area& def) {
  if (!entry || entry->kind != kPropertyArea) return def;
  const Area& a = static_cast<const PropertyArea*>(entry)->area;
  return a.Count() > 0 ? a : def;
}

bool getTopBottom(const Property* entry, bool def) {
  const CString text = getConstant(entry, CString());
  if (text == "TOP") return true;
  if (text == "BOTTOM") return false;
  return def;
}

bool getRelPos(const PropertyStruct* style, bool def) {
  return style ? getTopBottom(style->StyleQuery("relpos"), def) : def;
}

bool getVisible(const PropertyStruct* style, bool def) {
  return style ? getBool(style->StyleQuery("visible"), def) != 0 : def;
}

int getTransition(const Property* entry, int def) {
  if (!entry || entry->kind != kPropertyConst) return def;
  const int effect = TransitionFromName(static_cast<const PropertyConst*>(entry)->text);
  return effect < 0 ? def : effect;
}

DWORD SecondsToMilliseconds(double seconds) {
  if (std::isnan(seconds) || seconds <= 0.0) return 0;
  const double ms = seconds * 1000.0;
  if (ms >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<DWORD>(ms);
}
