// The framework's prompts (AFX_IDS_ and AFX_IDP_ ids of mfc/afxres.h): the
// string table's text when it has one, else a built-in English text.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

CString AfxLoadPrompt(UINT id);
// The prompt with %1 and %2 replaced by the arguments (null: nothing).
CString AfxFormatPrompt(UINT id, LPCSTR arg1, LPCSTR arg2 = nullptr);
