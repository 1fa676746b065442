#include "app/frame/mdi_main_frame.h"

IMPLEMENT_DYNCREATE(CMDIMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMDIMainFrame, CMDIFrameWnd)
  ON_COMMAND(ID_HELP_INDEX, CMDIFrameWnd::OnHelpIndex)
  ON_COMMAND(ID_DEFAULT_HELP, CMDIFrameWnd::OnHelpIndex)
  ON_COMMAND(ID_HELP_USING, CMDIFrameWnd::OnHelpUsing)
  ON_COMMAND(ID_CONTEXT_HELP, CMDIFrameWnd::OnContextHelp)
  ON_COMMAND(ID_HELP, CMDIFrameWnd::OnHelp)
END_MESSAGE_MAP()

CMDIMainFrame::CMDIMainFrame() : progress_(std::make_unique<ProgressReporter>()) {
  SetFrameProgress(progress_.get());
}

CMDIMainFrame::~CMDIMainFrame() { ClearFrameProgress(progress_.get()); }
