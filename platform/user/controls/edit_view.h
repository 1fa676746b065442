// The edit control's window side: its state, geometry, painting, caret and
// scrolling.
#pragma once

#include <memory>

#include "edit_model.h"
#include "win/user.h"

namespace win::user {

struct EditState {
  EditModel model;
  TextWidths widths;
  HFONT font = nullptr;
  int ascent = 12;
  size_t topLine = 0;  // multi-line: the first line shown
  int scrollX = 0;     // pixels scrolled to the left
  bool focused = false;
  bool selecting = false;  // the mouse is selecting
  char passwordChar = '*';
};

std::shared_ptr<EditState> EditStateOf(HWND edit);
std::shared_ptr<EditState> AttachEditState(HWND edit);

DWORD EditStyle(HWND edit);
// Where text goes in the client area.
RECT FormatRect(HWND edit);
// Measures the font and lays the text out again.
void Remeasure(HWND edit, EditState& s);
void Relayout(HWND edit, EditState& s);
// Scrolls so that the caret shows; moves the caret; sets the scroll bars.
void ScrollToCaret(HWND edit, EditState& s);
void PlaceCaret(HWND edit, EditState& s);
void UpdateScrollBars(HWND edit, EditState& s);
int VisibleLines(HWND edit, const EditState& s);
// The text position under a client point.
size_t PosFromPoint(HWND edit, const EditState& s, POINT p);
POINT PointFromPos(HWND edit, const EditState& s, size_t pos);
void PaintEdit(HWND edit, EditState& s, HDC dc);

}  // namespace win::user
