// The login dialog the connect command shows: user name, password (typed
// characters stay hidden) and the server location. The caller fills the
// members before DoModal and reads them after OK.
#pragma once

#include "mfc/afx.h"

class CLoginDlg : public CDialog {
 public:
  explicit CLoginDlg(CWnd* parent = nullptr);

  void DoDataExchange(CDataExchange* dx) override;

  CString password;
  CString user;
  CString location;
};
