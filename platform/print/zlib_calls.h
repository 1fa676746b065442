// zlib, which only the PDF printer uses, is loaded the first time a page is
// compressed rather than by every program at its start.
#pragma once

#include <zlib.h>

#include <string>

namespace win::print {

struct ZlibCalls {
  int (*init)(z_streamp stream, int level, const char* version, int streamSize);  // deflateInit_
  int (*compress)(z_streamp stream, int flush);  // deflate
  int (*end)(z_streamp stream);  // deflateEnd
};

// The functions, or null (and `error` says why) when zlib cannot be loaded.
const ZlibCalls* Zlib(std::string* error);

}  // namespace win::print
