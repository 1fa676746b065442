// The search dialog: a search expression and whether to search the whole
// text. Its question, caption and check-box texts come from the style
// table's "SearchDialog" struct in the preferred language, so that they
// follow the user's language; the template's English texts stay where the
// styles say nothing.
#pragma once

#include "mfc/afx.h"

class CSearchDlg : public CDialog {
 public:
  explicit CSearchDlg(CWnd* parent = nullptr);

  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;

  int fullText = 0;
  CString expression;
};
