#include "pages/style/property_struct.h"
#include "pages/style/property_table.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isLetter(c) || (c >= '0' && c <= '9') || c == '_'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Property* PropertyStruct::StyleQuery(const char* path) const {
  if (!path || !*path) return nullptr;
  Property* result = nullptr;
  const PropertyStruct* current = this;
  const char* p = path;
  for (;;) {
    while (isBlank(*p)) ++p;
    if (!*p) return result;
    if (!isLetter(*p)) {
      StyleTable().ReportError("identifier expected in query");
      return nullptr;
    }
    const char* start = p;
    while (isNameChar(*p)) ++p;
    if (!current) return nullptr;
    const int id = PropertyNameId(CString(start, static_cast<int>(p - start)));
    Property* entry = current->LookupInherited(id);
    if (!entry) return nullptr;
    result = entry;
    current = entry->kind == kPropertyStruct ? static_cast<const PropertyStruct*>(entry) : nullptr;
    if (*p == '.') {
      if (!current) {
        StyleTable().ReportError("invalid indirection in query");
        return nullptr;
      }
      ++p;
      if (!*p) {
        StyleTable().ReportError("field expected in query");
        return nullptr;
      }
    }
  }
}
