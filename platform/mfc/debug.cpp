#include "mfc/debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "win/kernel.h"

void AfxAssertFailedLine(const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s(%d)\n", file ? file : "?", line);
  std::abort();
}

void AfxAssertValidObject(const CObject* obj, const char* file, int line) {
  if (!obj) AfxAssertFailedLine(file, line);
  obj->AssertValid();
}

void AfxTrace(const char* format, ...) {
  if (!format || !std::getenv("ZEMRA_TRACE")) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  win_vsnprintf(text, sizeof text, format, args);
  va_end(args);
  std::fputs(text, stderr);
}
