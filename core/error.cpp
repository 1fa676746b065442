#include "core/error.h"

int Error::errorClass(int code) {
  int cls = (code >> 8) & 0xFF;
  return cls >= kInvalidClass ? kInvalidClass : cls;
}

int Error::number(int code) { return code & 0xFF; }

bool Error::ok() const {
  if (errorClass(code_) == kInvalidClass) return false;
  return number(code_) == 0;
}
