// The library's one piece of state between calls: the progress window of a
// colour reduction (none unless a caller attaches one) and the message pump
// that keeps the caller's windows alive during the long steps.
#pragma once

#include "pixolt.h"

namespace pixolt {

// SetProgressWindow (pixolt.h) attaches the window whose fields the
// reduction fills.
HWND ProgressWindow();

void ProgressStep(const char* text);
void ProgressPercent(unsigned percent);
// Destroys the progress window (if any) and forgets it.
void ProgressFinish();

// A reduction begins: the pump forgets a quit it saw in an earlier one.
void PumpBegin();
// Called once per row or step: on every sixteenth call it takes one waiting
// message of the thread and dispatches it. WM_QUIT is not swallowed: it is
// posted again for the caller's loop and the pump leaves the queue alone
// for the rest of the reduction. Answers -1 once a quit was seen, else 0.
int Pump();

}  // namespace pixolt
