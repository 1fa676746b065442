#include "text/form/form.h"

#include <new>

FormSubmitter::~FormSubmitter() = default;

Form::Form(const CString& action, LONG method, LONG further, FormSubmitter* submitter)
    : submitter_(submitter), action_(action), method_(method), further_(further) {}

Form::~Form() {
  pairs_.clearAndDelete();
  // The controls belong to the layout; they are only let go of.
  while (controls_.popFront()) {
  }
}

void Form::AddControl(FormControl* control) {
  if (!control || control->isLinked()) return;
  control->SetIndex(nextIndex_++);
  controls_.append(control);
}

void Form::RemoveControl(FormControl* control) {
  if (!control) return;
  for (ListElement* e = controls_.first(); e; e = e->next()) {
    if (e == control) {
      controls_.unlink(control);
      return;
    }
  }
}

void Form::AddPair(const CString& name, const CString& value) {
  if (name.IsEmpty()) return;
  auto* pair = new (std::nothrow) Pair(name, value, nextIndex_);
  if (!pair) return;
  ++nextIndex_;
  pairs_.append(pair);
}

FormControl* Form::FindControl(const CString& name, int kind) const {
  for (ListElement* e = controls_.first(); e; e = e->next()) {
    auto* control = static_cast<FormControl*>(e);
    if (control->ControlName() == name && (kind == -1 || control->ControlKind() == kind)) return control;
  }
  return nullptr;
}

void Form::ResetAll() {
  for (ListElement* e = controls_.first(); e; e = e->next()) static_cast<FormControl*>(e)->ResetControl();
}

void Form::Submit() {
  if (submitter_) submitter_->Submit(*this);
}

void Form::SubmitAt(const CString& argument) {
  if (submitter_) submitter_->SubmitAt(*this, argument);
}

bool Form::CollectPairs(std::vector<FormPairText>& out) const {
  bool result = true;
  auto* control = static_cast<FormControl*>(controls_.first());
  auto* pair = static_cast<Pair*>(pairs_.first());
  // Both lists are in index order; merging them by index gives document
  // order, and the gaps that removed controls leave are skipped.
  while (control || pair) {
    if (control && (!pair || control->Index() <= pair->index)) {
      if (control->ControlKind() != FormControl::kButton) {
        std::vector<CString> values;
        result = control->CollectValues(values);
        CString name = control->ControlName();
        for (const CString& v : values) out.push_back({name, v});
      }
      control = static_cast<FormControl*>(control->next());
    } else {
      out.push_back({pair->name, pair->value});
      pair = static_cast<Pair*>(pair->next());
    }
  }
  return result;
}

FormAction::FormAction(Form* form, Operation operation) : form_(form), operation_(operation) {}

FormAction::~FormAction() = default;

void FormAction::Invoke() {
  Form* form = form_.get();
  if (!form) return;
  if (operation_ == kSubmit)
    form->Submit();
  else
    form->ResetAll();
}
