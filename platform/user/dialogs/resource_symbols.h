// The names a resource script may use for numbers: window, dialog and
// control styles, the standard command ids and the virtual keys.
#pragma once

#include <cstdint>
#include <string_view>

namespace win::user {

// False for a name the table does not have. Names compare exactly (they
// are the C names).
bool LookUpResourceSymbol(std::string_view name, std::int64_t* value);

}  // namespace win::user
