// The string table of the program: the text it registers (win/resources.h).
// Callers use LoadString and win_string_resource (win/kernel.h); the parser
// is here so its rules can be checked directly.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "win/types.h"

namespace win {

using StringTable = std::unordered_map<UINT, std::string>;

// Lines "<id> <text>" (decimal id, one blank, the rest of the line); the
// escapes \n, \t and \\ stand for a new line, a tab and a backslash; lines
// starting with "#" and lines without an id are skipped; the first line of an
// id wins. CR LF and LF line ends are both accepted.
StringTable ParseStringTable(std::string_view text);

}  // namespace win
