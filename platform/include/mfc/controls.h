// The standard-control wrappers: CStatic, CButton, CEdit, CListBox,
// CComboBox and CScrollBar, over the window classes "STATIC", "BUTTON",
// "EDIT", "LISTBOX", "COMBOBOX" and "SCROLLBAR". Owner-drawn buttons, list
// boxes and combo boxes draw in DrawItem, which the parent's WM_DRAWITEM
// reaches by reflection.
#pragma once

#include "mfc/cstring.h"
#include "mfc/wnd.h"

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  CStatic() = default;
  using CWnd::Create;
  BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  CButton() = default;
  using CWnd::Create;
  BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  UINT GetState() const;
  void SetState(BOOL highlight);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  // Owner-drawn buttons (BS_OWNERDRAW) draw here.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  CEdit() = default;
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL CanUndo() const;
  int GetLineCount() const;
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE);
  void GetRect(LPRECT out) const;
  DWORD GetSel() const;  // start in the low word, end in the high word
  void GetSel(int& start, int& end) const;
  // Copies line `index` into `out` (at most `size` characters, no NUL added).
  int GetLine(int index, LPSTR out, int size) const;
  void LimitText(int chars = 0);
  UINT GetLimitText() const;
  int LineIndex(int line = -1) const;
  int LineLength(int line = -1) const;
  int LineFromChar(int index = -1) const;
  void LineScroll(int lines, int chars = 0);
  void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
  void SetPasswordChar(char ch);
  char GetPasswordChar() const;
  void SetSel(DWORD selection, BOOL noScroll = FALSE);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
  int GetFirstVisibleLine() const;
  void EmptyUndoBuffer();
  BOOL Undo();
  void Clear();
  void Copy();
  void Cut();
  void Paste();
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  CListBox() = default;
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const;
  int GetTopIndex() const;
  int SetTopIndex(int index);
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  void* GetItemDataPtr(int index) const;
  int SetItemDataPtr(int index, void* data);
  int GetItemRect(int index, LPRECT out) const;
  int GetSel(int index) const;
  int SetSel(int index, BOOL select = TRUE);  // multiple-selection boxes
  int GetCurSel() const;
  int SetCurSel(int select);  // single-selection boxes
  int GetSelCount() const;
  int GetSelItems(int max, LPINT out) const;
  int GetText(int index, LPSTR out) const;  // `out` must hold GetTextLen + 1
  void GetText(int index, CString& out) const;
  int GetTextLen(int index) const;
  int AddString(LPCSTR text);
  int InsertString(int index, LPCSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int FindString(int startAfter, LPCSTR text) const;
  int FindStringExact(int startAfter, LPCSTR text) const;
  int SelectString(int startAfter, LPCSTR text);
  int SelItemRange(BOOL select, int first, int last);
  BOOL SetTabStops(int count, const INT* stops);
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  int SetCaretIndex(int index, BOOL scroll = TRUE);
  int GetCaretIndex() const;
  void SetAnchorIndex(int index);
  int GetAnchorIndex() const;
  // Owner-drawn list boxes draw here.
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)
 public:
  CComboBox() = default;
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int select);
  DWORD GetEditSel() const;
  BOOL SetEditSel(int start, int end);
  BOOL LimitText(int chars);
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  int GetLBText(int index, LPSTR out) const;  // `out` must hold GetLBTextLen + 1
  void GetLBText(int index, CString& out) const;
  int GetLBTextLen(int index) const;
  int AddString(LPCSTR text);
  int InsertString(int index, LPCSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  int FindString(int startAfter, LPCSTR text) const;
  int FindStringExact(int startAfter, LPCSTR text) const;
  int SelectString(int startAfter, LPCSTR text);
  void ShowDropDown(BOOL show = TRUE);
  BOOL GetDroppedState() const;
  void GetDroppedControlRect(LPRECT out) const;
  int SetItemHeight(int index, UINT height);
  int GetItemHeight(int index) const;
  void Clear();
  void Copy();
  void Cut();
  void Paste();
  virtual void DrawItem(LPDRAWITEMSTRUCT dis);
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)
 public:
  CScrollBar() = default;
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetScrollPos() const;
  int SetScrollPos(int pos, BOOL redraw = TRUE);
  void GetScrollRange(LPINT min, LPINT max) const;
  void SetScrollRange(int min, int max, BOOL redraw = TRUE);
  void ShowScrollBar(BOOL show = TRUE);
  BOOL EnableScrollBar(UINT arrows = ESB_ENABLE_BOTH);
  BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);
  int GetScrollLimit();
};
