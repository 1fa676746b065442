// Relative creation times of the attribute search.
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/environ.h"
#include "core/search_query.h"
#include "core/str_helpers.h"

namespace {

// Seconds per unit letter, 0 for any other character.
double unitSeconds(char letter) {
  switch (letter) {
    case 'd':
      return 86400.0;
    case 'h':
      return 3600.0;
    case 'm':
      return 60.0;
    default:
      return 0.0;
  }
}

// The decimal number a user wrote before a unit; 0 for text that is no
// finite number ("nan"), so the sum stays a number.
double numberBefore(const std::string& text) {
  const double value = std::atof(text.c_str());
  return std::isnan(value) ? 0.0 : value;
}

}  // namespace

CString relativeTime(const CString& spec, std::time_t now) {
  CString s = spec;
  s.Remove(' ');
  StrReplaceAll(s, "minus", "-", true);
  s.MakeLower();
  if (s.Find('-') < 0) return spec;  // an absolute time, as typed

  s.Remove('-');
  s.Replace(',', '.');
  // Longer spellings first, so "days" does not leave an "s" behind.
  for (const char* unit : {"days", "day"}) StrReplaceAll(s, unit, "d", true);
  for (const char* unit : {"hours", "hour"}) StrReplaceAll(s, unit, "h", true);
  for (const char* unit : {"minutes", "minute", "mins", "min"}) StrReplaceAll(s, unit, "m", true);

  // Each number counts in the unit letter after it; a number without a unit
  // at the end is ignored.
  double seconds = 0.0;
  std::string rest = s.str();
  for (;;) {
    const size_t at = rest.find_first_of("dhm");
    if (at == std::string::npos) break;
    seconds += numberBefore(rest.substr(0, at)) * unitSeconds(rest[at]);
    rest.erase(0, at + 1);
  }

  // Huge or infinite spans mean "since the beginning": the time never goes
  // before the epoch, and the conversion below stays defined.
  const double limit = now > 0 ? static_cast<double>(now) : 0.0;
  if (!(seconds >= 0.0)) seconds = 0.0;
  if (seconds > limit) seconds = limit;
  const std::time_t then = now - static_cast<std::time_t>(seconds);
  return Environ::timeText(then, true);
}

CString relativeTime(const CString& spec) { return relativeTime(spec, std::time(nullptr)); }
