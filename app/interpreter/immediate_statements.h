// The statements that act at once, inside the interpreter's call: audio
// switching, the command window, the status report, printing and freeing
// the image cache.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

class VGroup;

enum class AudioSwitch { On, Off, Toggle };
// Sends the page the event that switches its objects' sound on or off.
// Nothing without a page. Sound is switched on after the muted flag is
// cleared and switched off before it is set.
void SwitchAudio(VGroup* page, AudioSwitch how);
// The program-wide muted flag (off at start-up).
bool AudioMuted();
void ResetAudioForTests();

// The command window, modal, showing `text`; TRUE when the user accepted
// it (the text then holds what was typed).
BOOL RunCommandWindow(CString& text);

// "pageObject: ...", and what the page shows, in a message box.
void ShowStatusReport();
// The text of the status report.
CString StatusReport();

inline constexpr UINT kPrintCommandId = 0xE107;
inline constexpr UINT kPrintPreviewCommandId = 0xE109;
// WM_COMMAND to the application's main window; nothing without one.
void SendMainWindowCommand(UINT id);

void ClearImageCache();
