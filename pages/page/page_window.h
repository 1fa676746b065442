// The window of a page: a form view on dialog template 131 that turns its
// messages into page events and paints the page's tree. It owns its page
// once made: destroying the window deletes the page.
#pragma once

#include "mfc/afx.h"
#include "pages/objects/page_event.h"

class VPage;

// Registers the dialog template of page windows with the program's
// resources unless it is there already.
void RegisterPageResources();

class PageWindow : public CFormView {
 public:
  explicit PageWindow(VPage* page);
  ~PageWindow() override;

  VPage* Page() const { return page_; }

  void OnDraw(CDC* dc) override;
  void OnInitialUpdate() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
  void OnPrint(CDC* dc, CPrintInfo* info) override;
  void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnPaletteChanged(CWnd* focusWnd);
  afx_msg void OnTimer(UINT_PTR id);
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnProgressMessage(WPARAM kind, LPARAM value);

 private:
  friend class VPage;
  void SendToPage(PageEvent& event);
  void SendMouse(int code, CPoint point);

  VPage* page_;
  // Set once the window exists: from then on the window deletes the page.
  bool ownsPage_ = false;

  DECLARE_MESSAGE_MAP()
};
