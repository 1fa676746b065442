#include "text/build/counters.h"

#include <algorithm>
#include <limits>
#include <new>

#include "text/build/viewer_interfaces.h"

CString CounterLetters(LONG value) {
  CString out;
  if (value < 1) {
    out.Format("%ld", value);
    return out;
  }
  std::string letters;
  unsigned long n = static_cast<unsigned long>(value);
  while (n > 0) {
    --n;
    letters.insert(letters.begin(), static_cast<char>('a' + n % 26));
    n /= 26;
  }
  return CString(letters);
}

bool CounterSet::PushLevel(LONG style, const CString& text, BYTE join) {
  if (depth_ + 1 >= kLevels) {
    depth_ = kLevels - 1;
    return false;
  }
  ++depth_;
  levels_[depth_] = CounterLevel{0, style, text, join};
  return true;
}

bool CounterSet::PopLevel() {
  if (depth_ < 0) {
    depth_ = -1;
    return false;
  }
  saved_[depth_] = levels_[depth_];
  --depth_;
  return true;
}

bool CounterSet::SetValue(BYTE restore, LONG value) {
  if (depth_ < 0 || depth_ >= kLevels) return false;
  if (restore)
    levels_[depth_] = saved_[depth_];
  else
    levels_[depth_].value = value;
  return true;
}

bool CounterSet::AddValue(LONG delta) {
  if (depth_ < 0 || depth_ >= kLevels) return false;
  long long sum = static_cast<long long>(levels_[depth_].value) + delta;
  sum = std::min<long long>(std::max<long long>(sum, std::numeric_limits<LONG>::min()),
                            std::numeric_limits<LONG>::max());
  levels_[depth_].value = static_cast<LONG>(sum);
  return true;
}

namespace {

bool appendPiece(List& pieces, LONG kind, const CString& text) {
  auto* piece = new (std::nothrow) LabelPiece(kind, text);
  if (!piece) return false;
  pieces.append(piece);
  return true;
}

}  // namespace

bool CounterSet::FormatLabel(List& pieces) const {
  pieces.clearAndDelete();
  if (depth_ < 0) return false;
  int start = depth_;
  while (start > 0 && levels_[start].join && levels_[start - 1].join) --start;

  bool havePending = false;
  LONG pendingKind = 0;
  CString pendingText;
  for (int i = start; i <= depth_; ++i) {
    const CounterLevel& level = levels_[i];
    LONG kind = 0;
    CString text;
    switch (level.style) {
      case kCounterNone:
        break;
      case kCounterText:
        text = level.text;
        break;
      case kCounterLetters:
        text = CounterLetters(level.value);
        break;
      case kCounterDecimal:
        text.Format("%ld", level.value);
        break;
      case kCounterDingbat:
        // One digit for the level: levels beyond 9 use the digit of 9.
        text = level.text + static_cast<char>('0' + (i < 9 ? i : 9));
        kind = 2;
        break;
      case kCounterPicture:
        text = level.text;
        kind = 1;
        break;
      default:
        continue;
    }
    if (havePending && pendingKind == 0 && kind == 0) {
      pendingText += "." + text;
      continue;
    }
    if (havePending) appendPiece(pieces, pendingKind, pendingText);
    havePending = true;
    pendingKind = kind;
    pendingText = text;
  }
  if (havePending) {
    if (pendingKind == 0) {
      appendPiece(pieces, 0, pendingText + " ");
    } else {
      appendPiece(pieces, pendingKind, pendingText);
      appendPiece(pieces, 0, " ");
    }
  }
  return true;
}
