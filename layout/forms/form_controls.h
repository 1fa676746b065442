// The windows of form fields: each field is at the same time a child window
// of the text view and the field's model. The window is made (hidden) the
// first time the field is measured for layout, sized from the font of the
// field's text style, moved and shown where its atom is drawn, and read
// when the form collects its values.
//
//   FormPushButton   BUTTON    submit and reset buttons (kind 6)
//   FormCheckBox     BUTTON    check box (kind 1)
//   FormRadioButton  BUTTON    radio button (kind 2)
//   FormEdit         EDIT      text, password and multi-line text (kind 0)
//   FormNumberEdit   EDIT      a number within a range (kind 3)
//   FormComboBox     COMBOBOX  a drop-down selection (kind 7)
//   FormListBox      LISTBOX   any other selection (kind 7)
#pragma once

#include <vector>

#include "layout/forms/form_item.h"
#include "mfc/wnd.h"

class TextView;

// The control id every field window has.
constexpr UINT kFormControlId = 150;

class FormWindow : public CWnd, public FormItem {
 public:
  FormWindow(ResolvedStyle* style, BYTE marks) : FormItem(style, marks) {}
  ~FormWindow() override;

  void Measure(LayoutRect& box, TextOutput* ctx) override;
  void PlaceWindow(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip) override;
  bool HasWindow() const { return m_hWnd != nullptr; }
  // The box of the last measure (unset before).
  const LayoutRect& Box() const { return box_; }

 protected:
  // Creates the window (hidden, unplaced) inside the view; false when it
  // cannot be made.
  virtual bool CreateControl(TextView& view) = 0;
  // The box before the edge frame, the window made and its font set.
  virtual LayoutRect ComputeBox(TextView& view) = 0;
  // Whether the edge frame is added around the box.
  virtual bool Framed() const { return true; }
  // The rectangle the window takes (the combo box's open list is larger).
  virtual LayoutRect WindowRect(const LayoutRect& box) const { return box; }

  bool CreateWindowOf(TextView& view, DWORD exStyle, const char* cls, const char* text, DWORD style);
  // Gives the window the font of the field's style and keeps a copy of it
  // for measuring; the text metrics of that font.
  void SetupFont(TextView& view);
  SIZE Extent(const CString& text) const;

  HFONT font_ = nullptr;
  TEXTMETRIC metrics_{};
  LayoutRect box_;
};

class FormPushButton : public FormWindow {
 public:
  FormPushButton(ResolvedStyle* style, BYTE marks, FormAction* action) : FormWindow(style, marks), action_(action) {}
  int ControlKind() const override { return kButton; }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // What a click does: the button's action, or a message without one.
  void Click();

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;

 private:
  Ref<FormAction> action_;
};

class FormCheckBox : public FormWindow {
 public:
  FormCheckBox(ResolvedStyle* style, BYTE marks) : FormWindow(style, marks) {}
  int ControlKind() const override { return kCheckBox; }
  bool CollectValues(std::vector<CString>& values) override;
  void ResetControl() override;
  void SetChecked(BYTE state, BYTE makeDefault) override;
  BYTE IsChecked() const override { return checked_; }
  BYTE DefaultChecked() const { return defaultChecked_; }
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  virtual void Click();

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;
  bool Framed() const override { return false; }
  virtual DWORD ButtonStyle() const { return 0x40000002; }  // WS_CHILD | BS_CHECKBOX

  BYTE checked_ = 0;
  BYTE defaultChecked_ = 0;
};

class FormRadioButton : public FormCheckBox {
 public:
  // Joins the group given, or a new one.
  FormRadioButton(ResolvedStyle* style, BYTE marks, RadioGroup* group);
  ~FormRadioButton() override;
  int ControlKind() const override { return kRadio; }
  void ResetControl() override;
  RadioGroup* Group() const override { return group_.get(); }
  void Click() override;

 protected:
  DWORD ButtonStyle() const override { return 0x40020004; }  // WS_CHILD | WS_GROUP | BS_RADIOBUTTON

 private:
  Ref<RadioGroup> group_;
};

class FormEdit : public FormWindow {
 public:
  FormEdit(ResolvedStyle* style, BYTE marks) : FormWindow(style, marks) {}
  int ControlKind() const override { return kTextArea; }
  bool CollectValues(std::vector<CString>& values) override;
  void ResetControl() override;
  void SetSize(LONG columns, LONG rows) override;
  void SetPassword(BYTE flag) override { password_ = flag ? 0x20 : 0; }
  bool MultiLine() const { return multiLine_ != 0; }

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;

 private:
  DWORD password_ = 0;
  DWORD multiLine_ = 0;
  LONG columns_ = 0;
  LONG rows_ = 0;
};

class FormNumberEdit : public FormWindow {
 public:
  FormNumberEdit(ResolvedStyle* style, BYTE marks) : FormWindow(style, marks) {}
  int ControlKind() const override { return kTextField; }
  bool CollectValues(std::vector<CString>& values) override;
  void ResetControl() override;
  void SetValue(const CString& value) override;
  void SetRange(double minimum, double maximum) override {
    minimum_ = static_cast<float>(minimum);
    maximum_ = static_cast<float>(maximum);
  }
  void SetNumeric(BYTE integral) override { integral_ = integral; }
  // The text submitted for a typed text: unchanged when it begins with a
  // number inside the range, else the nearer bound (the minimum for text
  // that is no number).
  static CString Clamp(const CString& typed, float minimum, float maximum, bool integral);

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;

 private:
  BYTE integral_ = 1;
  float minimum_ = 0;
  float maximum_ = 0;
};

// The options of a selection, shared by the combo and the list box.
class FormChoice : public FormWindow {
 public:
  FormChoice(ResolvedStyle* style, BYTE marks) : FormWindow(style, marks) {}
  int ControlKind() const override { return kChoice; }
  void SetValue(const CString&) override {}
  void ResetControl() override;
  void SetMultiple(BYTE multiple) override { multiple_ = multiple; }
  void AddOption(const OptionRecord& option) override { options_.push_back(option); }
  int OptionCount() const override { return static_cast<int>(options_.size()); }
  const OptionRecord& Option(int i) const { return options_[static_cast<size_t>(i)]; }

 protected:
  std::vector<OptionRecord> options_;
  BYTE multiple_ = 0;
};

class FormComboBox : public FormChoice {
 public:
  FormComboBox(ResolvedStyle* style, BYTE marks) : FormChoice(style, marks) {}
  bool CollectValues(std::vector<CString>& values) override;
  void SelectOption(int index, BYTE selected) override;
  int Current() const { return current_; }

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;
  LayoutRect WindowRect(const LayoutRect& box) const override;

 private:
  int current_ = -1;  // none chosen yet: the default-selected option shows
  LONG dropRows_ = 0;
};

class FormListBox : public FormChoice {
 public:
  // The most rows a list box shows.
  static constexpr int kMaxRows = 8;
  FormListBox(ResolvedStyle* style, BYTE marks) : FormChoice(style, marks) {}
  bool CollectValues(std::vector<CString>& values) override;
  void SelectOption(int index, BYTE selected) override;

 protected:
  bool CreateControl(TextView& view) override;
  LayoutRect ComputeBox(TextView& view) override;

 private:
  std::vector<BYTE> chosen_;  // before the window exists
};
