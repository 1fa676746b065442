// The server's liveness probe: a message whose payload (the text after the
// first "DATA ") begins with "ECHO_REQUEST" is answered with
//   "message " + <sender> + " ECHO_REPLY\n" + "Tolm"
// where the sender is the part of the "FROM " line between its first "["
// and the next "]" (from the start of the value when it has no "["; carriage
// returns become blanks). Any other message is dropped.
#pragma once

#include "mfc/cstring.h"

// True with the answer when `message` is an echo request.
bool EchoReplyFor(const CString& message, CString& reply);
