#include "text/form/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Control : FormControl {
  Control(std::string n, int k, std::vector<std::string> v) : name(std::move(n)), kind(k), values(std::move(v)) {}
  CString ControlName() const override { return name.c_str(); }
  bool CollectValues(std::vector<CString>& out) override {
    for (auto& v : values) out.push_back(v.c_str());
    return answer;
  }
  void ResetControl() override { ++resets; }
  int ControlKind() const override { return kind; }
  void SetIndex(LONG i) override { index = i; }
  LONG Index() const override { return index; }
  std::string name;
  int kind;
  std::vector<std::string> values;
  LONG index = -1;
  int resets = 0;
  bool answer = true;
};

struct Submitter : FormSubmitter {
  void Submit(Form& form) override { submitted = &form; }
  void SubmitAt(Form& form, const CString& argument) override {
    submitted = &form;
    at = argument;
  }
  Form* submitted = nullptr;
  CString at;
};

std::vector<std::string> flat(const std::vector<FormPairText>& pairs) {
  std::vector<std::string> out;
  for (auto& p : pairs) out.push_back(std::string(p.name.c_str()) + "=" + p.value.c_str());
  return out;
}

TEST(Form, PairsComeOutInDocumentOrder) {
  Ref<Form> form(new Form("act", 0, 0, nullptr));
  Control text("t", FormControl::kTextArea, {"hello"});
  Control check("c", FormControl::kCheckBox, {"on"});
  Control removed("gone", FormControl::kTextArea, {"x"});
  Control button("b", FormControl::kButton, {"Submit"});
  Control multi("m", FormControl::kChoice, {"1", "2"});
  form->AddControl(&text);
  form->AddPair("h", "v");
  form->AddPair("", "ignored");  // no name: no pair and no position
  form->AddControl(&check);
  form->AddControl(&removed);
  form->AddControl(&button);
  form->AddPair("h2", "w");
  form->AddControl(&multi);
  form->RemoveControl(&removed);
  EXPECT_EQ(text.index, 0);
  EXPECT_EQ(check.index, 2);
  EXPECT_EQ(multi.index, 6);
  std::vector<FormPairText> pairs;
  EXPECT_TRUE(form->CollectPairs(pairs));
  EXPECT_EQ(flat(pairs), (std::vector<std::string>{"t=hello", "h=v", "c=on", "h2=w", "m=1", "m=2"}));
  multi.answer = false;
  pairs.clear();
  EXPECT_FALSE(form->CollectPairs(pairs));
  form->RemoveControl(&text);
  form->RemoveControl(&check);
  form->RemoveControl(&button);
  form->RemoveControl(&multi);
}

TEST(Form, FindResetAndActions) {
  Submitter submitter;
  Ref<Form> form(new Form("act", 1, 7, &submitter));
  Control radioA("r", FormControl::kRadio, {});
  Control textR("r", FormControl::kTextArea, {});
  form->AddControl(&textR);
  form->AddControl(&radioA);
  EXPECT_EQ(form->FindControl("r", -1), &textR);
  EXPECT_EQ(form->FindControl("r", FormControl::kRadio), &radioA);
  EXPECT_EQ(form->FindControl("R", -1), nullptr);

  Ref<FormAction> reset(new FormAction(form.get(), FormAction::kReset));
  Ref<FormAction> submit(new FormAction(form.get(), FormAction::kSubmit));
  reset->Invoke();
  EXPECT_EQ(radioA.resets + textR.resets, 2);
  submit->Invoke();
  EXPECT_EQ(submitter.submitted, form.get());
  form->SubmitAt("3,4");
  EXPECT_EQ(submitter.at, "3,4");

  // An action keeps its form: the form outlives the builder's reference.
  Form* raw = form.get();
  form->RemoveControl(&textR);
  form->RemoveControl(&radioA);
  form = nullptr;
  EXPECT_EQ(submit->Target(), raw);
  submit->Invoke();
  EXPECT_EQ(submitter.submitted, raw);

  Ref<FormAction> orphan(new FormAction(nullptr, FormAction::kSubmit));
  orphan->Invoke();  // no form: nothing happens
}

}  // namespace
