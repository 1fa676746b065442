// Path normalisation after a successful parse: "." steps go, and a segment
// followed by ".." goes together with it.
#include <string>
#include <string_view>

#include "core/uri.h"
#include "core/uri_scan.h"

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Whether a step below can apply: each needs a "." that is a whole step
// (".", "./", "/." at the end) or part of a "..".
bool MayNeedNormalising(std::string_view p) {
  for (std::size_t at = p.find('.'); at != std::string_view::npos; at = p.find('.', at + 1)) {
    const bool stepStart = at == 0 || p[at - 1] == '/' || p[at - 1] == '.';
    const bool stepEnd = at + 1 == p.size() || p[at + 1] == '/' || p[at + 1] == '.';
    if (stepStart || stepEnd) return true;
  }
  return false;
}

}  // namespace

void NormaliseUriPath(CString& path) {
  if (!MayNeedNormalising(path.view())) return;
  std::string p = path.str();
  while (p.size() > 1 && StartsWith(p, "./")) p.erase(0, 2);
  if (p.size() >= 2 && p.compare(p.size() - 2, 2, "/.") == 0) p.pop_back();
  if (p == ".") p.clear();
  for (std::size_t at = p.find("/./"); at != std::string::npos; at = p.find("/./"))
    p.erase(at, 2);

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
    std::size_t begin = 0;
    std::size_t end = 0;
    if (!uri_scan::FindSegmentUp(p, begin, end)) break;
    if (begin > 0) {
      // Keep the "/" the match starts with.
      p = p.substr(0, begin + 1) + p.substr(end);
    } else {
      p.erase(0, end);
    }
  }
  path = CString(std::move(p));
}
