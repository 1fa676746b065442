// The modules' resources: which module holds which resource, and the block
// a pointer into one of them belongs to.
#pragma once

#include <cstddef>

#include "win/user.h"

namespace win::user {

// The data of a resource as found; null when the module or resource is not
// there (the last error says which).
struct FoundResource {
  const BYTE* data = nullptr;
  size_t size = 0;
};
FoundResource FindResourceData(HINSTANCE module, LPCSTR name, LPCSTR type);

// How many bytes of resource data follow `p` when it points into a
// registered resource; 0 when it does not.
size_t ResourceBytesFrom(const void* p);

}  // namespace win::user
