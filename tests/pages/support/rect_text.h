// Rectangles as text, for comparisons with readable failure messages.
#pragma once

#include <string>

#include "win/types.h"

namespace pages_test {

inline std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

}  // namespace pages_test
