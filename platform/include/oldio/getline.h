// Line reading with the pre-standard iostream behaviour the client's readers
// were written for.
#pragma once

#include <istream>

namespace oldio {

// Reads a line into `buf`: at most size - 1 characters, always NUL-ended
// (when size >= 1). The delimiter is taken from the stream but not stored,
// also when it directly follows size - 1 characters. A longer line leaves
// the rest in the stream for the next call, and the stream stays good (the
// standard getline would fail it). The stream fails only when no character
// and no delimiter could be read (at the end of the input).
std::istream& getline(std::istream& in, char* buf, int size, char delim = '\n');

}  // namespace oldio
