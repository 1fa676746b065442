// Dialog data exchange: members to controls and back, with validation.
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mfc/afxres.h"
#include "mfc/app.h"
#include "mfc/dialog.h"
#include "mfc/exceptions.h"
#include "mfc/prompts.h"

CDataExchange::CDataExchange(CWnd* dlg, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(dlg) {}

HWND CDataExchange::PrepareCtrl(int id) {
  HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
  if (!control) AfxThrowNotSupportedException();
  m_hWndLastControl = control;
  m_bEditLastControl = FALSE;
  return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessage(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

namespace {

std::string TextOf(HWND control) {
  const int length = ::GetWindowTextLength(control);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int n = ::GetWindowText(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The whole text is one whole number (blanks around it allowed) within
// [min, max]; a sign only when negative numbers are allowed.
bool ParseInteger(const std::string& text, long long min, long long max, long long& out) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    if (negative && min >= 0) return false;
    ++i;
  }
  const size_t digits = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > (1LL << 40)) return false;  // far beyond any member's range
  }
  if (i == digits) return false;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return false;
  if (negative) value = -value;
  if (value < min || value > max) return false;
  out = value;
  return true;
}

bool ParseReal(const std::string& text, double limit, double& out) {
  const char* start = text.c_str();
  while (IsBlank(*start)) ++start;
  if (!*start) return false;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(start, &end);
  if (end == start || errno == ERANGE || !std::isfinite(value) || std::fabs(value) > limit) return false;
  while (IsBlank(*end)) ++end;
  if (*end) return false;
  out = value;
  return true;
}

void TellAndFail(CDataExchange* dx, UINT promptId) {
  AfxMessageBox(AfxLoadPrompt(promptId), MB_ICONEXCLAMATION, promptId);
  dx->Fail();
}

template <class T>
void ExchangeInteger(CDataExchange* dx, int id, T& value, long long min, long long max, UINT prompt,
                     const char* format) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    long long parsed = 0;
    if (!ParseInteger(TextOf(control), min, max, parsed)) TellAndFail(dx, prompt);
    value = static_cast<T>(parsed);
  } else {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<long long>(value));
    ::SetWindowText(control, text);
  }
}

template <class T>
void ExchangeReal(CDataExchange* dx, int id, T& value, double limit, int digits) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate) {
    double parsed = 0;
    if (!ParseReal(TextOf(control), limit, parsed)) TellAndFail(dx, AFX_IDP_PARSE_REAL);
    value = static_cast<T>(parsed);
  } else {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    ::SetWindowText(control, text);
  }
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  HWND control = dx->PrepareEditCtrl(id);
  if (dx->m_bSaveAndValidate)
    value = CString(TextOf(control));
  else
    ::SetWindowText(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  ExchangeInteger(dx, id, value, INT_MIN, INT_MAX, AFX_IDP_PARSE_INT, "%lld");
}
void DDX_Text(CDataExchange* dx, int id, UINT& value) {
  ExchangeInteger(dx, id, value, 0, UINT_MAX, AFX_IDP_PARSE_UINT, "%lld");
}
void DDX_Text(CDataExchange* dx, int id, BYTE& value) {
  ExchangeInteger(dx, id, value, 0, 255, AFX_IDP_PARSE_BYTE, "%lld");
}
void DDX_Text(CDataExchange* dx, int id, short& value) {
  ExchangeInteger(dx, id, value, SHRT_MIN, SHRT_MAX, AFX_IDP_PARSE_INT, "%lld");
}
void DDX_Text(CDataExchange* dx, int id, double& value) {
  ExchangeReal(dx, id, value, DBL_MAX, DBL_DIG);
}
void DDX_Text(CDataExchange* dx, int id, float& value) {
  ExchangeReal(dx, id, value, FLT_MAX, FLT_DIG);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessage(control, BM_GETCHECK, 0, 0));
  } else {
    if (value < 0 || value > 2) value = 0;  // not a check state
    ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  HWND control = dx->PrepareCtrl(id);
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  // The group runs from this control to the next one that starts a group.
  do {
    if (::SendMessage(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (dx->m_bSaveAndValidate) {
        if (value == -1 && ::SendMessage(control, BM_GETCHECK, 0, 0) != 0) value = index;
      } else {
        ::SendMessage(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control && !(::GetWindowLong(control, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;  // subclassed already
  HWND wnd = dx->PrepareCtrl(id);
  if (!control.SubclassWindow(wnd)) AfxThrowNotSupportedException();
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int count) {
  if (dx->m_bSaveAndValidate) {
    if (value.GetLength() > count) {
      const CString prompt =
          AfxFormatPrompt(AFX_IDP_PARSE_STRING_SIZE, std::to_string(count).c_str());
      AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_STRING_SIZE);
      dx->Fail();
    }
  } else if (dx->m_hWndLastControl && dx->m_bEditLastControl) {
    ::SendMessage(dx->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(count > 0 ? count : 0), 0);
  }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  const CString prompt = AfxFormatPrompt(AFX_IDP_PARSE_INT_RANGE, std::to_string(minValue).c_str(),
                                         std::to_string(maxValue).c_str());
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
  dx->Fail();
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue) {
  if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue)) return;
  const CString prompt = AfxFormatPrompt(AFX_IDP_PARSE_INT_RANGE, std::to_string(minValue).c_str(),
                                         std::to_string(maxValue).c_str());
  AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
  dx->Fail();
}
