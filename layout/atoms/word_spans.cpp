#include "layout/atoms/word_spans.h"

#include <cstring>
#include <new>

#include "text/build/grow_capacity.h"

WordSpans::~WordSpans() {
  for (DWORD i = 0; i < count_; ++i) delete spans_[i].run;
  delete[] spans_;
}

bool WordSpans::Insert(LONG i, const TextSpan& span) {
  if (i < 0 || i > Count()) return false;
  if (count_ == capacity_) {
    const DWORD grown = GrowCapacity(capacity_, sizeof(TextSpan));
    if (grown <= capacity_) return false;
    auto* bigger = new (std::nothrow) TextSpan[grown];
    if (!bigger) return false;
    if (count_) std::memcpy(bigger, spans_, count_ * sizeof(TextSpan));
    delete[] spans_;
    spans_ = bigger;
    capacity_ = grown;
  }
  std::memmove(spans_ + i + 1, spans_ + i, (count_ - static_cast<DWORD>(i)) * sizeof(TextSpan));
  spans_[i] = span;
  ++count_;
  return true;
}

TextRun* WordSpans::Remove(LONG i) {
  TextSpan* s = At(i);
  if (!s) return nullptr;
  TextRun* run = s->run;
  std::memmove(s, s + 1, (count_ - static_cast<DWORD>(i) - 1) * sizeof(TextSpan));
  --count_;
  return run;
}
