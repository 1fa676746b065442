// The static magic table shared by the loader and the matcher.
#pragma once

#include "core/magic.h"

namespace magic_detail {

struct Table {
  MagicEntry entries[kMagicSlots];
  int count;
};
Table& table();

}  // namespace magic_detail
