#include "pages/objects/style_choice.h"

#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

bool StyleNameResolves(const char* text, const PropertyStruct* context) {
  const CString name = GetStyleName(text);
  if (name.IsEmpty()) return false;
  const Property* found = context ? context->StyleQuery(name) : nullptr;
  if (!found || found->kind != kPropertyStruct) found = StyleTable().StyleQuery(name);
  return found && found->kind == kPropertyStruct;
}

void ReplaceStyle(PropertyStruct*& candidate, PropertyStruct* next) {
  if (!next) return;
  if (candidate && next->TypeLink() == candidate)
    next->AdoptBase(candidate);
  else
    delete candidate;
  candidate = next;
}

PropertyStruct* ChooseStyle(const PropertyStruct* context, const char* styleText,
                            const char* defaultStyleText, bool hasStyle) {
  PropertyStruct* candidate = nullptr;
  if (!hasStyle && defaultStyleText && *defaultStyleText)
    candidate = ApplyStyleAssignments(defaultStyleText, context);
  if (styleText && *styleText) {
    // A style text whose name the styles do not define ("image()" while only
    // "Image()" exists) keeps the default and adds its assignments to it.
    PropertyStruct* next = candidate && !StyleNameResolves(styleText, context)
                               ? ApplyStyleAssignmentsTo(styleText, candidate)
                               : ApplyStyleAssignments(styleText, context);
    ReplaceStyle(candidate, next);
  }
  return candidate;
}

PropertyStruct* ChooseStyleWithLayout(const PropertyStruct* context, const char* styleText,
                                      const char* defaultStyleText, bool hasStyle,
                                      const Ref<KXObject>& object) {
  PropertyStruct* candidate = ChooseStyle(context, styleText, defaultStyleText, hasStyle);
  if (object) {
    const CString layout = object->getLayout();
    if (!layout.IsEmpty()) ReplaceStyle(candidate, ApplyStyleAssignments(layout, candidate));
  }
  return candidate;
}
