// The tool bar of a page: no look of its own, only tool buttons made from
// its style (every member that is a Toolbutton), each running its own
// "onclick" line. The bar shows a button only while the navigation command
// its line names could run, and looks again each time it is invalidated.
#pragma once

#include <array>

#include "pages/objects/vgroup.h"

class VToolButton;

class VToolbar : public VGroup {
 public:
  static constexpr int kMaxButtons = 50;

  VToolbar(int left, int top, int right, int bottom);
  ~VToolbar() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void Invalidate() override;
  void Notify(int code, VObject* sender) override;
  void OnQueryEndSession() override;
  void ReadStyleAttributes() override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;

  // Makes a button for every Toolbutton member of the style and of the
  // styles it derives from (a name already taken is skipped), at most
  // kMaxButtons.
  void CreateButtons();
  // Shows each enabled button whose line names a command exactly while
  // that command can run.
  void UpdateButtons();

  int ButtonCount() const { return buttonCount_; }
  VToolButton* Button(int i) const { return i >= 0 && i < buttonCount_ ? buttons_[i] : nullptr; }

 private:
  std::array<VToolButton*, kMaxButtons> buttons_{};
  int buttonCount_ = 0;
};

// The command word a tool button's "onclick" line is judged by ("back",
// "forward", "up", ...), in the order the words are looked for; "" for a
// line that names none. `always` is set for commands that can always run.
const char* ToolbarCommandWord(const char* onclick, bool* always);
