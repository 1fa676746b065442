// MFC's diagnostic macros. ASSERT and ASSERT_VALID check only in debug
// builds (without NDEBUG); a failed check reports the file and line on
// standard error and stops the program. VERIFY always evaluates its
// expression. TRACE writes to standard error when ZEMRA_TRACE is set.
#pragma once

#include "mfc/object.h"

[[noreturn]] void AfxAssertFailedLine(const char* file, int line);
void AfxAssertValidObject(const CObject* obj, const char* file, int line);
void AfxTrace(const char* format, ...);

#ifndef NDEBUG
#define ASSERT(f)                                       \
  do {                                                  \
    if (!(f)) AfxAssertFailedLine(__FILE__, __LINE__);  \
  } while (0)
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(p) AfxAssertValidObject(p, __FILE__, __LINE__)
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(p) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE AfxTrace
#define TRACE0(s) AfxTrace("%s", s)
#define ASSERT_KINDOF(class_name, p) ASSERT((p)->IsKindOf(RUNTIME_CLASS(class_name)))
