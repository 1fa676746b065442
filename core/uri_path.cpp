// Path normalisation after a successful parse: "." steps go, and a segment
// followed by ".." goes together with it.
#include <string>

#include "core/regexp.h"
#include "core/uri.h"

namespace {

// A segment without dots followed by "/..", at the start or after a "/".
Regexp& SegmentUpPattern() {
  static Regexp rx("(^|/)[^/\\.]+/\\.\\.(/|$)");
  return rx;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

void NormaliseUriPath(CString& path) {
  std::string p = path.str();
  while (p.size() > 1 && StartsWith(p, "./")) p.erase(0, 2);
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, "/.") == 0) p.pop_back();
  if (p == ".") p.clear();
  for (std::size_t at = p.find("/./"); at != std::string::npos; at = p.find("/./"))
    p.erase(at, 2);

  Regexp& rx = SegmentUpPattern();
  for (;;) {
    // Steps above the start have nowhere to go and are dropped.
    while (p.size() > 1 && StartsWith(p, "..")) {
      if (StartsWith(p, "../")) {
        p.erase(0, 3);
      } else if (p == "..") {
        p.clear();
      } else {
        break;  // "..x" is a name
      }
    }
    std::string buffer = p;  // Search writes a NUL at the end
    const int length = rx.Search(buffer.data(), static_cast<int>(buffer.size()), 0);
    if (length < 0) break;
    const auto begin = static_cast<std::size_t>(rx.BeginningOfMatch(0));
    const auto end = static_cast<std::size_t>(rx.EndOfMatch(0));
    if (begin > 0) {
      // Keep the "/" the match starts with.
      p = p.substr(0, begin + 1) + p.substr(end);
    } else {
      p.erase(0, end);
    }
  }
  path = CString(std::move(p));
}
