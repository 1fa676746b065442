#include "app/interpreter/immediate_statements.h"

#include "app/dialogs/interpreter_dialog.h"
#include "app/history/nav_history.h"
#include "core/object_utils.h"
#include "mfc/afx.h"
#include "pages/media/vmci.h"
#include "pages/objects/page_event.h"
#include "pages/objects/vgroup.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/picture/image_cache.h"

namespace {

void SendPageEvent(VGroup* page, PageEvent::Code code) {
  PageEvent event(code);
  page->HandleEvent(event);
}

}  // namespace

// The switch is the media objects' own, which keeps muted sounds quiet.
bool AudioMuted() { return VMCI::IsAudioMuted(); }
void ResetAudioForTests() {
  if (VMCI::IsAudioMuted()) VMCI::ToggleAudioMute();
}

void SwitchAudio(VGroup* page, AudioSwitch how) {
  if (!page) return;
  const bool on = how == AudioSwitch::On || (how == AudioSwitch::Toggle && VMCI::IsAudioMuted());
  if (on) {
    if (!VMCI::IsAudioMuted()) return;
    VMCI::ToggleAudioMute();
    SendPageEvent(page, PageEvent::AudioOn);
  } else {
    if (VMCI::IsAudioMuted()) return;
    SendPageEvent(page, PageEvent::AudioOff);
    VMCI::ToggleAudioMute();
  }
}

BOOL RunCommandWindow(CString& text) {
  InterpreterDialog dialog;
  dialog.text = text;
  if (dialog.DoModal() != IDOK) return FALSE;
  text = dialog.text;
  return TRUE;
}

CString StatusReport() {
  const Ref<KXObject> current = TheHistory().Current();
  CString report = "pageObject: " + describeObject(current) + "\n";
  const Ref<KXObject> target = followLink(current);
  if (target && target != current) report += "targetObject: " + describeObject(target) + "\n";
  if (VPage* page = CurrentPage()) {
    const Ref<KXObject>& shown = page->Object();
    report += "displayObject: " + describeObject(shown) + "\n";
    const Ref<KXObject> shownTarget = followLink(shown);
    if (shownTarget != shown) report += "displayTargetObject: " + describeObject(shownTarget) + "\n";
    report += "layout: " + CurrentPageExpression();
  }
  return report;
}

void ShowStatusReport() { AfxMessageBox(StatusReport(), MB_OK); }

void SendMainWindowCommand(UINT id) {
  CWnd* main = AfxGetMainWnd();
  if (main && main->GetSafeHwnd()) ::SendMessage(main->GetSafeHwnd(), WM_COMMAND, id, 0);
}

void ClearImageCache() { TheImageCache().FreeAll(); }
