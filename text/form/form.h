// The form of a text document: the record that the builder makes when a form
// begins and that every field of the form joins. Fields are the layout's
// controls (FormControl below); name/value pairs without a control of their
// own (hidden fields) are kept here. A submission walks controls and pairs in
// document order, by the index each got when it joined.
#pragma once

#include <vector>

#include "core/list.h"
#include "core/objref.h"
#include "mfc/cstring.h"
#include "win/types.h"

class Form;

// What a form needs of a field. The layout's form fields implement it and
// join a form with Form::AddControl (and leave it with RemoveControl before
// they are destroyed).
class FormControl : public ListElement {
 public:
  enum Kind : int {
    kTextArea = 0,
    kCheckBox = 1,
    kRadio = 2,
    kTextField = 3,
    kButton = 6,  // never submitted
    kChoice = 7,
  };
  virtual CString ControlName() const = 0;
  // Appends the values the field submits; false when they cannot be had.
  virtual bool CollectValues(std::vector<CString>& values) = 0;
  virtual void ResetControl() = 0;
  virtual int ControlKind() const = 0;
  virtual void SetIndex(LONG index) = 0;
  virtual LONG Index() const = 0;
};

// Who carries a submission out: the text document, which encodes the pairs
// and hands the request to its view.
class FormSubmitter {
 public:
  virtual ~FormSubmitter();
  virtual void Submit(Form& form) = 0;
  // A submission from a picture field; the argument says where it was hit.
  virtual void SubmitAt(Form& form, const CString& argument) = 0;
};

struct FormPairText {
  CString name;
  CString value;
  friend bool operator==(const FormPairText& a, const FormPairText& b) {
    return a.name == b.name && a.value == b.value;
  }
};

class Form : public ObjRef {
 public:
  Form(const CString& action, LONG method, LONG further, FormSubmitter* submitter);
  ~Form() override;

  // The control gets the next index and joins the end of the list; null is
  // ignored.
  void AddControl(FormControl* control);
  // Unlinks the control; indices are not renumbered.
  void RemoveControl(FormControl* control);
  // A pair with the next index; ignored for an empty name.
  void AddPair(const CString& name, const CString& value);
  // The first control of that name (exact) and, unless kind is -1, kind.
  FormControl* FindControl(const CString& name, int kind) const;

  const CString& GetAction() const { return action_; }
  LONG GetMethod() const { return method_; }
  LONG Further() const { return further_; }
  FormSubmitter* Submitter() const { return submitter_; }

  void ResetAll();
  void Submit();
  virtual void SubmitAt(const CString& argument);

  // The pairs of a submission in document order: each control (but buttons)
  // gives one pair per value, recorded pairs give themselves. The result is
  // the last control's answer, true when none was asked.
  bool CollectPairs(std::vector<FormPairText>& out) const;

  LONG NextIndex() const { return nextIndex_; }
  const List& Controls() const { return controls_; }

 private:
  struct Pair : ListElement {
    Pair(const CString& n, const CString& v, LONG i) : name(n), value(v), index(i) {}
    CString name;
    CString value;
    LONG index;
  };

  LONG nextIndex_ = 0;
  List controls_;  // not owned
  List pairs_;     // owned
  FormSubmitter* submitter_;
  CString action_;
  LONG method_;
  LONG further_;
};

// A button's action: runs one operation of its form. The action holds a
// reference to the form, so a button can never run an action on a form that
// is gone; an action without a form does nothing.
class FormAction : public ObjRef {
 public:
  enum Operation { kSubmit, kReset };
  FormAction(Form* form, Operation operation);
  ~FormAction() override;
  virtual void Invoke();
  Form* Target() const { return form_.get(); }
  Operation Kind() const { return operation_; }

 private:
  Ref<Form> form_;
  Operation operation_;
};
