// The progress bar of a page: a framed bar that fills from the left with
// the percentage of a long operation and shows the number over it. The
// page makes it when a download runs long and hides it when the download
// ends; a click on it breaks the running request.
#pragma once

#include "pages/objects/vlabel.h"

class VGroup;

class VProgressIndicator : public VLabel {
 public:
  static constexpr COLORREF kDefaultProgressColor = 0x0000FFFF;
  // Pumped while the bar changes, so that it is painted during the
  // operation that reports.
  static constexpr int kMessagesPerStep = 10;

  VProgressIndicator(int left, int top, int right, int bottom);
  ~VProgressIndicator() override;

  // The first child of the group that is a progress indicator, or null.
  static VProgressIndicator* Find(VGroup* group);

  const char* GetClassName() const override;
  void Initialize() override;
  void Draw(CDC* dc, const RECT& clip) override;
  void OnMouseUp(int x, int y) override;
  void ReadStyleAttributes() override;
  // The caption for the percentage: "42 %".
  virtual CString GetProgressText();

  // Clamped to 0..100; a new value changes the caption and lets the window
  // paint it.
  void SetPercent(int percent);
  void SetProgressColor(COLORREF color);

  int Percent() const { return percent_; }
  COLORREF ProgressColor() const { return progressColor_; }

 private:
  int percent_ = 0;
  COLORREF progressColor_ = kDefaultProgressColor;
};
