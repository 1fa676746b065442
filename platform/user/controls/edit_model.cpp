#include "edit_model.h"

#include <algorithm>

namespace win::user {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineChar(char c) { return c == '\r' || c == '\n'; }

// How far the break starting at `pos` reaches (0: no break there): CR LF,
// or a lone LF.
size_t BreakLength(const std::string& t, size_t pos) {
  if (pos < t.size() && t[pos] == '\r' && pos + 1 < t.size() && t[pos + 1] == '\n') return 2;
  if (pos < t.size() && t[pos] == '\n') return 1;
  return 0;
}

}  // namespace

bool EditModel::IsBreakAt(size_t pos) const { return multiline_ && BreakLength(text_, pos) > 0; }

size_t EditModel::Snap(size_t pos) const {
  pos = std::min(pos, text_.size());
  // Never between the CR and the LF of a line break.
  if (pos > 0 && pos < text_.size() && text_[pos - 1] == '\r' && text_[pos] == '\n') --pos;
  return pos;
}

bool EditModel::SetText(std::string_view text) {
  if (text.size() > kMaxEditText) return false;
  text_.assign(text);
  anchor_ = caret_ = 0;
  hasUndo_ = false;
  typingRun_ = false;
  modified_ = false;
  return true;
}

void EditModel::Select(size_t anchor, size_t caret) {
  anchor_ = Snap(anchor);
  caret_ = Snap(caret);
  typingRun_ = false;
}

void EditModel::Remember() {
  undoText_ = text_;
  undoAnchor_ = anchor_;
  undoCaret_ = caret_;
  hasUndo_ = true;
}

ReplaceResult EditModel::Replace(std::string_view insert, bool typing) {
  ReplaceResult r;
  std::string_view piece = insert;
  if (!multiline_) {
    const size_t brk = piece.find_first_of("\r\n");
    if (brk != std::string_view::npos) piece = piece.substr(0, brk);
  }
  const size_t start = selStart(), end = selEnd();
  const size_t kept = text_.size() - (end - start);
  const size_t room = limit_ > kept ? limit_ - kept : 0;
  if (piece.size() > room) {
    piece = piece.substr(0, room);
    // A line break is never cut in half.
    if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
    r.cut = true;
  }
  if (piece.empty() && start == end) return r;
  if (!(typing && typingRun_ && start == end)) Remember();
  text_.replace(start, end - start, piece);
  anchor_ = caret_ = start + piece.size();
  typingRun_ = typing;
  modified_ = true;
  r.changed = true;
  return r;
}

bool EditModel::Backspace() {
  if (selStart() == selEnd()) {
    if (caret_ == 0) return false;
    anchor_ = Left(caret_);
  }
  return Replace("").changed;
}

bool EditModel::DeleteForward() {
  if (selStart() == selEnd()) {
    if (caret_ >= text_.size()) return false;
    anchor_ = Right(caret_);
  }
  return Replace("").changed;
}

bool EditModel::Undo() {
  if (!hasUndo_) return false;
  std::swap(text_, undoText_);
  std::swap(anchor_, undoAnchor_);
  std::swap(caret_, undoCaret_);
  anchor_ = Snap(anchor_);
  caret_ = Snap(caret_);
  typingRun_ = false;
  modified_ = true;
  return true;
}

size_t EditModel::Left(size_t pos) const {
  pos = Snap(pos);
  if (pos == 0) return 0;
  if (pos >= 2 && text_[pos - 1] == '\n' && text_[pos - 2] == '\r') return pos - 2;
  return pos - 1;
}

size_t EditModel::Right(size_t pos) const {
  pos = Snap(pos);
  if (pos >= text_.size()) return text_.size();
  if (const size_t b = BreakLength(text_, pos)) return pos + b;
  return pos + 1;
}

size_t EditModel::WordLeft(size_t pos) const {
  pos = Snap(pos);
  if (pos == 0) return 0;
  // A line break is a word of its own.
  if (IsLineChar(text_[pos - 1])) return Left(pos);
  while (pos > 0 && IsBlank(text_[pos - 1])) --pos;
  if (pos > 0 && IsLineChar(text_[pos - 1])) return pos;
  while (pos > 0 && !IsBlank(text_[pos - 1]) && !IsLineChar(text_[pos - 1])) --pos;
  return pos;
}

size_t EditModel::WordRight(size_t pos) const {
  pos = Snap(pos);
  const size_t n = text_.size();
  if (pos >= n) return n;
  if (IsLineChar(text_[pos])) return Right(pos);
  while (pos < n && !IsBlank(text_[pos]) && !IsLineChar(text_[pos])) ++pos;
  while (pos < n && IsBlank(text_[pos])) ++pos;
  return pos;
}

void EditModel::WordAt(size_t pos, size_t* start, size_t* end) const {
  pos = Snap(pos);
  size_t s = pos, e = pos;
  const size_t n = text_.size();
  auto word = [&](char c) { return !IsBlank(c) && !IsLineChar(c); };
  if (pos < n && word(text_[pos])) {
    while (s > 0 && word(text_[s - 1])) --s;
    while (e < n && word(text_[e])) ++e;
  } else if (pos > 0 && word(text_[pos - 1])) {
    while (s > 0 && word(text_[s - 1])) --s;
  }
  // The blanks after a word go with it.
  while (e < n && IsBlank(text_[e])) ++e;
  *start = s;
  *end = e;
}

void EditModel::Layout(const TextWidths& w, int wrapWidth) {
  lines_.clear();
  const size_t n = text_.size();
  size_t lineStart = 0;
  while (true) {
    // The hard line: up to the next break.
    size_t hardEnd = lineStart;
    while (hardEnd < n && !IsBreakAt(hardEnd)) ++hardEnd;
    const size_t brk = hardEnd < n ? BreakLength(text_, hardEnd) : 0;
    size_t s = lineStart;
    if (multiline_ && wrapWidth > 0) {
      // Soft lines within it.
      while (true) {
        int x = 0;
        size_t i = s, lastBlankEnd = 0;
        while (i < hardEnd) {
          const unsigned char c = static_cast<unsigned char>(text_[i]);
          const int adv = c == '\t' && !w.mask ? (w.tab - (x % w.tab)) : w.Of(c);
          if (x + adv > wrapWidth && i > s) break;
          x += adv;
          ++i;
          if (IsBlank(static_cast<char>(c))) lastBlankEnd = i;
        }
        if (i >= hardEnd) break;
        // Break after the last blank that fits, else where the line is full;
        // blanks at the break stay at the end of the line.
        size_t cut = lastBlankEnd > s ? lastBlankEnd : i;
        while (cut < hardEnd && IsBlank(text_[cut])) ++cut;
        if (cut >= hardEnd) break;
        lines_.push_back(EditLine{s, cut - s, cut});
        s = cut;
      }
    }
    lines_.push_back(EditLine{s, hardEnd - s, hardEnd + brk});
    if (hardEnd >= n) break;
    lineStart = hardEnd + brk;
    if (lineStart >= n) {
      // A break at the very end leaves an empty last line.
      lines_.push_back(EditLine{n, 0, n});
      break;
    }
  }
}

size_t EditModel::LineOf(size_t pos) const {
  pos = Snap(pos);
  // The last line whose start is at or before pos.
  size_t lo = 0, hi = lines_.size();
  while (hi - lo > 1) {
    const size_t mid = (lo + hi) / 2;
    if (lines_[mid].start <= pos)
      lo = mid;
    else
      hi = mid;
  }
  // A wrapped line's end is the next line's start: it belongs to the next.
  return lo;
}

int EditModel::XOf(const TextWidths& w, size_t pos) const {
  const EditLine& l = lines_[LineOf(pos)];
  const size_t end = std::min(Snap(pos), l.start + l.length);
  int x = 0;
  for (size_t i = l.start; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(text_[i]);
    x += c == '\t' && !w.mask ? (w.tab - (x % w.tab)) : w.Of(c);
  }
  return x;
}

size_t EditModel::PosAt(const TextWidths& w, size_t line, int x) const {
  if (lines_.empty()) return 0;
  line = std::min(line, lines_.size() - 1);
  const EditLine& l = lines_[line];
  int at = 0;
  for (size_t i = l.start; i < l.start + l.length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text_[i]);
    const int adv = c == '\t' && !w.mask ? (w.tab - (at % w.tab)) : w.Of(c);
    if (x < at + (adv + 1) / 2) return i;
    at += adv;
  }
  // Past the end: the end of the line, before a soft break's next line.
  return l.start + l.length;
}

int EditModel::LineWidth(const TextWidths& w, size_t line) const {
  if (line >= lines_.size()) return 0;
  const EditLine& l = lines_[line];
  return XOf(w, l.start + l.length);
}

}  // namespace win::user
