#include "pages/style/property_table.h"

#include <cstdarg>

#include "core/logbook.h"
#include "pages/style/property_log.h"

PropertyTable& StyleTable() {
  static PropertyTable table;
  return table;
}

void LogPropertyLine(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString line;
  line.FormatV(format, args);
  va_end(args);
  TheLogbook().Write(line);
}

bool PropertyTable::IsDerived(int typeA, int typeB) {
  if (typeA == kNoName) return false;
  // The names form a chain through the table's structs; a chain that comes
  // back to a name met before (Brent's cycle test) derives from nothing more.
  int hare = typeA, tortoise = typeA;
  long power = 1, steps = 0;
  for (;;) {
    if (hare == typeB) return true;
    Property* found = FindById(hare, true);
    if (!found || !found->IsStruct()) return false;
    const int next = static_cast<PropertyStruct*>(found)->typeId;
    if (next == kNoName) return false;
    if (++steps == power) {
      tortoise = hare;
      power *= 2;
      steps = 0;
    }
    hare = next;
    if (hare == tortoise) return false;
  }
}

bool PropertyTable::IsDerived(const char* typeA, const char* typeB) {
  return IsDerived(PropertyNameId(typeA), PropertyNameId(typeB));
}

bool PropertyTable::IsA(const Property* entry, int type) {
  if (!entry || !entry->IsStruct() || type == kNoName) return false;
  const auto* s = static_cast<const PropertyStruct*>(entry);
  return s->WalkChain([&](const PropertyStruct* link) { return link->nameId == type; }) != nullptr;
}

bool PropertyTable::IsA(const Property* entry, const char* type) {
  return IsA(entry, PropertyNameId(type));
}

void PropertyTable::Print() const {
  LogPropertyLine("PROPERTY TABLE");
  for (int i = 0; i < Count(); ++i)
    if (const Property* m = MemberAt(i)) m->Print();
}
