// The user-break flag lives in the viewer framework, shared with the object
// model and the progress reporter; polling it runs one window-message step
// (the foundation installs that step, see core/user_break.h).
#include "core/user_break.h"
#include "net/dispatcher.h"

bool PollMessages() { return PollUserBreak(); }
