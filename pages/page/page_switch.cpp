#include "pages/page/page_switch.h"

#include "core/logbook.h"
#include "core/object_utils.h"
#include "mfc/afx.h"
#include "pages/objects/background_sound.h"
#include "pages/objects/vhint_dlg.h"
#include "pages/page/page_parts.h"
#include "pages/page/vdefpage.h"
#include "pages/page/vsyncpage.h"
#include "pages/rules/rule_set.h"
#include "pages/shell_link.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"
#include "win/user.h"

namespace {

struct SwitchState {
  VPage* current = nullptr;
  CString expression;
  CString style;
};
SwitchState& state() {
  static SwitchState s;
  return s;
}

// The hint window's first size; it takes its label's size for each hint.
constexpr int kHintWidth = 100;
constexpr int kHintHeight = 25;

}  // namespace

VPage* CurrentPage() { return state().current; }
const CString& CurrentPageExpression() { return state().expression; }
const CString& CurrentPageStyle() { return state().style; }

void DestroyPage(VPage* page) {
  if (!page) return;
  CWnd* window = page->GetWindow();
  if (window && IsWindow(window->GetSafeHwnd()))
    window->DestroyWindow();
  else
    delete page;
}

void DestroyCurrentPage() {
  VPage* page = state().current;
  state().current = nullptr;
  DestroyPage(page);
}

VPage* pageFromStyle(const CString& pageStyle) {
  PropertyTable& table = StyleTable();
  if (table.IsDerived(pageStyle, "DefaultPage")) return new VDefPage;
  if (table.IsDerived(pageStyle, "CADPage"))
    if (VPage* page = MakeCADPage()) return page;
  TheLogbook().Write("cannot create page with unknown page style " + pageStyle);
  return nullptr;
}

VPage* pageFor(CWnd* parent, BOOL createHidden) {
  SwitchState& s = state();
  const Ref<KXObject> object = followLink(Shell().CurrentObject());
  s.expression = object ? object->getLayout() : CString();
  s.style = GetStyleName(s.expression);
  Ref<KXObject> layoutSource = object;
  if (s.style.IsEmpty()) {
    if (Ref<KXObject> head = collectionHeadList(object)) {
      layoutSource = followLink(head);
      s.expression = layoutSource ? layoutSource->getLayout() : CString();
    }
    s.style = GetStyleName(s.expression);
  }
  TypeCount counts;
  counts.countMembers(layoutSource);

  VPage* page = nullptr;
  if (!s.style.IsEmpty()) {
    LoadOnlineStyle(s.expression);
    page = pageFromStyle(s.style);
    if (page) page->LoadStyle(nullptr, s.expression, "DefaultPage()", layoutSource);
  }
  // A presentation comes before the rules: its collection says so by its
  // script member.
  if (!page && VSyncpage::Accepts(layoutSource)) {
    page = new VSyncpage;
    page->LoadStyle(nullptr, "", "SyncPage()", layoutSource);
  }
  if (!page) {
    s.expression = TheRuleSet().evaluate(counts);
    s.style = GetStyleName(s.expression);
    if (!s.expression.IsEmpty()) {
      if (!s.style.IsEmpty()) {
        LoadOnlineStyle(s.expression);
        page = pageFromStyle(s.style);
        if (page) page->LoadStyle(nullptr, s.expression, "", Ref<KXObject>());
      }
    }
  }
  if (!page) page = new VDefPage;

  if (createHidden) page->SetState(page->State() | VObject::kHidden);
  if (!page->CreatePage(parent)) {
    delete page;
    return nullptr;
  }
  if (!createHidden) page->SetState(page->State() & ~VObject::kHidden);
  return page;
}

VPage* setCurrentPage(CWnd* parent, BOOL createHidden) {
  SwitchState& s = state();
  if (s.current) s.current->Leave();
  VPage* page = pageFor(parent, createHidden);
  if (!page) {
    // The old page was told it is left; it stays current, so it is entered
    // again (its clock runs again and it counts as active).
    if (s.current) s.current->Enter();
    return nullptr;
  }
  if (s.current && !createHidden) {
    DestroyPage(s.current);
    s.current = nullptr;
  }
  changePage(s.current, page, createHidden);
  if (s.current) {
    DestroyPage(s.current);
    s.current = nullptr;
  }
  Shell().ClearStartupPicture();
  s.current = page;
  page->Enter();
  return page;
}

VHintDlg* MakeHintWindow(CWnd* frame) {
  auto* hint = new VHintDlg(0, 0, kHintWidth, kHintHeight, frame);
  hint->LoadStyle(nullptr, "", "HintDialog()", Ref<KXObject>());
  hint->SetState(hint->State() | VObject::kHidden);
  if (!hint->CreateDialogWindow(frame)) {
    delete hint;
    return nullptr;
  }
  return hint;
}

void changePage(VPage* oldPage, VPage* newPage, BOOL) {
  CWnd* frame = AfxGetMainWnd();
  if (!frame) return;
  // One hint window for the whole run; the frame keeps it.
  VHintDlg* hint = VHintDlg::GetHintWindow();
  if (!hint && !Shell().HintWindow())
    if ((hint = MakeHintWindow(frame))) Shell().SetHintWindow(hint->Window());
  if (hint) hint->Hide();
  VObject* sound = BackgroundSound();
  if (oldPage) {
    if (!newPage) return;
    if (sound) oldPage->RemoveChild(sound);
    oldPage->SetState(oldPage->State() | VObject::kInactive);
    oldPage->SetState(oldPage->State() | VObject::kHidden);
    oldPage->Stop();
  }
  if (newPage) {
    newPage->SetState(newPage->State() & ~VObject::kHidden);
    if (CWnd* window = newPage->GetWindow()) window->SetFocus();
    if (sound && oldPage) newPage->AppendChild(sound);
    newPage->Start();
  }
}
