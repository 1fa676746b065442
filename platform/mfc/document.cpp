// CDocument: views, title and path, modified state, opening, saving and
// closing.
#include <algorithm>

#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/document.h"
#include "mfc/file.h"
#include "mfc/frame.h"
#include "mfc/prompts.h"
#include "mfc/view.h"
#include "win/kernel.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

POSITION PositionOf(size_t index) {
  return reinterpret_cast<POSITION>(static_cast<UINT_PTR>(index + 1));
}
size_t IndexOf(POSITION pos) { return static_cast<size_t>(reinterpret_cast<UINT_PTR>(pos)) - 1; }

}  // namespace

CDocument::CDocument() = default;

CDocument::~CDocument() {
  // Views that outlive the document must not reach it.
  for (CView* v : m_viewList) v->m_pDocument = nullptr;
  m_viewList.clear();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR title) {
  m_strTitle = title;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCSTR path, BOOL addToRecentFiles) {
  m_strPathName = path;
  const int slash = std::max(m_strPathName.ReverseFind('\\'), m_strPathName.ReverseFind('/'));
  SetTitle(m_strPathName.Mid(slash + 1));
  if (addToRecentFiles) {
    if (CWinApp* app = AfxGetApp()) app->AddToRecentFileList(m_strPathName);
  }
}

void CDocument::AddView(CView* view) {
  if (!view || std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end()) return;
  if (view->m_pDocument && view->m_pDocument != this) view->m_pDocument->RemoveView(view);
  m_viewList.push_back(view);
  view->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
  auto it = std::find(m_viewList.begin(), m_viewList.end(), view);
  if (it == m_viewList.end()) return;
  m_viewList.erase(it);
  view->m_pDocument = nullptr;
  OnChangedViewList();  // may delete this document
}

POSITION CDocument::GetFirstViewPosition() const {
  return m_viewList.empty() ? nullptr : PositionOf(0);
}

CView* CDocument::GetNextView(POSITION& pos) const {
  if (!pos) return nullptr;
  const size_t i = IndexOf(pos);
  if (i >= m_viewList.size()) {
    pos = nullptr;
    return nullptr;
  }
  pos = i + 1 < m_viewList.size() ? PositionOf(i + 1) : nullptr;
  return m_viewList[i];
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
  const std::vector<CView*> views = m_viewList;  // views may come and go
  for (CView* v : views) {
    if (v != sender && std::find(m_viewList.begin(), m_viewList.end(), v) != m_viewList.end())
      v->OnUpdate(sender, hint, hintObject);
  }
}

void CDocument::UpdateFrameCounts() {
  std::vector<CFrameWnd*> frames;
  for (CView* v : m_viewList) {
    CFrameWnd* f = v->GetParentFrame();
    if (f && std::find(frames.begin(), frames.end(), f) == frames.end()) frames.push_back(f);
  }
  for (CFrameWnd* f : frames) f->OnUpdateFrameTitle(TRUE);
}

void CDocument::OnChangedViewList() {
  if (m_viewList.empty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  if (name.IsEmpty()) name = AfxLoadPrompt(AFX_IDS_UNTITLED);
  const CString prompt = AfxFormatPrompt(AFX_IDP_ASK_TO_SAVE, name);
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL: return FALSE;
    case IDYES: return DoFileSave();
    default: return TRUE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* frame) {
  // Another frame still shows the document: nothing is lost.
  for (CView* v : m_viewList) {
    CFrameWnd* f = v->GetParentFrame();
    if (f && f != frame) return TRUE;
  }
  return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR path) {
  CFile file;
  if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_OPEN_DOC), MB_OK, AFX_IDP_FAILED_TO_OPEN_DOC);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR path) {
  CFile file;
  if (!path || !file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_SAVE_DOC), MB_OK, AFX_IDP_FAILED_TO_SAVE_DOC);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Closing the last view must not delete the document under this loop.
  const BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  while (!m_viewList.empty()) {
    CView* view = m_viewList.front();
    CFrameWnd* frame = view->GetParentFrame();
    if (frame) {
      PreCloseFrame(frame);
      frame->DestroyWindow();  // and the view with it
    } else {
      view->DestroyWindow();
    }
    // A view that is still listed (no window) leaves the list.
    if (!m_viewList.empty() && m_viewList.front() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

void CDocument::DeleteContents() {}

BOOL CDocument::DoSave(LPCSTR path, BOOL replace) {
  CString name = path ? CString(path) : CString();
  const bool prompted = name.IsEmpty();
  if (prompted) {
    name = m_strPathName;
    if (replace && name.IsEmpty()) name = m_strTitle;
    CWinApp* app = AfxGetApp();
    if (!app || !app->DoPromptFileName(name, 0, 0, FALSE, m_pDocTemplate)) return FALSE;
  }
  if (!OnSaveDocument(name)) {
    // A file made for a name just chosen is not left behind half written.
    if (prompted) ::DeleteFile(name);
    return FALSE;
  }
  if (replace) SetPathName(name);
  return TRUE;
}

BOOL CDocument::DoFileSave() {
  if (m_strPathName.IsEmpty()) return DoSave(nullptr);
  return DoSave(m_strPathName);
}

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(nullptr); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
