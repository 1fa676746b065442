// The program-wide state of the shell that the commands, the idle
// processing and the frame share: the stop flag, the data source's address
// and the settings read at start-up.
#pragma once

#include "mfc/cstring.h"

// Set by the quit command and never cleared: from then on the idle
// processing runs nothing and the queue takes no command.
bool StopFlag();
void SetStopFlag();
// Tests start each case with a fresh program state.
void ResetStopFlagForTests();

// The address of the data source (CONNECT Server): the connect command
// opens it, the idle processing goes back to it when the history is empty.
const CString& ServerAddress();
void SetServerAddress(const CString& address);

// The built-in server address when the settings name none.
inline constexpr const char* kDefaultServerAddress = "korvex://localhost:1500/";

// CACHE ClearCache: its first character, '?' when the value is empty.
char ClearCacheMode();
void SetClearCacheMode(char mode);

// INIT Effects: non-zero when page transitions are drawn.
int EffectsSetting();
void SetEffectsSetting(int effects);
