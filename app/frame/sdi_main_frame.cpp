#include "app/frame/sdi_main_frame.h"

IMPLEMENT_DYNCREATE(CSDIMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CSDIMainFrame, CFrameWnd)
  ON_COMMAND(ID_HELP_INDEX, CFrameWnd::OnHelpIndex)
  ON_COMMAND(ID_DEFAULT_HELP, CFrameWnd::OnHelpIndex)
  ON_COMMAND(ID_HELP_USING, CFrameWnd::OnHelpUsing)
  ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
  ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
END_MESSAGE_MAP()

CSDIMainFrame::CSDIMainFrame() : progress_(std::make_unique<ProgressReporter>()) {
  SetFrameProgress(progress_.get());
}

CSDIMainFrame::~CSDIMainFrame() { ClearFrameProgress(progress_.get()); }
