#include "layout/forms/form_controls.h"

#include <algorithm>
#include <cstdio>

#include "core/entities.h"
#include "layout/view/text_view.h"
#include "win/gdi.h"
#include "win/user.h"

namespace {

// Styles of the windows (all made hidden: shown where their atoms draw).
constexpr DWORD kClientEdge = 0x200;  // WS_EX_CLIENTEDGE
constexpr DWORD kPushButtonStyle = 0x40020000;
constexpr DWORD kEditStyle = 0x40820040;
constexpr DWORD kNumberEditStyle = 0x40820080;
constexpr DWORD kComboStyle = 0x40230203;
constexpr DWORD kListStyle = 0x40A208C0;
constexpr DWORD kMultiLineStyle = 0x201004;  // WS_VSCROLL | ES_WANTRETURN | ES_MULTILINE
constexpr int kComboMaxRows = 10;

int metric(int index, int fallback) {
  int v = GetSystemMetrics(index);
  return v ? v : fallback;
}

// The cell of the system's check-box picture, measured once.
SIZE checkCell() {
  static SIZE cell = [] {
    SIZE s{13, 13};
    if (HBITMAP b = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES))) {
      BITMAP bm{};
      if (GetObject(b, sizeof bm, &bm)) s = SIZE{bm.bmWidth / 4, bm.bmHeight / 3};
      DeleteObject(b);
    }
    return s;
  }();
  return cell;
}

}  // namespace

// ---- FormWindow -------------------------------------------------------------------

FormWindow::~FormWindow() {
  if (m_hWnd) DestroyWindow();
  if (font_) DeleteObject(font_);
}

bool FormWindow::CreateWindowOf(TextView& view, DWORD exStyle, const char* cls, const char* text, DWORD style) {
  if (!view.GetSafeHwnd()) return false;
  return CreateEx(exStyle, cls, text, style, -10000, -10000, 1, 1, view.GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFormControlId))) != FALSE;
}

void FormWindow::SetupFont(TextView& view) {
  if (font_) return;
  HFONT shared = nullptr;
  if (FontDescriptor* d = BaseFontDescriptor()) shared = view.Surface().SetFont(*d);
  LOGFONT lf{};
  if (shared && GetObject(shared, sizeof lf, &lf)) font_ = CreateFontIndirect(&lf);
  if (font_ && m_hWnd) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  HDC dc = ::GetDC(m_hWnd);
  if (dc) {
    HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    GetTextMetrics(dc, &metrics_);
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
  }
}

SIZE FormWindow::Extent(const CString& text) const {
  SIZE s{0, 0};
  HDC dc = ::GetDC(m_hWnd);
  if (!dc) return s;
  HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
  GetTextExtentPoint(dc, text, text.GetLength(), &s);
  SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return s;
}

void FormWindow::Measure(LayoutRect& box, TextOutput* ctx) {
  auto* view = dynamic_cast<TextView*>(ctx);
  if (!view) {
    box = LayoutRect::Of(0, 0, 0, 0);
    return;
  }
  if (!m_hWnd && !CreateControl(*view)) {
    box = LayoutRect::Of(0, 0, 0, 0);
    return;
  }
  LayoutRect b = ComputeBox(*view);
  if (Framed()) {
    const LONG cx = metric(SM_CXEDGE, 5), cy = metric(SM_CYEDGE, 5);
    b.top -= cy + 2;
    b.bottom += cy + 2;
    b.right += 2 * cx + 4;
  }
  box_ = b;
  box = b;
}

void FormWindow::PlaceWindow(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip) {
  auto* view = dynamic_cast<TextView*>(ctx);
  if (!m_hWnd || !box_.IsComputed() || !view || view->Surface().Printing()) return;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  LayoutRect r = WindowRect(box_);
  RECT target{origin.x + r.left, origin.y + r.top, origin.x + r.right, origin.y + r.bottom};
  RECT now;
  GetWindowRect(&now);
  POINT a{now.left, now.top}, b{now.right, now.bottom};
  ::ScreenToClient(::GetParent(m_hWnd), &a);
  ::ScreenToClient(::GetParent(m_hWnd), &b);
  if (target.left != a.x || target.top != a.y || target.right - target.left != b.x - a.x) {
    MoveWindow(target.left, target.top, target.right - target.left, target.bottom - target.top, TRUE);
    EnableWindow(!disabled_);
    ShowWindow(SW_SHOW);
    Invalidate(TRUE);
  }
  DrawBackground(ctx, origin, box_, style_, marks_);
  (void)clip;
}

// ---- Push button ----------------------------------------------------------------------

bool FormPushButton::CreateControl(TextView& view) {
  return CreateWindowOf(view, 0, "BUTTON", DecodeEntities(name_), kPushButtonStyle);
}

LayoutRect FormPushButton::ComputeBox(TextView& view) {
  SetupFont(view);
  SIZE label = Extent(DecodeEntities(name_));
  return LayoutRect::Of(0, label.cx + 5, -metrics_.tmAscent, metrics_.tmDescent);
}

BOOL FormPushButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Click();
    if (result) *result = 0;
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}

void FormPushButton::Click() {
  if (action_) {
    Ref<FormAction> hold = action_;  // the action may reset this very form
    hold->Invoke();
  } else {
    ::MessageBox(nullptr, "no action available", nullptr, MB_OK);
  }
}

// ---- Check box and radio button ----------------------------------------------------------

bool FormCheckBox::CreateControl(TextView& view) {
  if (!CreateWindowOf(view, 0, "BUTTON", "", ButtonStyle())) return false;
  SendMessage(BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

LayoutRect FormCheckBox::ComputeBox(TextView& view) {
  const SIZE cell = checkCell();
  // The descent of the window's own font (the system font: none is set).
  LONG descent = 0;
  if (HDC dc = ::GetDC(m_hWnd)) {
    HFONT f = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, f ? static_cast<HGDIOBJ>(f) : GetStockObject(SYSTEM_FONT));
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    descent = tm.tmDescent;
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
  }
  LONG lineHeight = cell.cy;
  if (style_) {
    LayoutRect blank = style_->BlankExtent(&view);
    lineHeight = blank.bottom - blank.top;
  }
  const LONG d = (lineHeight - cell.cy) / 2;
  return LayoutRect::Of(0, cell.cx, descent - cell.cy - d, descent - d);
}

bool FormCheckBox::CollectValues(std::vector<CString>& values) {
  if (checked_) values.push_back(value_);
  return true;
}

void FormCheckBox::ResetControl() { SetChecked(defaultChecked_, 0); }

void FormCheckBox::SetChecked(BYTE state, BYTE makeDefault) {
  state = state ? 1 : 0;
  if (makeDefault) defaultChecked_ = state;
  checked_ = state;
  if (m_hWnd) SendMessage(BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

BOOL FormCheckBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Click();
    if (result) *result = 0;
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}

void FormCheckBox::Click() {
  SetChecked(checked_ ? 0 : 1, 0);
  if (m_hWnd) Invalidate(TRUE);
}

FormRadioButton::FormRadioButton(ResolvedStyle* style, BYTE marks, RadioGroup* group)
    : FormCheckBox(style, marks), group_(group ? group : new RadioGroup) {
  group_->Add(this);
}

FormRadioButton::~FormRadioButton() {
  // Out of the group before it is let go: no notice reaches a field gone.
  group_->Remove(this);
}

void FormRadioButton::ResetControl() {
  SetChecked(defaultChecked_, 0);
  if (checked_) group_->Notify(this);
}

void FormRadioButton::Click() { group_->Notify(this); }

// ---- Text fields --------------------------------------------------------------------------

void FormEdit::SetSize(LONG columns, LONG rows) {
  columns_ = columns < 1 ? 0 : columns;
  rows_ = rows;
  multiLine_ = rows > 0 ? kMultiLineStyle : 0;
}

bool FormEdit::CreateControl(TextView& view) {
  // A single line scrolls sideways, so that text longer than the field can
  // be typed.
  const DWORD style = kEditStyle | password_ | (multiLine_ ? multiLine_ : ES_AUTOHSCROLL);
  return CreateWindowOf(view, kClientEdge, "EDIT", DecodeEntities(value_), style);
}

LayoutRect FormEdit::ComputeBox(TextView& view) {
  SetupFont(view);
  SIZE nine = Extent("9");
  LONG width = nine.cx * (columns_ ? columns_ : 10);
  LONG height = nine.cy;
  if (rows_ > 0) {
    height = (nine.cy + 1) * rows_ + metric(SM_CYVSCROLL, 16);
    width += metric(SM_CXVSCROLL, 16);
  }
  return LayoutRect::Of(0, width, -metrics_.tmAscent, height - metrics_.tmAscent);
}

bool FormEdit::CollectValues(std::vector<CString>& values) {
  if (m_hWnd) {
    CString text;
    GetWindowText(text);
    values.push_back(text);
  } else {
    values.push_back(DecodeEntities(value_));
  }
  return true;
}

void FormEdit::ResetControl() {
  if (m_hWnd) SetWindowText(DecodeEntities(value_));
}

void FormNumberEdit::SetValue(const CString& value) {
  value_ = value;
  ResetControl();
}

void FormNumberEdit::ResetControl() {
  if (m_hWnd) SetWindowText(value_);
}

bool FormNumberEdit::CreateControl(TextView& view) {
  return CreateWindowOf(view, kClientEdge, "EDIT", value_, kNumberEditStyle);
}

LayoutRect FormNumberEdit::ComputeBox(TextView& view) {
  SetupFont(view);
  SIZE nine = Extent("9");
  return LayoutRect::Of(0, nine.cx * 10, -metrics_.tmAscent, nine.cy - metrics_.tmAscent);
}

CString FormNumberEdit::Clamp(const CString& typed, float minimum, float maximum, bool integral) {
  float v = 0;
  if (std::sscanf(typed.c_str(), "%f", &v) != 1) v = minimum - 1.0f;
  float c = v < minimum ? minimum : v;
  if (c > maximum) c = maximum;
  if (c == v) return typed;
  CString text;
  if (integral) {
    text.Format("%.0f", static_cast<double>(c));
  } else {
    text.Format("%.6f", static_cast<double>(c));
    while (text.GetLength() > 1 && text.Right(1) == "0") text = text.Left(text.GetLength() - 1);
  }
  if (text.Right(1) == ".") text = text.Left(text.GetLength() - 1);
  return text;
}

bool FormNumberEdit::CollectValues(std::vector<CString>& values) {
  CString typed = value_;
  if (m_hWnd) GetWindowText(typed);
  CString text = Clamp(typed, minimum_, maximum_, integral_ != 0);
  if (text != typed && m_hWnd) SetWindowText(text);
  values.push_back(text);
  return true;
}

// ---- Selections ------------------------------------------------------------------------------

void FormChoice::ResetControl() {
  for (int i = 0; i < OptionCount(); ++i) SelectOption(i, options_[static_cast<size_t>(i)].defaultSelected);
}

bool FormComboBox::CreateControl(TextView& view) {
  if (!CreateWindowOf(view, kClientEdge, "COMBOBOX", "", kComboStyle)) return false;
  for (const OptionRecord& o : options_) SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DecodeEntities(o.text).c_str()));
  // The option the document marked selected shows, else the first.
  if (current_ < 0) {
    current_ = options_.empty() ? -1 : 0;
    for (size_t i = 0; i < options_.size(); ++i)
      if (options_[i].defaultSelected || options_[i].selected) {
        current_ = static_cast<int>(i);
        break;
      }
  }
  SendMessage(CB_SETCURSEL, static_cast<WPARAM>(current_), 0);
  return true;
}

LayoutRect FormComboBox::ComputeBox(TextView& view) {
  SetupFont(view);
  LONG widest = 0;
  for (const OptionRecord& o : options_) widest = std::max<LONG>(widest, Extent(DecodeEntities(o.text)).cx);
  dropRows_ = std::min<LONG>(static_cast<LONG>(options_.size()), kComboMaxRows) + 1;
  return LayoutRect::Of(0, widest + 2 * metric(SM_CXVSCROLL, 16), -metrics_.tmAscent, metrics_.tmDescent);
}

LayoutRect FormComboBox::WindowRect(const LayoutRect& box) const {
  LayoutRect r = box;
  r.bottom += (metrics_.tmAscent + metrics_.tmDescent) * dropRows_;
  return r;
}

void FormComboBox::SelectOption(int index, BYTE selected) {
  if (index < 0 || index >= OptionCount()) return;
  if (selected) {
    current_ = index;
    if (m_hWnd) SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else if (m_hWnd ? SendMessage(CB_GETCURSEL, 0, 0) == index : current_ == index) {
    current_ = 0;
    if (m_hWnd) SendMessage(CB_SETCURSEL, 0, 0);
  }
}

bool FormComboBox::CollectValues(std::vector<CString>& values) {
  if (m_hWnd) current_ = static_cast<int>(SendMessage(CB_GETCURSEL, 0, 0));
  int chosen = current_;
  if (chosen < 0 && !m_hWnd) {
    // Never shown: what it would show.
    for (size_t i = 0; i < options_.size() && chosen < 0; ++i)
      if (options_[i].defaultSelected || options_[i].selected) chosen = static_cast<int>(i);
    if (chosen < 0 && !options_.empty()) chosen = 0;
  }
  if (chosen >= 0 && chosen < OptionCount()) values.push_back(options_[static_cast<size_t>(chosen)].value);
  return true;
}

bool FormListBox::CreateControl(TextView& view) {
  // One row at a time unless the document allows several.
  DWORD style = multiple_ ? (kListStyle | LBS_MULTIPLESEL) : (kListStyle & ~static_cast<DWORD>(LBS_EXTENDEDSEL));
  if (!CreateWindowOf(view, kClientEdge, "LISTBOX", "", style)) return false;
  chosen_.resize(options_.size(), 0);
  for (size_t i = 0; i < options_.size(); ++i) {
    SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DecodeEntities(options_[i].text).c_str()));
    if (options_[i].defaultSelected || chosen_[i]) {
      if (multiple_)
        SendMessage(LB_SETSEL, TRUE, static_cast<LPARAM>(i));
      else
        SendMessage(LB_SETCURSEL, i, 0);
    }
  }
  return true;
}

LayoutRect FormListBox::ComputeBox(TextView& view) {
  SetupFont(view);
  LONG widest = 0;
  for (const OptionRecord& o : options_) widest = std::max<LONG>(widest, Extent(DecodeEntities(o.text)).cx);
  const LONG rows = std::min<LONG>(static_cast<LONG>(options_.size()), kMaxRows);
  const LONG h = (metrics_.tmAscent + metrics_.tmDescent) * rows;
  LONG width = widest + metric(SM_CXVSCROLL, 16);
  if (static_cast<LONG>(options_.size()) > kMaxRows) width += metric(SM_CXVSCROLL, 16);
  // The rows centred on the line's text.
  const LONG top = (metrics_.tmDescent - metrics_.tmAscent) / 2 - h / 2;
  return LayoutRect::Of(0, width, top, top + h);
}

void FormListBox::SelectOption(int index, BYTE selected) {
  if (index < 0 || index >= OptionCount()) return;
  chosen_.resize(options_.size(), 0);
  if (!multiple_ && selected) std::fill(chosen_.begin(), chosen_.end(), 0);
  chosen_[static_cast<size_t>(index)] = selected ? 1 : 0;
  if (!m_hWnd) return;
  if (multiple_) {
    SendMessage(LB_SETSEL, selected ? TRUE : FALSE, index);
  } else if (selected) {
    SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else if (SendMessage(LB_GETCURSEL, 0, 0) == index) {
    SendMessage(LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
}

bool FormListBox::CollectValues(std::vector<CString>& values) {
  for (size_t i = 0; i < options_.size(); ++i) {
    bool on;
    if (m_hWnd)
      on = multiple_ ? SendMessage(LB_GETSEL, i, 0) > 0 : SendMessage(LB_GETCURSEL, 0, 0) == static_cast<LRESULT>(i);
    else
      on = i < chosen_.size() ? chosen_[i] != 0 : options_[i].defaultSelected != 0;
    if (on) values.push_back(options_[i].value);
  }
  return true;
}
