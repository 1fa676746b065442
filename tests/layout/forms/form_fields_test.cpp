// Form fields in a text view: the windows they make, what a form submits,
// resetting, radio groups, and the number field's clamping.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "layout/forms/form_atom.h"
#include "layout/forms/form_controls.h"
#include "layout/view/support/view_fixture.h"
#include "win/user.h"

namespace view_test {
namespace {

// The fields of the shown document in document order.
std::vector<FormWindow*> fields(TextView& view) {
  std::vector<FormWindow*> out;
  Form* form = nullptr;
  for (HWND c = GetWindow(view.GetSafeHwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (auto* f = dynamic_cast<FormWindow*>(CWnd::FromHandlePermanent(c))) {
      out.push_back(f);
      form = f->GetForm();
    }
  (void)form;
  std::sort(out.begin(), out.end(), [](FormWindow* a, FormWindow* b) { return a->Index() < b->Index(); });
  return out;
}

std::string submission(Form& form) {
  std::vector<FormPairText> pairs;
  form.CollectPairs(pairs);
  std::string s;
  for (auto& p : pairs) s += std::string(p.name.c_str()) + "=" + p.value.c_str() + ";";
  return s;
}

void click(CWnd* w) {
  // The notification a click on the control sends to the view.
  HWND h = w->GetSafeHwnd();
  SendMessage(GetParent(h), WM_COMMAND, MAKEWPARAM(kFormControlId, BN_CLICKED), reinterpret_cast<LPARAM>(h));
}

const char kForm[] =
    "<FORM ACTION=\"http://quay.example/cgi/order\" METHOD=POST>"
    "<P>Name <INPUT NAME=who VALUE=\"Ida Marsh\">"
    " <INPUT TYPE=CHECKBOX NAME=news VALUE=yes CHECKED>"
    " <INPUT TYPE=RADIO NAME=boat VALUE=ferry CHECKED>"
    "<INPUT TYPE=RADIO NAME=boat VALUE=barge>"
    "<INPUT TYPE=RADIO NAME=boat VALUE=skiff>"
    " <SELECT NAME=port><OPTION>Lindholm<OPTION SELECTED VALUE=mb>Marrow Bay<OPTION>Velden</SELECT>"
    " <INPUT TYPE=SUBMIT VALUE=Send> <INPUT TYPE=RESET></P></FORM>";

TEST_F(ViewTest, AFormShowsItsFieldsAndSubmitsThroughTheListener) {
  TextView& view = Show(kForm, 600, 300);
  std::vector<FormWindow*> f = fields(view);
  ASSERT_EQ(f.size(), 8u);
  for (FormWindow* w : f) {
    SCOPED_TRACE(w->Index());
    EXPECT_TRUE(w->IsWindowVisible());
    RECT r;
    w->GetWindowRect(&r);
    EXPECT_GT(r.right - r.left, 0);
  }
  Form* form = f[0]->GetForm();
  ASSERT_NE(form, nullptr);
  // The combo shows the option the document marked, and submits it.
  auto* combo = dynamic_cast<FormComboBox*>(f[5]);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->SendMessage(CB_GETCURSEL), 1);
  EXPECT_EQ(submission(*form), "who=Ida Marsh;news=yes;boat=ferry;port=mb;");

  // Choosing another boat unchecks the first; the user's text is sent.
  click(f[3]);
  f[0]->SetWindowText("Jon Fell");
  click(f[1]);  // news off
  EXPECT_EQ(submission(*form), "who=Jon Fell;boat=barge;port=mb;");
  EXPECT_EQ(f[2]->SendMessage(BM_GETCHECK), BST_UNCHECKED);

  click(f[6]);  // Send
  ASSERT_EQ(listener_.requests.size(), 1u);
  const std::string& request = listener_.requests[0];
  EXPECT_NE(request.find("Method=WWW_POST"), std::string::npos) << request;
  EXPECT_NE(request.find("|who=Jon+Fell&boat=barge&port=mb"), std::string::npos) << request;

  click(f[7]);  // Reset: every field as the document built it
  EXPECT_EQ(submission(*form), "who=Ida Marsh;news=yes;boat=ferry;port=mb;");
  EXPECT_EQ(f[3]->SendMessage(BM_GETCHECK), BST_UNCHECKED);
}

TEST_F(ViewTest, ListBoxesTakeOneRowUnlessMultipleAndShowAtMostEightRows) {
  std::string options;
  for (int i = 0; i < 12; ++i) options += "<OPTION>place " + std::to_string(i);
  TextView& view = Show("<FORM ACTION=x><SELECT NAME=one SIZE=4>" + options +
                            "</SELECT><SELECT NAME=many SIZE=4 MULTIPLE><OPTION>a<OPTION>b<OPTION>c</SELECT></FORM>",
                        600, 400);
  std::vector<FormWindow*> f = fields(view);
  ASSERT_EQ(f.size(), 2u);
  auto* one = dynamic_cast<FormListBox*>(f[0]);
  auto* many = dynamic_cast<FormListBox*>(f[1]);
  ASSERT_TRUE(one && many);
  EXPECT_EQ(one->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
  EXPECT_NE(many->GetStyle() & LBS_MULTIPLESEL, 0u);
  one->SelectOption(2, 1);
  one->SelectOption(5, 1);
  many->SelectOption(0, 1);
  many->SelectOption(2, 1);
  std::vector<CString> a, b;
  one->CollectValues(a);
  many->CollectValues(b);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0], "place 5");
  EXPECT_EQ(b.size(), 2u);
  // Eight rows of the font inside the frame, however many options there are.
  const LayoutRect& big = one->Box();
  const LayoutRect& small = many->Box();
  const LONG frame = 2 * (GetSystemMetrics(SM_CYEDGE) ? GetSystemMetrics(SM_CYEDGE) : 5) + 4;
  const LONG row = (small.Height() - frame) / 3;
  EXPECT_EQ(big.Height() - frame, 8 * row);
}

TEST_F(ViewTest, OneLineTextFieldsScrollSidewaysAndNumberFieldsClamp) {
  TextView& view = Show("<FORM ACTION=x><INPUT NAME=t SIZE=5><INPUT TYPE=NUMBER NAME=n MIN=1 MAX=10 VALUE=12></FORM>");
  std::vector<FormWindow*> f = fields(view);
  ASSERT_EQ(f.size(), 2u);
  EXPECT_NE(f[0]->GetStyle() & ES_AUTOHSCROLL, 0u);
  f[0]->SetWindowText("a line much longer than five digits");
  CString text;
  f[0]->GetWindowText(text);
  EXPECT_EQ(text, "a line much longer than five digits");
  std::vector<CString> v;
  f[1]->CollectValues(v);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0], "10");
  f[1]->GetWindowText(text);
  EXPECT_EQ(text, "10");  // the bound is shown in the field
}

TEST(NumberField, TextIsClampedToTheRange) {
  struct Case {
    const char* typed;
    float lo, hi;
    bool integral;
    const char* sent;
  };
  const Case cases[] = {
      {"12", 1, 10, true, "10"},
      {"0", 1, 10, true, "1"},
      {"5 boats", 1, 10, true, "5 boats"},  // a number inside the range: as typed
      {"none", 0.5f, 2.5f, false, "0.5"},
      {"3", 0.5f, 2.5f, false, "2.5"},
      {"7", 5, 3, true, "3"},  // the maximum wins over a larger minimum
      {"", 2, 4, true, "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(FormNumberEdit::Clamp(c.typed, c.lo, c.hi, c.integral), c.sent);
  }
}

TEST_F(ViewTest, CheckBoxesToggleAndResetToWhatTheDocumentSaid) {
  TextView& view = Show("<FORM ACTION=x><INPUT TYPE=CHECKBOX NAME=c VALUE=on CHECKED></FORM>");
  std::vector<FormWindow*> f = fields(view);
  ASSERT_EQ(f.size(), 1u);
  click(f[0]);
  EXPECT_EQ(f[0]->IsChecked(), 0);
  click(f[0]);
  EXPECT_EQ(f[0]->IsChecked(), 1);
  click(f[0]);
  f[0]->GetForm()->ResetAll();
  EXPECT_EQ(f[0]->IsChecked(), 1);
  EXPECT_EQ(f[0]->SendMessage(BM_GETCHECK), BST_CHECKED);
}

TEST_F(ViewTest, AButtonWithoutAnActionSaysSo) {
  FormPushButton lonely(nullptr, 0, nullptr);
  win::ClearMessageBoxLog();
  lonely.Click();
  const auto& shown = win::MessageBoxLog();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "no action available");
}

}  // namespace
}  // namespace view_test
