#include "core/objref.h"

// Out of line so the vtable of every shared object has one home.
ObjRef::~ObjRef() = default;
