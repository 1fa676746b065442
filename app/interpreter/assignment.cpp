// "set" and the assignments it makes to page objects.
#include "app/interpreter/assignment.h"

#include <optional>
#include <variant>

#include "app/interpreter/command_text.h"
#include "app/interpreter/interpreter.h"
#include "core/logbook.h"
#include "core/screen_geometry.h"
#include "pages/objects/vgroup.h"
#include "pages/style/property_struct.h"

namespace {

using command_text::ReadIdentifier;
using command_text::SkipSpace;

struct Where {
  VObject* object;
  CString property;
};

// Walks "child.child.property" down from the object; nothing when the path
// is refused.
std::optional<Where> WalkPath(VObject* object, const char** cursor) {
  for (;;) {
    SkipSpace(cursor);
    if (!**cursor) return std::nullopt;
    CString name = ReadIdentifier(cursor);
    if (name.IsEmpty()) return std::nullopt;
    PropertyStruct* style = object->GetStyle();
    if (!style) return std::nullopt;
    if (name == style->GetName() || !object->IsGroup()) return Where{object, name};
    for (VObject* child = static_cast<VGroup*>(object)->FirstChild(); child; child = child->Next()) {
      if (child->GetName() == name) {
        object = child;
        break;
      }
    }
    SkipSpace(cursor);
    if (**cursor != '.') return Where{object, name};
    ++*cursor;
  }
}

struct RectValue {
  RECT rect;
};
struct ColorValue {
  COLORREF color;
};
struct NumberValue {
  int number;
};
struct BoolValue {
  bool value;
};
using Value = std::variant<CString, BoolValue, ColorValue, NumberValue, RectValue>;

// The value as the property's kind reads it; nothing when it cannot be
// one.
std::optional<Value> ReadValue(PropertyKind kind, const char** cursor) {
  switch (kind) {
    case kPropertyConst:
    case kPropertyEnum:
      return Value{ReadIdentifier(cursor)};
    case kPropertyBoolean: {
      const CString word = ReadIdentifier(cursor);
      if (word == "TRUE" || word == "1") return Value{BoolValue{true}};
      if (word == "FALSE" || word == "0") return Value{BoolValue{false}};
      return std::nullopt;
    }
    case kPropertyColor:
      return Value{ColorValue{command_text::ReadColor(cursor)}};
    case kPropertyValue:
      return Value{NumberValue{command_text::ReadNumber(cursor)}};
    case kPropertyString:
    case kPropertyFile:
      return Value{command_text::ReadQuotedString(cursor)};
    case kPropertyRect: {
      const CString text = command_text::ReadQuotedString(cursor);
      return Value{RectValue{ReadRect(text)}};
    }
    default:
      return std::nullopt;
  }
}

bool Apply(VObject* object, const CString& name, const Value& value) {
  if (const auto* text = std::get_if<CString>(&value)) return object->SetStringAttribute(name, *text);
  if (const auto* b = std::get_if<BoolValue>(&value)) return object->SetBoolAttribute(name, b->value);
  if (const auto* c = std::get_if<ColorValue>(&value)) return object->SetColorAttribute(name, c->color);
  if (const auto* n = std::get_if<NumberValue>(&value))
    return object->SetNumberAttribute(name, n->number);
  const RECT& r = std::get<RectValue>(value).rect;
  return object->SetRectAttribute(name, r.left, r.top, r.right, r.bottom);
}

}  // namespace

int Interpreter::Assign(VObject* object, const char* text) {
  if (!object || !text) return 0;
  const char* cursor = text;
  const std::optional<Where> where = WalkPath(object, &cursor);
  if (!where) return 0;
  SkipSpace(&cursor);
  if (*cursor != '=') {
    TheLogbook().Write("= missing");
    return 0;
  }
  ++cursor;
  SkipSpace(&cursor);
  const PropertyStruct* style = where->object->GetStyle();
  if (!style || !style->IsStruct()) return 0;
  const Property* member = style->StyleQuery(where->property);
  if (!member) return 0;
  const std::optional<Value> value = ReadValue(member->Kind(), &cursor);
  if (!value) return 0;
  // Whatever follows the value makes the whole assignment wrong: refuse it
  // before the object is changed.
  SkipSpace(&cursor);
  if (*cursor) return 0;
  return Apply(where->object, where->property, *value) ? 1 : 0;
}

void ExecuteSet(VGroup* page, const CString& line, const char* afterKeyword) {
  const char* cursor = afterKeyword;
  const CString name = ReadIdentifier(&cursor);
  if (!page) return;
  // No name names nothing (not an unnamed object).
  VObject* object = name.IsEmpty() ? nullptr : page->FindByName(name, true);
  SkipSpace(&cursor);
  if (object && *cursor == '.' && Interpreter::Assign(object, cursor + 1)) return;
  TheLogbook().Write("invalid assignment: " + line);
}
