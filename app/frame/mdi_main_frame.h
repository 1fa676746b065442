// The frame base of the viewer framework for multi-document frames: the
// same as CSDIMainFrame (it owns the progress reporter, registered as the
// frame's while the frame exists) on the MDI frame window. This client's
// main window is single-document; a viewer with several documents uses
// this one.
#pragma once

#include <memory>

#include "framework/progress_reporter.h"
#include "mfc/frame.h"

class CMDIMainFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CMDIMainFrame)
 public:
  CMDIMainFrame();
  ~CMDIMainFrame() override;

  ProgressReporter* Progress() const { return progress_.get(); }

 private:
  std::unique_ptr<ProgressReporter> progress_;

  DECLARE_MESSAGE_MAP()
};
