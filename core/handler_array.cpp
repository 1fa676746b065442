#include "core/handler_array.h"

NamedHandler::~NamedHandler() = default;

NamedHandler* HandlerArray::Lookup(const char* name) const {
  int index = 0;
  return Find(name, index) ? at(index) : nullptr;
}
