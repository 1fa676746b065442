// The hint window: a dialog holding one label that shows a short text near
// a page object once a delay has passed since the text changed. The page
// switch makes one for the main frame, which keeps it; labels with a
// "hint" hand it their text as the mouse enters them.
#pragma once

#include "core/multilang_string.h"
#include "pages/objects/vdialog.h"

class VLabel;

class VHintDlg : public VDialog {
 public:
  static constexpr UINT_PTR kHintTimer = 0x7556;
  static constexpr UINT kHintPeriodMs = 1000;
  static constexpr int kDefaultDelay = 3;
  // The delay of a style that names none, and the longest one kept.
  static constexpr int kStyleDefaultDelay = 1;
  static constexpr int kMaxDelay = 3600;

  VHintDlg(int left, int top, int right, int bottom, CWnd* parent);
  ~VHintDlg() override;

  // The hint window the main frame keeps, or null.
  static VHintDlg* GetHintWindow();

  const char* GetClassName() const override;
  void Initialize() override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  void ReadStyleAttributes() override;

  void SetDelay(int seconds) { delay_ = seconds; }
  int Delay() const { return delay_; }
  // Hidden, with no hint waiting.
  void Hide();
  // A new text waits for the delay (an empty one hides the window); the
  // text already shown stays as it is.
  void ShowHint(const MultiLangString& text);
  // Below the object in its window (above it when there is no room
  // below), centred on it and kept inside the window.
  void PlaceNear(VObject* object);
  // On top of the other windows, at (x, y) in its parent's client area,
  // in the size of its label.
  void MoveWindowTo(int x, int y);

  VLabel* Label() const { return label_; }
  bool Pending() const { return pending_ != 0; }
  DWORD ShowTime() const { return showTime_; }

 private:
  VLabel* label_ = nullptr;
  int delay_ = kDefaultDelay;
  DWORD showTime_ = 0;
  int pending_ = 0;
};
