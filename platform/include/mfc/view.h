// Views: CView (a child window of a frame that shows a document, with the
// printing architecture), CScrollView and CFormView (a view made from a
// dialog template: a modeless child dialog).
//
// A view lives on the heap and deletes itself when its window is destroyed
// (PostNcDestroy); its document forgets it then. A view whose creation
// fails has deleted itself by the time Create returns FALSE.
#pragma once

#include "mfc/msgmap.h"
#include "mfc/wnd.h"

class CDocument;
class CDC;
class CFrameWnd;
class CPrintInfo;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  CView() = default;
  // Leaves its document.
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }

  // ---- Overridables
  virtual void OnDraw(CDC* dc) = 0;
  // Called before OnDraw (and before each printed page); nothing here.
  virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
  virtual void OnInitialUpdate();  // OnUpdate(null, 0, null)
  virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);  // invalidates
  virtual void OnActivateView(BOOL activate, CView* activated, CView* deactivated);
  virtual void OnActivateFrame(UINT state, CFrameWnd* frame);

  // ---- Printing: OnFilePrint runs OnPreparePrinting (which calls
  // DoPreparePrinting for the print dialog and printer DC), OnBeginPrinting,
  // then OnPrepareDC and OnPrint for each page between StartPage and
  // EndPage, and OnEndPrinting.
  virtual BOOL OnPreparePrinting(CPrintInfo* info);
  virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
  virtual void OnPrint(CDC* dc, CPrintInfo* info);  // OnDraw
  virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
  // The print dialog (or, for direct printing, the default printer); FALSE
  // when the user cancelled or there is no printer DC.
  BOOL DoPreparePrinting(CPrintInfo* info);

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override;  // deletes the view
  void CalcWindowRect(LPRECT clientRect, UINT adjustType = adjustBorder) override;
  // The view first, then its document.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // ---- Handlers
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
  afx_msg void OnFilePrint();
  // The print preview over the parent frame's client area: the pages as
  // OnPrepareDC and OnPrint draw them on the current printer's DC, between
  // OnBeginPrinting and OnEndPrinting (when the preview closes).
  afx_msg void OnFilePrintPreview();

  CDocument* m_pDocument = nullptr;

  DECLARE_MESSAGE_MAP()
};

// A view with scroll bars over a document area of a fixed size (device
// units: only MM_TEXT exists here).
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 public:
  static const CSize sizeDefault;

  CScrollView() = default;

  // The document area, and the page and line steps (sizeDefault: a tenth
  // of the area and a tenth of the page).
  void SetScrollSizes(int mapMode, SIZE total, const SIZE& page = sizeDefault,
                      const SIZE& line = sizeDefault);
  CPoint GetScrollPosition() const;
  CPoint GetDeviceScrollPosition() const;
  CSize GetTotalSize() const { return m_totalLog; }
  void ScrollToPosition(POINT pt);

  // Moves the drawing origin by the scroll position (not when printing).
  void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;
  virtual BOOL OnScroll(UINT scrollCode, UINT pos, BOOL doScroll = TRUE);
  virtual BOOL OnScrollBy(CSize size, BOOL doScroll = TRUE);

  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);

 protected:
  // Shows the bars that the client area needs and sets their ranges.
  void UpdateBars();
  int GetScrollLimitConst(int bar) const;

  int m_nMapMode = 0;  // 0 until SetScrollSizes
  CSize m_totalLog;
  CSize m_totalDev;
  CSize m_pageDev;
  CSize m_lineDev;
  bool m_bInsideUpdate = false;

  DECLARE_MESSAGE_MAP()
};

class CFormView : public CScrollView {
  DECLARE_DYNAMIC(CFormView)
 public:
  // Creates the view as a modeless child dialog from the template. The
  // template's style is kept, except the border and client edge, which
  // the requested style decides; the window then gets the id and the
  // requested rectangle, and shows when the style asks for it.
  BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
              UINT id, CCreateContext* context = nullptr) override;

  void OnDraw(CDC* dc) override;  // the controls draw themselves
  void OnInitialUpdate() override;  // UpdateData(FALSE), then the base
  void OnActivateView(BOOL activate, CView* activated, CView* deactivated) override;
  // The frames' accelerators first, then the dialog keyboard.
  BOOL PreTranslateMessage(MSG* msg) override;
  // Remembers the control inside the form that has the focus.
  BOOL SaveFocusControl();

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnSetFocus(CWnd* oldWnd);

 protected:
  explicit CFormView(LPCSTR templateName);
  explicit CFormView(UINT templateId);

  LPCSTR m_lpszTemplateName;
  CCreateContext* m_pCreateContext = nullptr;
  HWND m_hWndFocus = nullptr;  // the control that had the focus last

  DECLARE_MESSAGE_MAP()
};
