// The entries of the style table: named, typed values that the style files
// declare (constants of enumerations, Booleans, colours, values, strings,
// rectangles, areas, file names) and structs of such entries (see
// property_struct.h). An entry holds its name as an index into the one
// program-wide name set, so names compare as numbers.
#pragma once

#include <cstdint>

#include "core/string_hash_set.h"
#include "mfc/cstring.h"
#include "pages/area/area.h"
#include "win/types.h"

// The kinds of entries; the numbers are the type numbers the table stores.
enum PropertyKind : std::int32_t {
  kPropertyConst = 1,
  kPropertyBoolean = 2,
  kPropertyColor = 3,
  kPropertyValue = 4,
  kPropertyString = 5,
  kPropertyStruct = 6,
  kPropertyRect = 7,
  kPropertyArea = 8,
  kPropertyFile = 9,
  kPropertyEnum = 10
};

// A colour that was never given.
inline constexpr COLORREF kUnsetColor = 0xFF000000u;
// The name id of an entry without a name.
inline constexpr int kNoName = -1;

// Every name any entry or lookup has used; ids stay valid for the whole run.
StringHashSet& PropertyNames();
// The id of a name, registering it; kNoName when the set cannot grow.
int PropertyNameId(const char* name);

class PropertyStruct;
class PropertyEnum;

class Property {
 public:
  Property(const Property&) = delete;
  Property& operator=(const Property&) = delete;
  virtual ~Property();
  // Writes the entry to the logbook, one line per call.
  virtual void Print() const;
  // A leaf: itself when its name id is `id`. Structs search their members.
  virtual Property* FindById(int id, bool recursive);
  Property* Find(const char* name, bool recursive);

  CString GetName() const;
  PropertyKind Kind() const { return kind; }
  // A struct of members (an enumeration type is not one).
  bool IsStruct() const { return kind == kPropertyStruct; }

  const PropertyKind kind;
  int nameId = kNoName;
  bool isConst = false;

 protected:
  explicit Property(PropertyKind k) : kind(k) {}
  // "const " for a constant entry.
  const char* ConstPrefix() const { return isConst ? "const " : ""; }
};

// A struct kept by another entry without owning it. When the struct goes
// away the link is cleared, so no entry ever reaches a freed struct (after a
// redefinition or a reload of the style files, for instance).
class StructLink {
 public:
  StructLink() = default;
  StructLink(const StructLink&) = delete;
  StructLink& operator=(const StructLink&) = delete;
  ~StructLink() { Set(nullptr); }
  void Set(PropertyStruct* target);
  PropertyStruct* Get() const { return target_; }

 private:
  friend class PropertyStruct;
  PropertyStruct* target_ = nullptr;
};

// A value of an enumeration: its text, and the enumeration it belongs to.
class PropertyConst : public Property {
 public:
  PropertyConst() : Property(kPropertyConst) {}
  void Print() const override;
  PropertyEnum* EnumType() const;
  void SetEnumType(PropertyEnum* type);

  CString text;

 private:
  StructLink enumType_;
};

class PropertyBoolean : public Property {
 public:
  PropertyBoolean() : Property(kPropertyBoolean) {}
  void Print() const override;
  std::int32_t value = 0;
};

class PropertyColor : public Property {
 public:
  PropertyColor() : Property(kPropertyColor) {}
  void Print() const override;
  COLORREF value = kUnsetColor;
};

class PropertyValue : public Property {
 public:
  PropertyValue() : Property(kPropertyValue) {}
  void Print() const override;
  void Set(double v) {
    value = v;
    unset = 0;
  }
  double value = 0.0;
  std::int32_t unset = 1;
};

class PropertyString : public Property {
 public:
  PropertyString() : Property(kPropertyString) {}
  void Print() const override;
  CString text;
};

class PropertyRect : public Property {
 public:
  PropertyRect() : Property(kPropertyRect) {}
  void Print() const override;
  RECT rect{0, 0, 0, 0};
};

class PropertyArea : public Property {
 public:
  PropertyArea() : Property(kPropertyArea) {}
  void Print() const override;
  Area area;
};

class PropertyFile : public Property {
 public:
  PropertyFile() : Property(kPropertyFile) {}
  void Print() const override;
  CString fileName;
  CString second;
  std::int32_t flag = 0;
};

// A new entry of the kind with its default value; null for the struct kinds
// (they are made by their own constructors) and unknown kinds.
Property* NewLeafProperty(PropertyKind kind);
