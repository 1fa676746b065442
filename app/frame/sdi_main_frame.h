// The frame base of the viewer framework: a frame that owns the progress
// reporter through which long operations report and the user's break
// reaches them. The reporter is registered as the frame's while the frame
// exists.
#pragma once

#include <memory>

#include "framework/progress_reporter.h"
#include "mfc/frame.h"

class CSDIMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSDIMainFrame)
 public:
  CSDIMainFrame();
  ~CSDIMainFrame() override;

  ProgressReporter* Progress() const { return progress_.get(); }

 private:
  std::unique_ptr<ProgressReporter> progress_;

  DECLARE_MESSAGE_MAP()
};
