// fuzz-libs: zemra_core
// Attribute records and object ids from arbitrary bytes. The first byte gives
// the key length (0..15), the key follows, the rest is the record text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/attr_record.h"
#include "core/object_id.h"
#include "core/string_array.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t keyLen = data[0] % 16;
  if (keyLen > size - 1) keyLen = size - 1;
  std::string key(reinterpret_cast<const char*>(data + 1), keyLen);
  const char* rest = reinterpret_cast<const char*>(data + 1 + keyLen);
  int restLen = static_cast<int>(size - 1 - keyLen);
  AttrRecord rec(CString(rest, restLen));
  const std::string text = rec.text().c_str();  // records end at a NUL

  CString value("unset");
  bool found = rec.find(key.c_str(), value);
  if (found) {
    check(std::strchr(value.c_str(), '\n') == nullptr);
    check(text.find(value.c_str()) != std::string::npos);
    check(rec.getAttribute(key.c_str()) == value);
  } else {
    check(value == "unset");
    check(rec.getAttribute(key.c_str()).IsEmpty());
  }

  SortedStringArray all;
  int n = rec.findAll(key.c_str(), all);
  check(n == all.count());
  check(found == (n > 0));
  for (int i = 0; i + 1 < n; ++i) check(CompareMultibyte(all.at(i), all.at(i + 1)) < 0);
  for (int i = 0; i < n; ++i) check(std::strchr(all.at(i).c_str(), '\n') == nullptr);
  if (found) check(all.Contains(value));
  check(rec.findAll(key.c_str(), all) == n);  // a second pass adds nothing

  ObjectId id(7);
  bool hasId = rec.getObjectId(id);
  check(hasId == (text.find("ObjectID=") != std::string::npos));
  if (!hasId) check(id == 0);
  check(ObjectId(id.Format()) == id);

  ObjectId parsed(CString(rest, restLen));
  CString formatted = parsed.Format();
  check(formatted.GetLength() == 10);
  check(ObjectId(formatted) == parsed);
  check(rec.text().GetLength() == restLen);  // the accessors never change the text
  return 0;
}
