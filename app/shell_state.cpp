#include "app/shell_state.h"

namespace {

bool gStop = false;
char gClearCache = '?';
int gEffects = 1;

CString& Address() {
  static CString address(kDefaultServerAddress);
  return address;
}

}  // namespace

bool StopFlag() { return gStop; }
void SetStopFlag() { gStop = true; }
void ResetStopFlagForTests() { gStop = false; }

const CString& ServerAddress() { return Address(); }
void SetServerAddress(const CString& address) { Address() = address; }

char ClearCacheMode() { return gClearCache; }
void SetClearCacheMode(char mode) { gClearCache = mode ? mode : '?'; }

int EffectsSetting() { return gEffects; }
void SetEffectsSetting(int effects) { gEffects = effects; }
