#include "net/reply.h"

bool Reply::splitTexts(std::vector<CString>& out) const {
  out.clear();
  const std::string& all = firstText.str();
  size_t at = 0;
  for (LONG length : lengths) {
    if (length < 0 || static_cast<size_t>(length) > all.size() - at) {
      out.clear();
      return false;
    }
    out.emplace_back(all.data() + at, static_cast<int>(length));
    at += static_cast<size_t>(length);
  }
  return true;
}
