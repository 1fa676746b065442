// The view of the main frame: the parent window of every page. It draws
// nothing itself; the pages are its child windows.
#pragma once

#include "mfc/view.h"

class CZemraView : public CView {
  DECLARE_DYNCREATE(CZemraView)
 public:
  CZemraView() = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // The view becomes the application's page parent.
  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override;
  BOOL OnPreparePrinting(CPrintInfo* info) override;
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
  void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnEnd();

  DECLARE_MESSAGE_MAP()
};
