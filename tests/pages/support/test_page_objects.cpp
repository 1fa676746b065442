#include "pages/support/test_page_objects.h"

namespace pages_test {

Box::Box(const char* name, int l, int t, int r, int b, COLORREF c, std::vector<std::string>* journal)
    : VObject(l, t, r, b), color(c), journal_(journal) {
  SetName(name);
}

Box::~Box() = default;

void Box::Note(const std::string& what) {
  if (journal_) journal_->push_back(what + " " + GetName().str());
}

void Box::Draw(CDC* dc, const RECT& clip) {
  drawnInto = dc->GetSafeHdc();
  Note("draw");
  if (!Has(kTransparent)) dc->FillSolidRect(&clip, color);
}

void Box::OnMouseDown(int, int) { Note("down"); }
void Box::OnMouseEnter() { Note("enter"); }
void Box::OnMouseLeave() { Note("leave"); }
void Box::OnMouseMove(int, int) { Note("move"); }
void Box::OnIdle() { Note("idle"); }
void Box::OnAttach() { Note("attach"); }

void Box::Start() {
  Note("start");
  VObject::Start();
}

void Box::Stop() {
  Note("stop");
  VObject::Stop();
}

void Box::HandleEvent(PageEvent& event) {
  VObject::HandleEvent(event);
  if (consumes) event.code = PageEvent::Consumed;
}

void WindowGroup::OnMouseMove(int, int) {
  if (journal) journal->push_back("move group");
}

}  // namespace pages_test
