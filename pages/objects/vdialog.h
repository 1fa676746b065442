// A page object with a child dialog window of its own (dialog template
// 131), in which it shows its children like a small page: the window's
// messages become page events, an optional one-second timer reports the
// elapsed time as clock events, and the dialog fills itself with a
// background picture and the user-defined objects of its style. The hint
// window is built on it. A dialog is never a page: objects inside it draw
// straight into its window, without a page's transitions.
#pragma once

#include "mfc/afx.h"
#include "pages/objects/vgroup.h"

class VDialog;

// The window side of a dialog. Once the window exists it owns its dialog:
// deleting the window object (or destroying the dialog object) ends both.
class DialogWindow : public CDialog {
 public:
  DialogWindow(VDialog* dialog, CWnd* parent);
  ~DialogWindow() override;

  VDialog* Dialog() const { return dialog_; }

  // Sends the create event, then makes the window from the template.
  BOOL CreateFromTemplate(CWnd* parent);
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange*) override {}

  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnPaint();
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

 private:
  friend class VDialog;
  void SendMouse(int code, CPoint point);

  VDialog* dialog_;
  bool ownsDialog_ = false;

  DECLARE_MESSAGE_MAP()
};

class VDialog : public VGroup {
 public:
  static constexpr UINT kTemplateId = 131;
  static constexpr UINT_PTR kClockTimer = 0x1322;
  static constexpr UINT kClockPeriodMs = 1000;

  VDialog(int left, int top, int right, int bottom, CWnd* parent);
  ~VDialog() override;

  // Makes the dialog window in the parent, at the dialog's rectangle,
  // shown unless the hidden flag is set. False when the window cannot be
  // made.
  virtual BOOL CreateDialogWindow(CWnd* parent);
  // Milliseconds since the timer was last started.
  virtual DWORD Elapsed();

  VObject* GetPage() override;
  VObject* FindByWindow(HWND window) override;
  CWnd* GetWindow() override;
  const char* GetClassName() const override;
  bool IsDialog() const override;
  void Initialize() override;
  void OnTimer(UINT_PTR id) override;
  void SetState(DWORD flags) override;
  // As an object's, and then the object's Layout attribute refines the
  // style chosen so far.
  void LoadStyle(const PropertyStruct* context, const char* styleText, const char* defaultStyleText,
                 const Ref<KXObject>& object) override;
  // Active, with the one-second clock when it is enabled.
  void Start() override;
  // Inactive, the clock stopped, and the children told to stop.
  void Stop() override;

  // Kills the running timer and, when the clock is enabled, starts a new
  // one; the elapsed time counts from now.
  void RestartTimer();
  // A picture over the whole dialog, under every other child, styled by
  // the dialog's "backgr()".
  void CreateBackground();
  // Whether Start runs the one-second clock.
  void EnableClock(bool on) { timerEnabled_ = on ? 1 : 0; }

  DialogWindow* Window() const { return window_; }
  bool MouseDown() const { return mouseDown_ != 0; }
  UINT_PTR TimerId() const { return timerId_; }
  const RECT& WindowRect() const { return windowRect_; }

 protected:
  void SetWindowRect(const RECT& r) { windowRect_ = r; }

 private:
  friend class DialogWindow;

  int mouseDown_ = 0;
  int timerEnabled_ = 0;
  DWORD startTick_ = 0;
  UINT_PTR timerId_ = 0;
  RECT windowRect_;
  DialogWindow* window_ = nullptr;
};
