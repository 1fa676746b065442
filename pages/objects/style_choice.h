// How a page object's style is chosen from its style texts: the default
// text gives a first style, the object's own text either names a style of
// its own (which then replaces the first) or only refines the first.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/style/property_struct.h"

// Whether the leading name of "name(...)" is a struct of the context or of
// the style table.
bool StyleNameResolves(const char* text, const PropertyStruct* context);
// `next` takes the place of `candidate`. When `next` derives directly from
// the old candidate, the old one is kept alive as its base; otherwise it is
// deleted. A null `next` leaves the candidate.
void ReplaceStyle(PropertyStruct*& candidate, PropertyStruct* next);
// The style of an object from its default text (only when it has no style
// yet) and its style text; null when neither gives one. The caller owns it.
PropertyStruct* ChooseStyle(const PropertyStruct* context, const char* styleText,
                            const char* defaultStyleText, bool hasStyle);
// ChooseStyle, and then the object's Layout attribute (when it has one)
// refines the style chosen so far: what pages and dialogs give themselves.
PropertyStruct* ChooseStyleWithLayout(const PropertyStruct* context, const char* styleText,
                                      const char* defaultStyleText, bool hasStyle,
                                      const Ref<KXObject>& object);
