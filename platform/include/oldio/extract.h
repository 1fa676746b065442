// Extraction of 32-bit integers as the old runtime did it: an optionally
// signed decimal text whose value is kept modulo 2^32, so "4294967295" read
// as a LONG gives -1 and "2147483648" gives -2147483648 (the standard
// extractors fail such texts and store a clamped value).
#pragma once

#include <istream>

#include "win/types.h"

namespace oldio {

// Leading white space is skipped when the stream skips it. The stream fails
// (and `value` stays as it was) only when no digit follows the optional
// sign; the end of the input after the digits sets eof.
std::istream& extract(std::istream& in, LONG& value);
std::istream& extract(std::istream& in, DWORD& value);

}  // namespace oldio
