#include "core/string_array.h"

#include "win/kernel.h"

const CString& StringArray::at(int i) const {
  static const CString empty;
  return items_.inRange(i) ? items_[i] : empty;
}

int CompareMultibyte(const char* a, const char* b) {
  return _mbscmp(reinterpret_cast<const unsigned char*>(a ? a : ""),
                 reinterpret_cast<const unsigned char*>(b ? b : ""));
}
