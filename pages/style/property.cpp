#include "pages/style/property.h"

#include "core/logbook.h"
#include "pages/style/property_log.h"
#include "pages/style/property_struct.h"

StringHashSet& PropertyNames() {
  static StringHashSet names;
  return names;
}

int PropertyNameId(const char* name) { return PropertyNames().insert(name ? name : ""); }

Property::~Property() = default;

void Property::Print() const {}

Property* Property::FindById(int id, bool) { return id != kNoName && nameId == id ? this : nullptr; }

Property* Property::Find(const char* name, bool recursive) {
  return FindById(PropertyNameId(name), recursive);
}

CString Property::GetName() const {
  if (nameId == kNoName) return CString();
  return PropertyNames().at(nameId);
}

void StructLink::Set(PropertyStruct* target) {
  if (target == target_) return;
  if (target_) {
    auto& links = target_->linkedFrom_;
    for (auto it = links.begin(); it != links.end(); ++it)
      if (*it == this) {
        links.erase(it);
        break;
      }
  }
  target_ = target;
  if (target_) target_->linkedFrom_.push_back(this);
}

PropertyEnum* PropertyConst::EnumType() const { return static_cast<PropertyEnum*>(enumType_.Get()); }

void PropertyConst::SetEnumType(PropertyEnum* type) { enumType_.Set(type); }

void PropertyConst::Print() const {
  const PropertyEnum* type = EnumType();
  LogPropertyLine("%s%s %s = %s", ConstPrefix(), type ? type->GetName().c_str() : "enum",
                  GetName().c_str(), text.c_str());
}

void PropertyBoolean::Print() const {
  LogPropertyLine("%sBoolean %s = %s", ConstPrefix(), GetName().c_str(), value ? "TRUE" : "FALSE");
}

void PropertyColor::Print() const {
  LogPropertyLine("%sColor %s = (%d,%d,%d)", ConstPrefix(), GetName().c_str(),
                  static_cast<int>(GetRValue(value)), static_cast<int>(GetGValue(value)),
                  static_cast<int>(GetBValue(value)));
}

void PropertyValue::Print() const {
  CString line;
  line.Format("%sValue %s", ConstPrefix(), GetName().c_str());
  if (!unset) {
    CString number;
    number.Format(" = %1.3f", value);
    line += number;
  }
  LogPropertyLine("%s", line.c_str());
}

void PropertyString::Print() const {
  LogPropertyLine("%sString %s = \"%s\"", ConstPrefix(), GetName().c_str(), text.c_str());
}

void PropertyRect::Print() const {
  LogPropertyLine("%sRect %s = (%d,%d, %d,%d)", ConstPrefix(), GetName().c_str(),
                  static_cast<int>(rect.left), static_cast<int>(rect.top),
                  static_cast<int>(rect.right), static_cast<int>(rect.bottom));
}

void PropertyArea::Print() const {
  CString line;
  line.Format("%sArea %s = { ", ConstPrefix(), GetName().c_str());
  for (int i = 0; i < area.Count(); ++i) {
    const RECT r = area.RectAt(i);
    CString one;
    one.Format("(%d,%d, %dx%d)", static_cast<int>(r.left), static_cast<int>(r.top),
               static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
    line += one;
  }
  line += " }";
  LogPropertyLine("%s", line.c_str());
}

void PropertyFile::Print() const {
  LogPropertyLine("%sFile %s = \"%s\"", ConstPrefix(), GetName().c_str(), fileName.c_str());
}

Property* NewLeafProperty(PropertyKind kind) {
  switch (kind) {
    case kPropertyConst: return new PropertyConst;
    case kPropertyBoolean: return new PropertyBoolean;
    case kPropertyColor: return new PropertyColor;
    case kPropertyValue: return new PropertyValue;
    case kPropertyString: return new PropertyString;
    case kPropertyRect: return new PropertyRect;
    case kPropertyArea: return new PropertyArea;
    case kPropertyFile: return new PropertyFile;
    default: return nullptr;
  }
}
