#include "pages/picture/part_makers.h"

namespace {
PartMakers gMakers;
}

PartMakers SetPartMakers(const PartMakers& makers) {
  const PartMakers previous = gMakers;
  gMakers = makers;
  return previous;
}

VObject* MakePartTitle(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle) {
  return gMakers.title ? gMakers.title(area, object, partStyle) : nullptr;
}

VObject* MakePagingButton(int left, int top, int right, int bottom, const char* caption) {
  return gMakers.button ? gMakers.button(left, top, right, bottom, caption) : nullptr;
}
