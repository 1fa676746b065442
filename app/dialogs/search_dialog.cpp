#include "app/dialogs/search_dialog.h"

#include "app/dialogs/dialog_resources.h"
#include "core/multilang_string.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"

CSearchDlg::CSearchDlg(CWnd* parent) : CDialog(kSearchDialog, parent) { RegisterShellDialogs(); }

void CSearchDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Check(dx, kSearchFullTextCheck, fullText);
  DDX_Text(dx, kSearchExpressionEdit, expression);
}

namespace {

// The member's text in the preferred language; "" when the member is
// missing or holds nothing for the active languages.
CString StyleText(const PropertyStruct* style, const char* member) {
  const CString text = getString(style->StyleQuery(member), CString());
  if (text.IsEmpty()) return text;
  MultiLangString variants;
  variants.AddParts(text);
  return variants.Text();
}

}  // namespace

BOOL CSearchDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const PropertyStruct* style = getStruct(StyleTable().StyleQuery("SearchDialog"));
  if (!style) return TRUE;
  const CString question = StyleText(style, "question");
  if (!question.IsEmpty()) SetDlgItemText(kSearchQuestionText, question);
  const CString caption = StyleText(style, "caption");
  if (!caption.IsEmpty()) SetWindowText(caption);
  const CString option = StyleText(style, "fulltextoption");
  if (!option.IsEmpty()) SetDlgItemText(kSearchFullTextCheck, option);
  return TRUE;
}
