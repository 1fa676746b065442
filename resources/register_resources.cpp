// Hands the program's string and cursor tables to the platform before main
// runs, so that the first string or cursor the program loads is its own.
#include <string_view>

#include "win/resources.h"

extern "C" const unsigned char zemra_res_strings[];
extern "C" const unsigned long zemra_res_strings_size;
extern "C" const unsigned char zemra_res_cursors[];
extern "C" const unsigned long zemra_res_cursors_size;

namespace {

std::string_view Text(const unsigned char* bytes, unsigned long size) {
  return std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
}

const bool kRegistered = [] {
  win::RegisterStringTable(Text(zemra_res_strings, zemra_res_strings_size));
  win::RegisterCursorTable(Text(zemra_res_cursors, zemra_res_cursors_size));
  return true;
}();

}  // namespace
