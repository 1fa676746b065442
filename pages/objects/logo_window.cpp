#include "pages/objects/logo_window.h"

#include "framework/viewer_app.h"
#include "mfc/dc.h"
#include "pages/page/page_window.h"
#include "pages/picture/cdib.h"
#include "win/gdi.h"
#include "win/user.h"

BEGIN_MESSAGE_MAP(LogoControl, CButton)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

LogoControl::LogoControl() = default;

LogoControl::~LogoControl() = default;

bool LogoControl::HasPicture() const { return dib_ && dib_->Dib(); }

SIZE LogoControl::PictureSize() const {
  if (!HasPicture()) return SIZE{0, 0};
  return dib_->GetSize();
}

void LogoControl::LoadLogo(const CString& fileName) {
  dib_ = std::make_unique<CDib>();
  if (!dib_->Load(fileName)) {
    dib_.reset();
  } else {
    dib_->ConvertDepth(GetSafeHwnd(), 0, 0, 0, 0);
  }
  const SIZE size = PictureSize();
  SetWindowPos(nullptr, 4, 4, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  HPALETTE palette = HasPicture() ? dib_->Palette() : nullptr;
  CWnd* main = AfxGetMainWnd();
  if (!palette || !main || !main->GetSafeHwnd()) return;
  CClientDC dc(main);
  HPALETTE old = SelectPalette(dc.GetSafeHdc(), palette, FALSE);
  if (RealizePalette(dc.GetSafeHdc()) > 0) Invalidate(TRUE);
  SelectPalette(dc.GetSafeHdc(), old, TRUE);
}

void LogoControl::DrawItem(LPDRAWITEMSTRUCT dis) {
  // An unreadable logo has nothing to draw.
  if (!dis || !HasPicture()) return;
  CDC* dc = CDC::FromHandle(dis->hDC);
  const SIZE size = PictureSize();
  const RECT whole{0, 0, size.cx, size.cy};
  HGLOBAL shown = dib_->DisplayDib() ? dib_->DisplayDib() : dib_->Dib();
  dib_->Draw(dc, whole, whole, shown, dib_->Palette());
}

BOOL LogoControl::OnEraseBkgnd(CDC*) { return TRUE; }

LogoDialog::LogoDialog(const char* versionText, const char* logoFile)
    : CDialog(kTemplateId),
      version_(versionText ? versionText : ""),
      logoFile_(logoFile ? CString(logoFile) : LogoPath()) {}

LogoDialog::~LogoDialog() {
  if (GetSafeHwnd()) DestroyWindow();
}

CString LogoDialog::LogoPath() {
  const ViewerApp* app = GetViewerApp();
  return (app ? app->GetHomeDir() : CString()) + kLogoFile;
}

BOOL LogoDialog::Create(CWnd* parent) {
  RegisterLogoResources();
  return CDialog::Create(kTemplateId, parent);
}

BOOL LogoDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (control_.SubclassDlgItem(kPictureId, this)) control_.LoadLogo(logoFile_);
  const SIZE size = control_.PictureSize();
  const int w = size.cx + kMarginX, h = size.cy + kBandHeight;
  SetWindowPos(nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  if (CWnd* version = GetDlgItem(kVersionId)) {
    RECT r;
    version->GetWindowRect(&r);
    const int vw = r.right - r.left, vh = r.bottom - r.top;
    version->SetWindowPos(nullptr, (size.cx - vw) / 2, size.cy + (kBandHeight - vh) / 2, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    version->SetWindowText("Version " + version_);
  }
  return TRUE;
}

void RegisterLogoResources() { RegisterPageResources(); }
