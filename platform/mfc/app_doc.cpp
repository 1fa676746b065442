// CWinApp's documents: the templates it owns, File New and Open, saving and
// closing everything.
#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/document.h"
#include "mfc/prompts.h"

void CWinApp::AddDocTemplate(CDocTemplate* tmpl) {
  if (!tmpl) return;
  tmpl->LoadTemplate();
  templates_.push_back(tmpl);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
  return templates_.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
  if (!pos) return nullptr;
  const auto i = static_cast<size_t>(reinterpret_cast<UINT_PTR>(pos)) - 1;
  if (i >= templates_.size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = i + 1 < templates_.size() ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(i + 2)) : nullptr;
  return templates_[i];
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR path) {
  if (templates_.empty()) {
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_OPEN_DOC), MB_OK, AFX_IDP_FAILED_TO_OPEN_DOC);
    return nullptr;
  }
  return templates_.front()->OpenDocumentFile(path);
}

void CWinApp::OnFileNew() {
  if (templates_.empty()) {
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_CREATE_DOC), MB_OK, AFX_IDP_FAILED_TO_CREATE_DOC);
    return;
  }
  // With several templates the first one serves (there is no choice dialog).
  templates_.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  CString name;
  if (!DoPromptFileName(name, 0, 0, TRUE, nullptr)) return;
  OpenDocumentFile(name);
}

BOOL CWinApp::DoPromptFileName(CString&, UINT, DWORD, BOOL, CDocTemplate*) { return FALSE; }

BOOL CWinApp::SaveAllModified() {
  for (CDocTemplate* t : templates_)
    if (!t->SaveAllModified()) return FALSE;
  return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
  for (CDocTemplate* t : templates_) t->CloseAllDocuments(endSession);
}

int CWinApp::GetOpenDocumentCount() const {
  int n = 0;
  for (CDocTemplate* t : templates_) {
    POSITION pos = t->GetFirstDocPosition();
    while (pos)
      if (t->GetNextDoc(pos)) ++n;
  }
  return n;
}

void CWinApp::HideApplication() {
  if (HWND main = AfxGetWindowHandle(m_pMainWnd)) ::ShowWindow(main, SW_HIDE);
}
