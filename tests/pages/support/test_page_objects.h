// Page objects for the tests: a box that paints one colour and records
// what happens to it, and groups that stand for a page or a dialog with a
// window of the test's own.
#pragma once

#include <string>
#include <vector>

#include "mfc/afx.h"
#include "pages/objects/vgroup.h"

namespace pages_test {

// Paints its rectangle in one colour (unless transparent) and writes one
// line per call it gets into `journal` ("enter a", "draw a", ...).
class Box : public VObject {
 public:
  Box(const char* name, int l, int t, int r, int b, COLORREF color = RGB(0, 0, 255),
      std::vector<std::string>* journal = nullptr);
  ~Box() override;

  void Draw(CDC* dc, const RECT& clip) override;
  void OnMouseDown(int x, int y) override;
  void OnMouseEnter() override;
  void OnMouseLeave() override;
  void OnMouseMove(int x, int y) override;
  void OnIdle() override;
  void OnAttach() override;
  void Start() override;
  void Stop() override;

  COLORREF color;
  // The DC the last Draw painted into.
  HDC drawnInto = nullptr;
  // Consumes the events it gets (code set to 0).
  bool consumes = false;
  void HandleEvent(PageEvent& event) override;

 private:
  void Note(const std::string& what);
  std::vector<std::string>* journal_;
};

// A group with the test's window as its window, as a page or a dialog.
class WindowGroup : public VGroup {
 public:
  WindowGroup(CWnd* window, int w, int h, bool dialog = false)
      : VGroup(0, 0, w, h), window_(window), dialog_(dialog) {}
  CWnd* GetWindow() override { return window_; }
  VObject* GetPage() override { return this; }
  bool IsDialog() const override { return dialog_; }
  void OnMouseMove(int x, int y) override;
  std::vector<std::string>* journal = nullptr;

 private:
  CWnd* window_;
  bool dialog_;
};

}  // namespace pages_test
