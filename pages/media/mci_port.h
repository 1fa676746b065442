// The door through which the media objects reach the media control
// interface. The program sends its command strings to the system's
// mciSendString; a test installs a port of its own that records the strings
// and gives the replies it chooses.
#pragma once

#include "win/mci.h"

class MciPort {
 public:
  virtual ~MciPort() = default;
  // As mciSendString: 0 or an MCIERR_ number; the reply cut to
  // `replyLength` - 1 characters and ended by a NUL. A command with
  // "notify" reports its end to MediaNoticeWindow().
  virtual MCIERROR SendString(const char* command, char* reply, UINT replyLength) = 0;
  // As mciGetErrorString.
  virtual BOOL ErrorString(MCIERROR error, char* text, UINT length) = 0;
};

// The installed port (the system's until a test installs one).
MciPort& TheMciPort();
// Installs `port` (null restores the system's) and returns the previous one
// (null for the system's). The caller keeps the port alive while installed.
MciPort* SetMciPort(MciPort* port);
