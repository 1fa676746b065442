// A form field of a text document: the model of one form element (its name,
// value, defaults and kind-specific state) and, in the same object, the
// child window of the text view that shows it (form_controls.h). A field
// joins its document's Form, which walks the fields in their index order to
// build a submission and to reset them. A field belongs to its FormAtom.
#pragma once

#include <vector>

#include "core/objref.h"
#include "layout/atoms/text_output.h"
#include "layout/atoms/text_run.h"
#include "mfc/cstring.h"
#include "text/form/form.h"

class FormItem;

// One option of a selection.
struct OptionRecord {
  CString text;
  CString value;
  BYTE selected = 0;
  BYTE defaultSelected = 0;
  CString text1;
  CString text2;
};

// The radio buttons of one name in one form: checking one unchecks the
// others. Counted: every member holds it.
class RadioGroup : public ObjRef {
 public:
  void Add(FormItem* member) { members_.push_back(member); }
  void Remove(FormItem* member);
  // Every member checked exactly when it is `clicked` (not as default).
  void Notify(FormItem* clicked);
  size_t Size() const { return members_.size(); }

 private:
  std::vector<FormItem*> members_;
};

class FormItem : public FormControl, public StyledItem {
 public:
  FormItem(ResolvedStyle* style, BYTE marks) : StyledItem(style, marks) {}
  ~FormItem() override;

  // ---- Shared model operations
  // Leaves the old form (if any) and joins the new one, which gives the
  // field its index.
  virtual void SetForm(Form* form);
  Form* GetForm() const { return form_.get(); }
  virtual void SetName(const CString& name) { name_ = name; }
  const CString& Name() const { return name_; }
  virtual void SetValue(const CString& value) { value_ = value; }
  const CString& Value() const { return value_; }
  virtual void SetDisabled(BYTE disabled) { disabled_ = disabled; }
  BYTE Disabled() const { return disabled_; }
  void SetAuxText(const CString& text) { auxText_ = text; }
  const CString& AuxText() const { return auxText_; }

  // ---- FormControl
  CString ControlName() const override { return name_; }
  bool CollectValues(std::vector<CString>& values) override;
  void ResetControl() override {}
  void SetIndex(LONG index) override { index_ = index; }
  LONG Index() const override { return index_; }

  // ---- Kind-specific (nothing in the model)
  virtual void SetSize(LONG columns, LONG rows) { (void)columns, (void)rows; }
  virtual void SetPassword(BYTE flag) { (void)flag; }
  virtual void SetChecked(BYTE state, BYTE makeDefault) { (void)state, (void)makeDefault; }
  virtual BYTE IsChecked() const { return 1; }
  virtual void SetRange(double minimum, double maximum) { (void)minimum, (void)maximum; }
  virtual void SetNumeric(BYTE integral) { (void)integral; }
  virtual void SetMultiple(BYTE multiple) { (void)multiple; }
  virtual void AddOption(const OptionRecord& option) { (void)option; }
  virtual void SelectOption(int index, BYTE selected) { (void)index, (void)selected; }
  virtual int OptionCount() const { return 0; }
  virtual RadioGroup* Group() const { return nullptr; }

  // ---- The window side
  // The field's box {left, right, top, bottom} relative to its origin on
  // the baseline (top negative); the window is made on the first call.
  virtual void Measure(LayoutRect& box, TextOutput* ctx) = 0;
  // Moves and shows the window at the box shifted by the origin.
  virtual void PlaceWindow(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip) = 0;

 protected:
  LONG index_ = 0;
  CString name_;
  CString value_;
  BYTE disabled_ = 0;
  CString auxText_;
  Ref<Form> form_;
};
