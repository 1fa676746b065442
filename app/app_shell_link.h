// What the pages ask of the shell, answered by the shell: queuing gotos and
// loads, running interpreter lines, the current object, the frame's
// progress reporter, hint window and page area, and the file cache.
#pragma once

#include "pages/shell_link.h"

class AppShellLink : public ShellLink {
 public:
  void PushGoto(const Ref<KXObject>& object) override;
  void RunCommandLine(const char* line, const Ref<KXObject>& anchor) override;
  void ExecuteAnchorAction(const Ref<KXObject>& anchor) override;
  void PushLoad(LoadKind kind, const Ref<KXObject>& document, LoadTarget* target,
                const char* name) override;
  void CancelLoads(LoadTarget* target) override;
  bool CanRunCommand(const char* word) override;
  Ref<KXObject> CurrentObject() override;
  ProgressReporter* Progress() override;
  CWnd* HintWindow() override;
  void SetHintWindow(CWnd* hint) override;
  RECT PageArea() override;
  int Effects() override;
  void LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target) override;
  void ClearStartupPicture() override;
  CString FetchCached(const CString& reference) override;
  CString AcquireCached(const CString& reference) override;
  void UnlockCached(const CString& reference) override;
};
