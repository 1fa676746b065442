#include "pages/objects/vtoolbar.h"

#include <cstring>

#include "core/logbook.h"
#include "pages/objects/vlabel.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"

namespace {

struct CommandRule {
  const char* word;     // looked for anywhere in the line, case-sensitive
  const char* command;  // what the shell is asked; null: always shown
};

// In the order the words are tried: "undo" before "back", "next" before
// "prev" (which also covers "previous"), "korvexroot" before "root".
constexpr CommandRule kRules[] = {
    {"undo", "back"},         {"back", "back"},     {"redo", "forward"}, {"next", "next"},
    {"prev", "prev"},         {"up", "up"},         {"korvexroot", "korvexroot"},
    {"root", "root"},         {"home", "home"},     {"language", nullptr},
    {"parents", "parents"},   {"history", "history"}, {"search", "search"},
    {"end", nullptr},
};

}  // namespace

const char* ToolbarCommandWord(const char* onclick, bool* always) {
  if (always) *always = false;
  if (!onclick || !*onclick) return "";
  for (const CommandRule& rule : kRules) {
    if (!std::strstr(onclick, rule.word)) continue;
    if (!rule.command) {
      if (always) *always = true;
      return rule.word;
    }
    return rule.command;
  }
  return "";
}

VToolbar::VToolbar(int left, int top, int right, int bottom) : VGroup(left, top, right, bottom) {
  SetState(kPassThrough);
}

VToolbar::~VToolbar() = default;

const char* VToolbar::GetClassName() const { return "VToolbar"; }

void VToolbar::Initialize() {
  VGroup::Initialize();
  CreateButtons();
  UpdateButtons();
  InitializeChildren();
}

void VToolbar::Invalidate() {
  UpdateButtons();
  VGroup::Invalidate();
}

void VToolbar::Notify(int, VObject*) {}

void VToolbar::OnQueryEndSession() {}

void VToolbar::ReadStyleAttributes() {
  if (const PropertyStruct* s = GetStyle()) {
    const RECT pos = getRect(s->StyleQuery("pos"), Rect());
    SetRect(pos.left, pos.top, pos.right, pos.bottom);
  }
  VObject::ReadStyleAttributes();
}

bool VToolbar::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (CString(name ? name : "") == "pos") {
    SetRect(left, top, right, bottom);
    return true;
  }
  return VObject::SetRectAttribute(name, left, top, right, bottom);
}

void VToolbar::CreateButtons() {
  buttonCount_ = 0;
  const PropertyStruct* style = GetStyle();
  if (!style) return;
  bool full = false;
  style->WalkChain([&](const PropertyStruct* level) {
    for (int i = 0; i < level->Count(); ++i) {
      Property* member = level->MemberAt(i);
      if (!member || !member->IsStruct()) continue;
      const CString name = member->GetName();
      if (FindByName(name, true)) continue;
      if (!PropertyTable::IsA(member, "Toolbutton")) continue;
      if (buttonCount_ == kMaxButtons) {
        full = true;
        return true;
      }
      auto* button = new VToolButton(0, 0, 0, 0);
      button->SetState(button->State() | kHidden);
      button->SetState(button->State() | kStarted);
      button->SetName(name);
      AddChild(button);
      button->SetStyle(static_cast<PropertyStruct*>(member)->Instantiate());
      buttons_[buttonCount_++] = button;
    }
    return false;
  });
  if (full) {
    CString line;
    line.Format("toolbar: only the first %d tool buttons are shown", kMaxButtons);
    TheLogbook().Write(line);
  }
}

void VToolbar::UpdateButtons() {
  for (int i = 0; i < buttonCount_; ++i) {
    VToolButton* button = buttons_[i];
    if (!button || button->Has(kDisabled) || button->OnClickLine().IsEmpty()) continue;
    bool always = false;
    const char* command = ToolbarCommandWord(button->OnClickLine(), &always);
    if (!*command) continue;
    const bool shown = always || Shell().CanRunCommand(command);
    button->SetState(shown ? (button->State() & ~kHidden) : (button->State() | kHidden));
  }
}
