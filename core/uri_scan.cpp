#include "core/uri_scan.h"

namespace uri_scan {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A NUL ends the stretch a search looks at.
std::string_view UpToNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

}  // namespace

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsDigit(c)) return false;
  return true;
}

bool IsDottedAddress(std::string_view text) {
  std::size_t i = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (i >= text.size() || text[i] != '.') return false;
      ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == start) return false;
  }
  return i == text.size();
}

bool IsDots(std::string_view text) {
  return !text.empty() && text.find_first_not_of('.') == std::string_view::npos;
}

bool IsDotSeparated(std::string_view text) {
  // Labels of at least one byte each: no dot at either end, no two in a row.
  if (text.empty() || text.front() == '.' || text.back() == '.') return false;
  return text.find("..") == std::string_view::npos && text.find('\0') == std::string_view::npos;
}

bool FindSegmentUp(std::string_view path, std::size_t& begin, std::size_t& end) {
  path = UpToNul(path);
  const std::size_t n = path.size();
  // The segment starting at `from`, when it is one followed by "/..";
  // sets `end` past the match.
  auto segmentUp = [&](std::size_t from) {
    std::size_t i = from;
    while (i < n && path[i] != '/' && path[i] != '.') ++i;
    if (i == from || path.compare(i, 3, "/..") != 0) return false;
    i += 3;
    if (i < n && path[i] != '/') return false;
    end = i < n ? i + 1 : i;
    return true;
  };
  for (std::size_t at = 0; at < n; ++at) {
    if (at == 0 && segmentUp(0)) {
      begin = 0;
      return true;
    }
    if (path[at] == '/' && segmentUp(at + 1)) {
      begin = at;
      return true;
    }
  }
  return false;
}

}  // namespace uri_scan
