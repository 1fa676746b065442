// Objects of other kinds that the picture objects and clusters put on a
// page: the title of a server object and a paging button. Their makers sit
// with those objects and are installed at start-up; until then none are
// made and the picture objects go without titles and buttons.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"

class Area;
class PropertyStruct;
class VObject;

struct PartMakers {
  // The object's title for a part with the given style, taken from the
  // area (a strip of it, or the style's own place); null when none is
  // wanted or there is no room. The caller owns it.
  VObject* (*title)(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle) = nullptr;
  // A button with a caption (a multi-language text) that notifies its
  // parent when clicked. The caller owns it.
  VObject* (*button)(int left, int top, int right, int bottom, const char* caption) = nullptr;
};

// Installs the makers (an empty set removes them); the ones before.
PartMakers SetPartMakers(const PartMakers& makers);
VObject* MakePartTitle(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle);
VObject* MakePagingButton(int left, int top, int right, int bottom, const char* caption);
