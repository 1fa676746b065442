#include "text/entity_name.h"

#include "text/markup_tables.h"

void EntityName::Clear() {
  head_.clear();
  length_ = 0;
  digitsEnded_ = false;
  anyDigit_ = false;
  low_ = 0;
}

void EntityName::Add(char c) {
  if (head_.size() < kKeep) head_.push_back(c);
  ++length_;
  if (length_ == 1 || head_.empty() || head_[0] != '#' || digitsEnded_) return;
  if (c >= '0' && c <= '9') {
    anyDigit_ = true;
    low_ = (low_ * 10 + static_cast<unsigned>(c - '0')) % 256;
  } else {
    digitsEnded_ = true;
  }
}

int EntityName::Decode() const {
  if (length_ == 0) return -1;
  if (head_[0] == '#') return anyDigit_ && low_ != 0 ? static_cast<int>(low_) : -1;
  if (length_ > head_.size()) return -1;
  return FindMarkupEntity(head_);
}

int DecodeEntityName(std::string_view name) {
  EntityName e;
  for (char c : name) e.Add(c);
  return e.Decode();
}
