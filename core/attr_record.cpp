#include "core/attr_record.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view::size_type npos = std::string_view::npos;

// The record as a C string: like every other search on a CString, the walk
// ends at the first NUL byte.
std::string_view recordView(const CString& text) { return std::string_view(text.c_str()); }

// Calls onValue(value) for each line whose key is `key`, in record order,
// until it returns false. A non-counting occurrence (inside a line) skips the
// rest of its line, so a key inside a value is never taken.
template <class OnValue>
void walkKey(std::string_view rec, std::string_view key, OnValue onValue) {
  size_t at = rec.find(key);
  while (at != npos) {
    size_t p = at + key.size();
    size_t lineEnd = rec.find('\n', p);
    if (at == 0 || rec[at - 1] == '\n') {
      std::string_view value = rec.substr(p, lineEnd == npos ? npos : lineEnd - p);
      if (!onValue(value)) return;
    }
    if (lineEnd == npos) return;
    at = rec.find(key, lineEnd + 1);
  }
}

CString toCString(std::string_view v) { return CString(v.data(), static_cast<int>(v.size())); }

}  // namespace

bool AttrRecord::find(const char* key, CString& out) const {
  if (!key) return false;
  bool found = false;
  walkKey(recordView(text_), key, [&](std::string_view value) {
    out = toCString(value);
    found = true;
    return false;
  });
  return found;
}

CString AttrRecord::getAttribute(const char* key) const {
  CString value;
  find(key, value);
  return value;
}

int AttrRecord::findAll(const char* key, SortedStringArray& values) const {
  if (key) {
    walkKey(recordView(text_), key, [&](std::string_view value) {
      values.Insert(toCString(value));
      return true;
    });
  }
  return values.count();
}

bool AttrRecord::getObjectId(ObjectId& out) const {
  static constexpr std::string_view kKey = "ObjectID=";
  std::string_view rec = recordView(text_);
  size_t at = rec.find(kKey);
  if (at == npos) {
    out = ObjectId();
    return false;
  }
  std::string_view value = rec.substr(at + kKey.size());
  value = value.substr(0, value.find('\n'));
  out = ObjectId(ObjectId::Parse(value));
  return true;
}
