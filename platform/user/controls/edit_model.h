// What an edit control holds, apart from its window: the text (line breaks
// as CR LF in multi-line edits), the selection, one level of undo, the limit,
// and the lines the text is laid out in.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace win::user {

// Most text an edit control holds, whatever its limit.
inline constexpr size_t kMaxEditText = 16u << 20;
inline constexpr size_t kDefaultEditLimit = 32767;

// The advance of every byte in the control's font; tabs go to multiples of
// `tab` pixels; every character of a password shows as `mask`.
struct TextWidths {
  std::array<int, 256> advance{};
  int tab = 32;
  int height = 16;
  char mask = 0;  // 0: not a password

  int Of(unsigned char c) const { return advance[mask ? static_cast<unsigned char>(mask) : c]; }
};

struct EditLine {
  size_t start = 0;
  size_t length = 0;  // without the line break
  size_t next = 0;    // where the following line starts
};

struct ReplaceResult {
  bool changed = false;
  bool cut = false;  // the limit kept part of the text out
};

class EditModel {
 public:
  explicit EditModel(bool multiline = false) : multiline_(multiline) { lines_.push_back(EditLine{}); }

  const std::string& text() const { return text_; }
  size_t anchor() const { return anchor_; }
  size_t caret() const { return caret_; }
  size_t selStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t selEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool multiline() const { return multiline_; }
  size_t limit() const { return limit_; }
  void SetLimit(size_t limit) { limit_ = limit == 0 || limit > kMaxEditText ? kMaxEditText : limit; }
  bool modified() const { return modified_; }
  void SetModified(bool m) { modified_ = m; }

  // Replaces the whole text (no undo, selection at the start). Text past
  // kMaxEditText is refused.
  bool SetText(std::string_view text);
  // The selection with the caret at `caret`; both kept inside the text and
  // off the middle of a CR LF.
  void Select(size_t anchor, size_t caret);
  // Replaces the selection; the limit applies. A single-line edit keeps
  // only what comes before a line break. Typing (`typing`) joins the undo
  // step of the typing before it.
  ReplaceResult Replace(std::string_view insert, bool typing = false);
  // Deletes the selection, or the character before (after) the caret.
  bool Backspace();
  bool DeleteForward();

  bool CanUndo() const { return hasUndo_; }
  bool Undo();  // the text before the last change (undoing twice redoes)
  void EmptyUndo() { hasUndo_ = false; }

  // Word steps as the edit control's Ctrl+arrows take them.
  size_t WordLeft(size_t pos) const;
  size_t WordRight(size_t pos) const;
  // The word around `pos` (a double click).
  void WordAt(size_t pos, size_t* start, size_t* end) const;
  // One step left or right, over a CR LF as one.
  size_t Left(size_t pos) const;
  size_t Right(size_t pos) const;

  // Lays the text out in lines: at line breaks, and at the last blank that
  // fits `wrapWidth` pixels (0: no wrapping).
  void Layout(const TextWidths& w, int wrapWidth);
  const std::vector<EditLine>& lines() const { return lines_; }
  size_t LineOf(size_t pos) const;
  // The x offset of `pos` in its line, and the position nearest an x.
  int XOf(const TextWidths& w, size_t pos) const;
  size_t PosAt(const TextWidths& w, size_t line, int x) const;
  int LineWidth(const TextWidths& w, size_t line) const;

 private:
  size_t Snap(size_t pos) const;
  void Remember();
  bool IsBreakAt(size_t pos) const;  // a line break starts at pos

  std::string text_;
  size_t anchor_ = 0, caret_ = 0;
  bool multiline_ = false;
  size_t limit_ = kDefaultEditLimit;
  bool modified_ = false;

  bool hasUndo_ = false;
  bool typingRun_ = false;
  std::string undoText_;
  size_t undoAnchor_ = 0, undoCaret_ = 0;

  std::vector<EditLine> lines_;
};

}  // namespace win::user
