// The standard-control wrappers.
#include "mfc/controls.h"

#include <vector>

#include "afx_state.h"
#include "mfc/msgmap.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

CScrollBar* AfxScrollBarFromHandle(HWND wnd) {
  return zemra_mfc::WindowMap().FromHandle<CScrollBar>(wnd, [wnd] {
    auto* bar = new CScrollBar;
    bar->m_hWnd = wnd;
    return bar;
  });
}

namespace {
LRESULT Send(const CWnd* w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return ::SendMessage(w->m_hWnd, msg, wp, lp);
}
int SendInt(const CWnd* w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return static_cast<int>(Send(w, msg, wp, lp));
}
LPARAM Text(LPCSTR text) { return reinterpret_cast<LPARAM>(text); }

// A list entry's text into a CString, sized by its length message.
void ItemText(const CWnd* w, UINT lenMsg, UINT textMsg, int index, CString& out) {
  out.Empty();
  const int length = SendInt(w, lenMsg, static_cast<WPARAM>(index));
  if (length < 0) return;
  std::vector<char> buf(static_cast<size_t>(length) + 1, '\0');
  const int n = SendInt(w, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf.data()));
  if (n > 0) out = CString(buf.data(), n <= length ? n : length);
}
}  // namespace

// ---- CStatic ---------------------------------------------------------------------------------

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("STATIC", text, style, rect, parent, id);
}
HICON CStatic::SetIcon(HICON icon) {
  return reinterpret_cast<HICON>(Send(this, STM_SETICON, reinterpret_cast<WPARAM>(icon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(Send(this, STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(
      Send(this, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}
HBITMAP CStatic::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(Send(this, STM_GETIMAGE, IMAGE_BITMAP));
}

// ---- CButton --------------------------------------------------------------------------------------

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}
UINT CButton::GetState() const { return static_cast<UINT>(Send(this, BM_GETSTATE)); }
void CButton::SetState(BOOL highlight) { Send(this, BM_SETSTATE, static_cast<WPARAM>(highlight)); }
int CButton::GetCheck() const { return SendInt(this, BM_GETCHECK); }
void CButton::SetCheck(int check) { Send(this, BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void CButton::SetButtonStyle(UINT style, BOOL redraw) {
  Send(this, BM_SETSTYLE, style & 0xFFFF, redraw);
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result) *result = TRUE;
  return TRUE;
}

// ---- CEdit ---------------------------------------------------------------------------------------------

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(Send(this, EM_CANUNDO)); }
int CEdit::GetLineCount() const { return SendInt(this, EM_GETLINECOUNT); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(Send(this, EM_GETMODIFY)); }
void CEdit::SetModify(BOOL modified) { Send(this, EM_SETMODIFY, static_cast<WPARAM>(modified)); }
void CEdit::GetRect(LPRECT out) const { Send(this, EM_GETRECT, 0, reinterpret_cast<LPARAM>(out)); }
DWORD CEdit::GetSel() const { return static_cast<DWORD>(Send(this, EM_GETSEL)); }
void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0;
  DWORD e = 0;
  Send(this, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}
int CEdit::GetLine(int index, LPSTR out, int size) const {
  if (!out || size < 2) return 0;
  // The first word of the buffer tells the control its size.
  *reinterpret_cast<WORD*>(out) = static_cast<WORD>(size > 0xFFFF ? 0xFFFF : size);
  return SendInt(this, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out));
}
void CEdit::LimitText(int chars) { Send(this, EM_LIMITTEXT, static_cast<WPARAM>(chars > 0 ? chars : 0)); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(this, EM_GETLIMITTEXT)); }
int CEdit::LineIndex(int line) const { return SendInt(this, EM_LINEINDEX, static_cast<WPARAM>(line)); }
int CEdit::LineLength(int line) const {
  return SendInt(this, EM_LINELENGTH, static_cast<WPARAM>(line));
}
int CEdit::LineFromChar(int index) const {
  return SendInt(this, EM_LINEFROMCHAR, static_cast<WPARAM>(index));
}
void CEdit::LineScroll(int lines, int chars) {
  Send(this, EM_LINESCROLL, static_cast<WPARAM>(chars), lines);
}
void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
  Send(this, EM_REPLACESEL, static_cast<WPARAM>(canUndo), Text(text));
}
void CEdit::SetPasswordChar(char ch) {
  Send(this, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)));
}
char CEdit::GetPasswordChar() const { return static_cast<char>(Send(this, EM_GETPASSWORDCHAR)); }
void CEdit::SetSel(DWORD selection, BOOL noScroll) {
  Send(this, EM_SETSEL, LOWORD(selection), HIWORD(selection));
  if (!noScroll) Send(this, EM_SCROLLCARET);
}
void CEdit::SetSel(int start, int end, BOOL noScroll) {
  Send(this, EM_SETSEL, static_cast<WPARAM>(start), end);
  if (!noScroll) Send(this, EM_SCROLLCARET);
}
BOOL CEdit::SetReadOnly(BOOL readOnly) {
  return static_cast<BOOL>(Send(this, EM_SETREADONLY, static_cast<WPARAM>(readOnly)));
}
int CEdit::GetFirstVisibleLine() const { return SendInt(this, EM_GETFIRSTVISIBLELINE); }
void CEdit::EmptyUndoBuffer() { Send(this, EM_EMPTYUNDOBUFFER); }
BOOL CEdit::Undo() { return static_cast<BOOL>(Send(this, EM_UNDO)); }
void CEdit::Clear() { Send(this, WM_CLEAR); }
void CEdit::Copy() { Send(this, WM_COPY); }
void CEdit::Cut() { Send(this, WM_CUT); }
void CEdit::Paste() { Send(this, WM_PASTE); }

// ---- CListBox ------------------------------------------------------------------------------------------

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("LISTBOX", nullptr, style, rect, parent, id);
}
int CListBox::GetCount() const { return SendInt(this, LB_GETCOUNT); }
int CListBox::GetTopIndex() const { return SendInt(this, LB_GETTOPINDEX); }
int CListBox::SetTopIndex(int index) { return SendInt(this, LB_SETTOPINDEX, static_cast<WPARAM>(index)); }
DWORD_PTR CListBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(Send(this, LB_GETITEMDATA, static_cast<WPARAM>(index)));
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
  return SendInt(this, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}
void* CListBox::GetItemDataPtr(int index) const { return reinterpret_cast<void*>(GetItemData(index)); }
int CListBox::SetItemDataPtr(int index, void* data) {
  return SetItemData(index, reinterpret_cast<DWORD_PTR>(data));
}
int CListBox::GetItemRect(int index, LPRECT out) const {
  return SendInt(this, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out));
}
int CListBox::GetSel(int index) const { return SendInt(this, LB_GETSEL, static_cast<WPARAM>(index)); }
int CListBox::SetSel(int index, BOOL select) {
  return SendInt(this, LB_SETSEL, static_cast<WPARAM>(select), index);
}
int CListBox::GetCurSel() const { return SendInt(this, LB_GETCURSEL); }
int CListBox::SetCurSel(int select) { return SendInt(this, LB_SETCURSEL, static_cast<WPARAM>(select)); }
int CListBox::GetSelCount() const { return SendInt(this, LB_GETSELCOUNT); }
int CListBox::GetSelItems(int max, LPINT out) const {
  return SendInt(this, LB_GETSELITEMS, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(out));
}
int CListBox::GetText(int index, LPSTR out) const {
  return SendInt(this, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out));
}
void CListBox::GetText(int index, CString& out) const {
  ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, index, out);
}
int CListBox::GetTextLen(int index) const {
  return SendInt(this, LB_GETTEXTLEN, static_cast<WPARAM>(index));
}
int CListBox::AddString(LPCSTR text) { return SendInt(this, LB_ADDSTRING, 0, Text(text)); }
int CListBox::InsertString(int index, LPCSTR text) {
  return SendInt(this, LB_INSERTSTRING, static_cast<WPARAM>(index), Text(text));
}
int CListBox::DeleteString(UINT index) { return SendInt(this, LB_DELETESTRING, index); }
void CListBox::ResetContent() { Send(this, LB_RESETCONTENT); }
int CListBox::FindString(int startAfter, LPCSTR text) const {
  return SendInt(this, LB_FINDSTRING, static_cast<WPARAM>(startAfter), Text(text));
}
int CListBox::FindStringExact(int startAfter, LPCSTR text) const {
  return SendInt(this, LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(text));
}
int CListBox::SelectString(int startAfter, LPCSTR text) {
  return SendInt(this, LB_SELECTSTRING, static_cast<WPARAM>(startAfter), Text(text));
}
int CListBox::SelItemRange(BOOL select, int first, int last) {
  return SendInt(this, LB_SELITEMRANGE, static_cast<WPARAM>(select), MAKELPARAM(first, last));
}
BOOL CListBox::SetTabStops(int count, const INT* stops) {
  return static_cast<BOOL>(
      Send(this, LB_SETTABSTOPS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(stops)));
}
int CListBox::SetItemHeight(int index, UINT height) {
  return SendInt(this, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0));
}
int CListBox::GetItemHeight(int index) const {
  return SendInt(this, LB_GETITEMHEIGHT, static_cast<WPARAM>(index));
}
int CListBox::SetCaretIndex(int index, BOOL scroll) {
  return SendInt(this, LB_SETCARETINDEX, static_cast<WPARAM>(index), MAKELPARAM(scroll, 0));
}
int CListBox::GetCaretIndex() const { return SendInt(this, LB_GETCARETINDEX); }
void CListBox::SetAnchorIndex(int index) { Send(this, LB_SETANCHORINDEX, static_cast<WPARAM>(index)); }
int CListBox::GetAnchorIndex() const { return SendInt(this, LB_GETANCHORINDEX); }
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result) *result = TRUE;
  return TRUE;
}

// ---- CComboBox -----------------------------------------------------------------------------------------

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
}
int CComboBox::GetCount() const { return SendInt(this, CB_GETCOUNT); }
int CComboBox::GetCurSel() const { return SendInt(this, CB_GETCURSEL); }
int CComboBox::SetCurSel(int select) { return SendInt(this, CB_SETCURSEL, static_cast<WPARAM>(select)); }
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(this, CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return static_cast<BOOL>(Send(this, CB_SETEDITSEL, 0, MAKELPARAM(start, end)));
}
BOOL CComboBox::LimitText(int chars) {
  return static_cast<BOOL>(Send(this, CB_LIMITTEXT, static_cast<WPARAM>(chars > 0 ? chars : 0)));
}
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(Send(this, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return SendInt(this, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}
int CComboBox::GetLBText(int index, LPSTR out) const {
  return SendInt(this, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out));
}
void CComboBox::GetLBText(int index, CString& out) const {
  ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, out);
}
int CComboBox::GetLBTextLen(int index) const {
  return SendInt(this, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
}
int CComboBox::AddString(LPCSTR text) { return SendInt(this, CB_ADDSTRING, 0, Text(text)); }
int CComboBox::InsertString(int index, LPCSTR text) {
  return SendInt(this, CB_INSERTSTRING, static_cast<WPARAM>(index), Text(text));
}
int CComboBox::DeleteString(UINT index) { return SendInt(this, CB_DELETESTRING, index); }
void CComboBox::ResetContent() { Send(this, CB_RESETCONTENT); }
int CComboBox::FindString(int startAfter, LPCSTR text) const {
  return SendInt(this, CB_FINDSTRING, static_cast<WPARAM>(startAfter), Text(text));
}
int CComboBox::FindStringExact(int startAfter, LPCSTR text) const {
  return SendInt(this, CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), Text(text));
}
int CComboBox::SelectString(int startAfter, LPCSTR text) {
  return SendInt(this, CB_SELECTSTRING, static_cast<WPARAM>(startAfter), Text(text));
}
void CComboBox::ShowDropDown(BOOL show) { Send(this, CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(Send(this, CB_GETDROPPEDSTATE)); }
void CComboBox::GetDroppedControlRect(LPRECT out) const {
  Send(this, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(out));
}
int CComboBox::SetItemHeight(int index, UINT height) {
  return SendInt(this, CB_SETITEMHEIGHT, static_cast<WPARAM>(index), static_cast<LPARAM>(height));
}
int CComboBox::GetItemHeight(int index) const {
  return SendInt(this, CB_GETITEMHEIGHT, static_cast<WPARAM>(index));
}
void CComboBox::Clear() { Send(this, WM_CLEAR); }
void CComboBox::Copy() { Send(this, WM_COPY); }
void CComboBox::Cut() { Send(this, WM_CUT); }
void CComboBox::Paste() { Send(this, WM_PASTE); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (result) *result = TRUE;
  return TRUE;
}

// ---- CScrollBar ----------------------------------------------------------------------------------------

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SCROLLBAR", nullptr, style, rect, parent, id);
}
int CScrollBar::GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
int CScrollBar::SetScrollPos(int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
void CScrollBar::GetScrollRange(LPINT min, LPINT max) const {
  ::GetScrollRange(m_hWnd, SB_CTL, min, max);
}
void CScrollBar::SetScrollRange(int min, int max, BOOL redraw) {
  ::SetScrollRange(m_hWnd, SB_CTL, min, max, redraw);
}
void CScrollBar::ShowScrollBar(BOOL show) { ::ShowScrollBar(m_hWnd, SB_CTL, show); }
BOOL CScrollBar::EnableScrollBar(UINT arrows) { return ::EnableScrollBar(m_hWnd, SB_CTL, arrows); }
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw) {
  return CWnd::SetScrollInfo(SB_CTL, info, redraw);
}
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) {
  return CWnd::GetScrollInfo(SB_CTL, info, mask);
}
int CScrollBar::GetScrollLimit() { return CWnd::GetScrollLimit(SB_CTL); }
