#include "pages/media/media_positions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr LONG kLargest = 0x7FFFFFFF;

// Seconds as milliseconds; none for a negative or unrepresentable time.
std::optional<LONG> Milliseconds(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return std::nullopt;
  const double ms = std::trunc(seconds * 1000.0);
  if (ms > static_cast<double>(kLargest)) return std::nullopt;
  return static_cast<LONG>(ms);
}

std::optional<LONG> Position(long v) {
  if (v < 0) return std::nullopt;
  return static_cast<LONG>(v);
}

}  // namespace

MediaRange ReadSoundPosition(const char* text) {
  MediaRange range;
  double start = 0, end = 0;
  if (!text || std::sscanf(text, "%lf %lf", &start, &end) != 2) return range;
  range.from = Milliseconds(start);
  range.to = Milliseconds(end);
  return range;
}

MediaRange ReadMoviePosition(const char* text) {
  MediaRange range;
  if (!text || std::strncmp(text, "Rect", 4) != 0) return range;
  const char* p = std::strchr(text, ':');
  if (!p) return range;
  ++p;
  bool first = true;
  for (;;) {
    char* stop = nullptr;
    errno = 0;
    const long v = std::strtol(p, &stop, 10);
    // A number that cannot be read (or does not fit) ends the list.
    if (stop == p || errno == ERANGE || v > kLargest || v < -kLargest) break;
    if (first)
      range.from = Position(v);
    else
      range.to = Position(v);
    first = false;
    p = std::strchr(stop, ',');
    if (!p) break;
    ++p;
  }
  return range;
}
