// Hooks the foundation calls into the application.
#pragma once

#include "mfc/cstring.h"

// The application's clean-up before the program ends (fatal errors, the
// quit message seen by the message pump). It has nothing to do yet and
// returns at once; the caller goes on.
void CleanupBeforeExit(int code = 0);

// The password prompt of the protocol layer's identification. No prompt is
// shown: the answer is always the empty text.
CString AskPassword(const char* prompt, int maxLength);
