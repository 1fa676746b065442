// A user's hand on the shell's pages: the objects of the page shown now,
// found by what they show (a title, a caption, a tool button's name), and
// clicks on them as the display reports a mouse (screen coordinates from
// the object's own rectangle, never fixed pixels). A click that navigates
// is followed until the page of the new object is shown.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/support/shell_fixture.h"

class VObject;
class VLabel;
class VPage;

namespace app_test {

// Every object of the tree below (and with) `root`, in drawing order.
void ForEachObject(VObject* root, const std::function<void(VObject*)>& visit);

// The captions of the shown titles of the page (the names of the objects it
// presents), top to bottom as they were made.
std::vector<std::string> PageTitles(VPage* page);
// The shown label of the page's title lists and clusters that a user clicks
// to reach `caption` (titles themselves excluded); null when none shows it.
VLabel* MemberLabel(VPage* page, const std::string& caption);
// The shown tool button of that name ("back", "up" ...); null when hidden.
VObject* ToolButton(VPage* page, const char* name);
// The middle of the object on the screen.
POINT ScreenCentre(VObject* object);

class ClickingShellTest : public ShellTest {
 protected:
  // Pages appear at once (Effects off): a transition only adds frames. The
  // home directory holds the data and the picture converters, as installed.
  void SetUp() override;

  // A click in the middle of the object, and the messages it brings.
  void ClickOn(VObject* object);
  // Clicks the object and runs the shell until the page of the object with
  // that id is shown (or the tests' patience ends: false).
  bool ClickAndArrive(VObject* object, long id);
  // Clicks the member's label in the page's title list, paging the list
  // forward while it is not shown; false when no page of the list shows it
  // or the click did not bring its page.
  bool OpenMember(const std::string& caption, long id);
  // Clicks the tool button of that name; false when it is hidden or the
  // click did not bring the page of `id`.
  bool PressTool(const char* name, long id);
  // Runs the shell until nothing waits: no command, no picture to fetch,
  // no message; then the windows have painted.
  void Settle();

  // The page shown is the object's, under its title; the id is noted.
  void ExpectPage(long id, const std::string& title);
  // From the root page, every collection of the sample web by its title
  // in the lists, and back by the tool bar's Back, Forward and Up: the
  // collections visited are noted.
  void WalkEveryCollection();
  std::set<long> visited;
};

}  // namespace app_test
