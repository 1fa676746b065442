// The interpreter's command window: one multi-line edit in which the user
// types command lines by hand. The text member fills the edit when the
// dialog opens and takes its text back when the user accepts it.
#pragma once

#include "mfc/afx.h"

class InterpreterDialog : public CDialog {
 public:
  explicit InterpreterDialog(CWnd* parent = nullptr);
  ~InterpreterDialog() override;

  void DoDataExchange(CDataExchange* dx) override;

  CString text;
};
