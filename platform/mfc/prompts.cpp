// The framework's prompts: the string table's text when it has one, else a
// built-in English text, with %1 and %2 filled in.
#include <string>

#include "afx_state.h"
#include "mfc/afxres.h"
#include "mfc/cstring.h"
#include "mfc/prompts.h"

namespace zemra_mfc {

const char* PromptText(UINT id) {
  switch (id) {
    case AFX_IDS_UNTITLED: return "Untitled";
    case AFX_IDS_PRINTPAGENUM: return "Page %u";
    case AFX_IDS_PREVIEWPAGEDESC: return "Page %u\nPages %u-%u\n";
    case AFX_IDP_ASK_TO_SAVE: return "Save changes to %1?";
    case AFX_IDP_FAILED_TO_CREATE_DOC: return "Failed to create empty document.";
    case AFX_IDP_FAILED_TO_OPEN_DOC: return "Failed to open document.";
    case AFX_IDP_FAILED_TO_SAVE_DOC: return "Failed to save document.";
    case AFX_IDP_NO_DOC_TEMPLATE: return "No document template is registered.";
    case AFX_IDP_FAILED_TO_START_PRINT: return "Failed to start print job.";
    case AFX_IDP_INTERNAL_FAILURE: return "An unsupported operation was attempted.";
    case AFX_IDP_COMMAND_FAILURE: return "Command failed.";
    case AFX_IDP_PARSE_INT: return "Please enter an integer.";
    case AFX_IDP_PARSE_REAL: return "Please enter a number.";
    case AFX_IDP_PARSE_INT_RANGE: return "Please enter an integer between %1 and %2.";
    case AFX_IDP_PARSE_REAL_RANGE: return "Please enter a number between %1 and %2.";
    case AFX_IDP_PARSE_STRING_SIZE: return "Please enter no more than %1 characters.";
    case AFX_IDP_PARSE_UINT: return "Please enter a positive integer.";
    case AFX_IDP_PARSE_BYTE: return "Please enter an integer between 0 and 255.";
    default: return "";
  }
}

}  // namespace zemra_mfc

CString AfxLoadPrompt(UINT id) {
  CString text;
  if (!text.LoadString(id)) text = zemra_mfc::PromptText(id);
  return text;
}

CString AfxFormatPrompt(UINT id, LPCSTR arg1, LPCSTR arg2) {
  const CString pattern = AfxLoadPrompt(id);
  std::string out;
  for (int i = 0; i < pattern.GetLength(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.GetLength() && (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
      const char* arg = pattern[i + 1] == '1' ? arg1 : arg2;
      if (arg) out += arg;
      ++i;
      continue;
    }
    out += c;
  }
  return CString(out);
}
