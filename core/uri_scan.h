// Plain scans of the few shapes the URI parser checks whole: a port, a
// dotted address, a run of dots, dot-separated labels, and a path segment
// followed by "..". Each answers what the equivalent regular expression
// would (noted beside it) without running a matcher. The first four take
// the whole text, which a NUL byte never belongs to.
#pragma once

#include <cstddef>
#include <string_view>

namespace uri_scan {

// "^[0-9]+$"
bool IsDigits(std::string_view text);
// "^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$"
bool IsDottedAddress(std::string_view text);
// "^\.+$"
bool IsDots(std::string_view text);
// "^[^\.]+(\.[^\.]+)*$"
bool IsDotSeparated(std::string_view text);

// The first match of "(^|/)[^/\.]+/\.\.(/|$)" in `path`: a segment without
// dots, at the start or after a "/", followed by "/.." at the end or before
// a "/". False when there is none; else [begin, end) is the match, which
// begins with the "/" when there is one before the segment.
bool FindSegmentUp(std::string_view path, std::size_t& begin, std::size_t& end);

}  // namespace uri_scan
