#include "framework/user_break.h"

namespace {
bool gAbortFlag = false;
MessageStep gMessageStep = nullptr;
int gLongOperation = 0;
}  // namespace

bool SetAbortFlag() {
  const bool old = gAbortFlag;
  gAbortFlag = true;
  return old;
}

bool ClearAbortFlag() {
  const bool old = gAbortFlag;
  gAbortFlag = false;
  return old;
}

bool TestAbortFlag() { return gAbortFlag; }

MessageStep SetMessageStep(MessageStep step) {
  const MessageStep old = gMessageStep;
  gMessageStep = step;
  return old;
}

bool PollUserBreak() {
  if (gMessageStep) gMessageStep();
  return ClearAbortFlag();
}

void SetLongOperationFlag(int value) { gLongOperation = value; }
int LongOperationFlag() { return gLongOperation; }
