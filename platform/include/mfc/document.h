// Documents and document templates: CDocument, CDocTemplate and
// CSingleDocTemplate. A template creates the document, its frame and the
// frame's view from their run-time classes; the single-document template
// keeps one document and reuses it (and its frame) for File New and Open.
#pragma once

#include <vector>

#include "mfc/cmd_target.h"
#include "mfc/cstring.h"
#include "mfc/object.h"

class CView;
class CFrameWnd;
class CDocTemplate;
class CFile;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument();
  // Tells the views the document is gone (their document becomes null).
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  // Also renames the frames that show the document.
  virtual void SetTitle(LPCSTR title);
  const CString& GetPathName() const { return m_strPathName; }
  // The title becomes the file's name; the path joins the recent-file list.
  virtual void SetPathName(LPCSTR path, BOOL addToRecentFiles = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  // ---- Views
  void AddView(CView* view);
  void RemoveView(CView* view);
  POSITION GetFirstViewPosition() const;
  CView* GetNextView(POSITION& pos) const;
  int GetViewCount() const { return static_cast<int>(m_viewList.size()); }
  // OnUpdate of every view but the sender.
  void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
  void UpdateFrameCounts();

  // ---- State
  BOOL IsModified() const { return m_bModified; }
  void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
  // Asks "Save changes to <title>?" for a modified document; FALSE when the
  // user cancelled (or saving failed).
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* frame);
  virtual void PreCloseFrame(CFrameWnd* frame);

  // ---- Opening, saving, closing
  // An empty document: contents deleted, no path, not modified.
  virtual BOOL OnNewDocument();
  // The file must be readable (else "Failed to open document." is shown and
  // FALSE returned); the contents are deleted. This framework keeps no
  // serialized form: documents with contents read them in an override,
  // after calling this one.
  virtual BOOL OnOpenDocument(LPCSTR path);
  // Creates (or empties) the file; documents with contents write them in an
  // override. FALSE, with "Failed to save document.", when it cannot be made.
  virtual BOOL OnSaveDocument(LPCSTR path);
  // Closes every frame showing the document, deletes the contents and, when
  // m_bAutoDelete, the document itself.
  virtual void OnCloseDocument();
  virtual void DeleteContents();
  // Save to the current path, or ask for one (DoPromptFileName).
  virtual BOOL DoSave(LPCSTR path, BOOL replace = TRUE);
  BOOL DoFileSave();
  virtual void OnChangedViewList();
  virtual void OnIdle() {}

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  afx_msg void OnFileClose();
  afx_msg void OnFileSave();
  afx_msg void OnFileSaveAs();

  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate = nullptr;
  std::vector<CView*> m_viewList;
  BOOL m_bModified = FALSE;
  BOOL m_bAutoDelete = TRUE;  // deleted when its last view goes
  BOOL m_bEmbedded = FALSE;

  DECLARE_MESSAGE_MAP()
};

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  // The parts of the document string (resource nIDResource), separated by
  // "\n": window title, document name, File New name, filter name, filter
  // extension, registry file type id, registry file type name.
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
  };
  enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign,
                    yesAttemptNative, yesAlreadyOpen };

  ~CDocTemplate() override = default;

  // Loads the document string (the application calls it when the template
  // is added).
  virtual void LoadTemplate();
  BOOL GetDocString(CString& out, DocStringIndex index) const;

  virtual void AddDocument(CDocument* doc);
  virtual void RemoveDocument(CDocument* doc);
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& pos) const = 0;

  // A new document of the template's class (added to the template), or null.
  virtual CDocument* CreateNewDocument();
  // A new frame (with its view) for the document, from the template's
  // resource; null when it cannot be made (the frame has then deleted itself).
  virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
  virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
  virtual BOOL SaveAllModified();
  virtual void CloseAllDocuments(BOOL endSession);
  // Null path: a new document. The document, or null (the user was told).
  virtual CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* doc) = 0;
  virtual void OnIdle();

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;

 protected:
  CDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
               CRuntimeClass* viewClass);
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  CSingleDocTemplate(UINT idResource, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                     CRuntimeClass* viewClass);
  // Deletes the document it still holds.
  ~CSingleDocTemplate() override;

  void AddDocument(CDocument* doc) override;
  void RemoveDocument(CDocument* doc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& pos) const override;
  // The first call creates the document, then its frame with the view (the
  // frame becomes the main window), then runs OnNewDocument (or
  // OnOpenDocument) and the frame's initial update, which shows it. Later
  // calls reuse the document and its frame after SaveModified.
  CDocument* OpenDocumentFile(LPCSTR path, BOOL makeVisible = TRUE) override;
  // The document name of the string, else "Untitled".
  void SetDefaultTitle(CDocument* doc) override;

  CDocument* m_pOnlyDoc = nullptr;
};
