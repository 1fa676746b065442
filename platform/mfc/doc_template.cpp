// Document templates: the single-document template and the common part.
#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/document.h"
#include "mfc/frame.h"
#include "mfc/prompts.h"
#include "mfc/view.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                           CRuntimeClass* viewClass)
    : m_nIDResource(idResource),
      m_pDocClass(docClass),
      m_pFrameClass(frameClass),
      m_pViewClass(viewClass) {}

void CDocTemplate::LoadTemplate() {
  // A template without a string works with empty names.
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const {
  out.Empty();
  int start = 0;
  for (int i = 0; i < static_cast<int>(index); ++i) {
    const int nl = m_strDocStrings.Find('\n', start);
    if (nl < 0) return FALSE;
    start = nl + 1;
  }
  const int end = m_strDocStrings.Find('\n', start);
  out = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return TRUE;
}

void CDocTemplate::AddDocument(CDocument* doc) {
  if (doc) doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
  if (doc) doc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (!m_pDocClass) return nullptr;
  CObject* made = m_pDocClass->CreateObject();
  auto* doc = dynamic_cast<CDocument*>(made);
  if (!doc) {
    delete made;
    return nullptr;
  }
  AddDocument(doc);
  return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other) {
  if (!m_pFrameClass) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = other;
  context.m_pCurrentDoc = doc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* made = m_pFrameClass->CreateObject();
  auto* frame = dynamic_cast<CFrameWnd*>(made);
  if (!frame) {
    delete made;
    return nullptr;
  }
  if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    return nullptr;  // the frame has deleted itself
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible) {
  if (frame) frame->InitialUpdateFrame(doc, makeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
  POSITION pos = GetFirstDocPosition();
  while (pos) {
    CDocument* doc = GetNextDoc(pos);
    if (doc && !doc->SaveModified()) return FALSE;
  }
  return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
  POSITION pos = GetFirstDocPosition();
  while (pos) {
    CDocument* doc = GetNextDoc(pos);
    if (doc) doc->OnCloseDocument();
  }
}

void CDocTemplate::OnIdle() {
  POSITION pos = GetFirstDocPosition();
  while (pos) {
    if (CDocument* doc = GetNextDoc(pos)) doc->OnIdle();
  }
}

// ---- The single-document template --------------------------------------------------------

CSingleDocTemplate::CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass,
                                       CRuntimeClass* frameClass, CRuntimeClass* viewClass)
    : CDocTemplate(idResource, docClass, frameClass, viewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  // A document still held (its frame outlived the loop) goes with the template.
  if (CDocument* doc = m_pOnlyDoc) {
    m_pOnlyDoc = nullptr;
    doc->m_pDocTemplate = nullptr;
    delete doc;
  }
}

void CSingleDocTemplate::AddDocument(CDocument* doc) {
  CDocTemplate::AddDocument(doc);
  m_pOnlyDoc = doc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* doc) {
  CDocTemplate::RemoveDocument(doc);
  if (m_pOnlyDoc == doc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc ? reinterpret_cast<POSITION>(static_cast<UINT_PTR>(1)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& pos) const {
  CDocument* doc = pos ? m_pOnlyDoc : nullptr;
  pos = nullptr;
  return doc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* doc) {
  if (!doc) return;
  CString name;
  if (!GetDocString(name, docName) || name.IsEmpty()) name = AfxLoadPrompt(AFX_IDS_UNTITLED);
  doc->SetTitle(name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR path, BOOL makeVisible) {
  CDocument* doc = nullptr;
  CFrameWnd* frame = nullptr;
  bool created = false;
  if (m_pOnlyDoc) {
    // The one document is reused, with the frame that shows it.
    doc = m_pOnlyDoc;
    if (!doc->SaveModified()) return nullptr;
    POSITION pos = doc->GetFirstViewPosition();
    if (CView* view = doc->GetNextView(pos)) frame = view->GetParentFrame();
    if (!frame) {
      if (CWnd* main = CWnd::FromHandlePermanent(AfxGetWindowHandle(AfxGetMainWnd())))
        if (main->IsFrameWnd()) frame = static_cast<CFrameWnd*>(main);
    }
  } else {
    doc = CreateNewDocument();
    created = true;
  }
  if (!doc) {
    AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_CREATE_DOC), MB_OK, AFX_IDP_FAILED_TO_CREATE_DOC);
    return nullptr;
  }
  if (!frame) {
    // The document must survive a frame that fails half made.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
      AfxMessageBox(AfxLoadPrompt(AFX_IDP_FAILED_TO_CREATE_DOC), MB_OK,
                    AFX_IDP_FAILED_TO_CREATE_DOC);
      delete doc;
      return nullptr;
    }
  }
  const HWND frameWnd = frame->m_hWnd;
  if (!path) {
    SetDefaultTitle(doc);
    if (!makeVisible) doc->m_bEmbedded = TRUE;
    if (!doc->OnNewDocument()) {
      if (created && ::IsWindow(frameWnd)) frame->DestroyWindow();  // and the document
      return nullptr;
    }
  } else {
    const BOOL wasModified = doc->IsModified();
    doc->SetModifiedFlag(FALSE);
    if (!doc->OnOpenDocument(path)) {
      if (created) {
        if (::IsWindow(frameWnd)) frame->DestroyWindow();
      } else if (!doc->IsModified()) {
        doc->SetModifiedFlag(wasModified);
      } else {
        // The old contents are damaged: the document starts afresh.
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
          if (::IsWindow(frameWnd)) frame->DestroyWindow();
        }
      }
      return nullptr;
    }
    doc->SetPathName(path);
  }
  if (CWinThread* thread = AfxGetThread(); created && thread && !thread->m_pMainWnd)
    thread->m_pMainWnd = frame;
  InitialUpdateFrame(frame, doc, makeVisible);
  return doc;
}
