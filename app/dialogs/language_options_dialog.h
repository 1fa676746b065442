// The Language Options dialog: the active languages in order of
// preference; a click on one makes it the most preferred at once, in the
// list and in the whole client. Cancel brings back the order the dialog
// opened with; OK keeps the order as chosen.
#pragma once

#include "core/languages.h"
#include "mfc/afx.h"

class CLanguageOptionsDlg : public CDialog {
 public:
  explicit CLanguageOptionsDlg(CWnd* parent = nullptr);

  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;

  // Whether the order now differs from the order at construction, however
  // the dialog was closed.
  BOOL IsChanged() const;

  afx_msg void OnSelChange();

  CListBox list;
  CString initialOrder;
  Languages* languages;

 private:
  void FillList();

  DECLARE_MESSAGE_MAP()
};
