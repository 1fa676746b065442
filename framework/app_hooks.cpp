#include "framework/app_hooks.h"

void CleanupBeforeExit(int /*code*/) {}

CString AskPassword(const char* /*prompt*/, int /*maxLength*/) { return CString(); }
