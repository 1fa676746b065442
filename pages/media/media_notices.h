// The window that media commands sent with "notify" report to. Each
// MM_MCINOTIFY it receives (a play that ended, or was cut short) counts in
// the media state, and the message itself wakes the program's message loop:
// the idle processing that follows looks at the media at once instead of
// asking the devices again and again.
#pragma once

#include <cstdint>

#include "win/types.h"

// The notice window, made on first use and again when it is gone (a window
// system reset in tests destroys it); null when it cannot be made.
HWND MediaNoticeWindow();
// Notices received so far, and the ends the media objects saw themselves; a
// media object compares it with the count it saw last.
std::uint32_t MediaNoticeCount();
// Destroys the window (the count stays).
void DestroyMediaNoticeWindow();
