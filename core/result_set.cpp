#include "core/result_set.h"

namespace {
int gNextSerial = 1;
}

ResultSet::ResultSet() : serial_(gNextSerial++) {}

int ResultSet::Reset(std::int32_t a, std::int32_t b) {
  callerValues_[0] = a;
  callerValues_[1] = b;
  entries_.clear();
  cursor_ = 0;
  hits_[0] = hits_[1] = 0;
  selector_ = 0;
  hasLast_ = false;
  return 0;
}

int ResultSet::Add(Pair pair, bool repeatCheck, const char* text, const std::uint32_t* ids, int idCount) {
  if (repeatCheck && hasLast_ && typeOf(pair.key) == typeOf(last_.key) && pair.value == last_.value) return -1;
  last_ = pair;
  hasLast_ = true;
  Entry e;
  e.pair = pair;
  if (text) {
    e.text = text;
    e.hasText = true;
  }
  if (ids && idCount > 0) e.ids.assign(ids, ids + idCount);
  entries_.push_back(std::move(e));
  ++hits_[selector_];
  return 0;
}

int ResultSet::GetAt(int index, Pair& out) const {
  const Entry* e = entryAt(index);
  if (!e) return -1;
  out = e->pair;
  return 0;
}

const ResultSet::Entry* ResultSet::entryAt(int index) const {
  if (index < 1 || index > total()) return nullptr;
  return &entries_[static_cast<size_t>(index - 1)];
}

bool ResultSet::Update(Pair match, Pair replacement) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    cursor_ = static_cast<int>(i) + 1;
    if (entries_[i].pair == match) {
      entries_[i].pair = replacement;
      return true;
    }
  }
  return false;
}

int ResultSet::Move(Pair& out, int mode, int n) {
  long target = cursor_;
  switch (mode) {
    case kFirst: target = 1; break;
    case kNext: target = static_cast<long>(cursor_) + 1; break;
    case kTo: target = n; break;
    case kBy: target = static_cast<long>(cursor_) + n; break;
    default: break;
  }
  if (target < 1 || target > total()) return -1;
  cursor_ = static_cast<int>(target);
  out = entries_[static_cast<size_t>(cursor_ - 1)].pair;
  return 0;
}

std::string ResultSet::GetCurrentData() const {
  const Entry* e = entryAt(cursor_);
  return e ? e->text : std::string();
}

void ResultSet::truncate(int n) {
  if (n >= 0 && n < total()) entries_.resize(static_cast<size_t>(n));
  if (cursor_ > total()) cursor_ = total();
}
