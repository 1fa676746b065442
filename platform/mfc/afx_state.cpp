// The framework's shared state, the temporary-map lock and built-in prompt
// texts.
#include "afx_state.h"

#include "mfc/dc.h"
#include "mfc/gdi_objects.h"
#include "mfc/menu.h"
#include "mfc/wnd.h"

namespace zemra_mfc {

ThreadState& State() {
  static ThreadState state;
  return state;
}

void DeleteAllTemporaries() {
  WindowMap().DeleteTemporaries();
  DCMap().DeleteTemporaries();
  GdiMap().DeleteTemporaries();
  MenuMap().DeleteTemporaries();
}

}  // namespace zemra_mfc

using zemra_mfc::State;
using zemra_mfc::ThreadState;

void AfxLockTempMaps() { ++State().tempMapLock; }

BOOL AfxUnlockTempMaps() {
  ThreadState& st = State();
  if (st.tempMapLock > 0) --st.tempMapLock;
  if (st.tempMapLock != 0) return FALSE;
  zemra_mfc::DeleteAllTemporaries();
  return TRUE;
}

size_t AfxTemporaryObjectCount() {
  return zemra_mfc::WindowMap().TemporaryCount() + zemra_mfc::DCMap().TemporaryCount() +
         zemra_mfc::GdiMap().TemporaryCount() + zemra_mfc::MenuMap().TemporaryCount();
}

void AfxResetWindowMaps() {
  zemra_mfc::WindowMap().Reset();
  zemra_mfc::DCMap().Reset();
  zemra_mfc::GdiMap().Reset();
  zemra_mfc::MenuMap().Reset();
  ThreadState& st = State();
  st.windowInit = nullptr;
  st.lockoutNotifyWindow = nullptr;
  st.tempMapLock = 0;
  st.lastSentMsg = MSG{};
}
