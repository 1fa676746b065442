#include "layout/forms/form_item.h"

#include <algorithm>

void RadioGroup::Remove(FormItem* member) {
  members_.erase(std::remove(members_.begin(), members_.end(), member), members_.end());
}

void RadioGroup::Notify(FormItem* clicked) {
  // A copy: a member may leave while it is told.
  std::vector<FormItem*> now = members_;
  for (FormItem* m : now) m->SetChecked(m == clicked ? 1 : 0, 0);
}

FormItem::~FormItem() { SetForm(nullptr); }

void FormItem::SetForm(Form* form) {
  if (form_.get() == form) return;
  if (form_) form_->RemoveControl(this);
  form_ = Ref<Form>(form);
  if (form_) form_->AddControl(this);
}

bool FormItem::CollectValues(std::vector<CString>& values) {
  values.push_back(value_);
  return true;
}
