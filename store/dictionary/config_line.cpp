#include "store/dictionary/config_line.h"

#include <algorithm>
#include <cctype>
#include <limits>

void ConfigLine::skipBlanks() {
  while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
}

bool ConfigLine::word(std::string& out, size_t width) {
  skipBlanks();
  size_t start = at_;
  while (at_ < text_.size() && text_[at_] != ' ' && text_[at_] != '\t') ++at_;
  if (at_ == start) return false;
  out.assign(text_.substr(start, std::min(width, at_ - start)));
  return true;
}

bool ConfigLine::number(std::int64_t& out, std::int64_t low, std::int64_t high) {
  skipBlanks();
  size_t p = at_;
  bool negative = false;
  if (p < text_.size() && (text_[p] == '-' || text_[p] == '+')) negative = text_[p++] == '-';
  int base = 10;
  if (p + 1 < text_.size() && text_[p] == '0' && (text_[p + 1] == 'x' || text_[p + 1] == 'X')) {
    base = 16;
    p += 2;
  } else if (p < text_.size() && text_[p] == '0') {
    base = 8;
  }
  std::int64_t value = 0;
  size_t digits = 0;
  for (; p < text_.size(); ++p, ++digits) {
    int c = static_cast<unsigned char>(text_[p]);
    int d = std::isdigit(c) ? c - '0' : std::isxdigit(c) ? std::tolower(c) - 'a' + 10 : 99;
    if (d >= base) break;
    // Digits beyond what the widest field holds only keep it at its bound.
    if (value < (std::numeric_limits<std::int64_t>::max() >> 5)) value = value * base + d;
  }
  if (digits == 0) return false;
  at_ = p;
  if (negative) value = -value;
  out = std::clamp(value, low, high);
  return true;
}

bool ConfigLine::int32(std::int32_t& out) {
  std::int64_t v;
  if (!number(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

bool ConfigLine::int16(std::int16_t& out) {
  std::int64_t v;
  if (!number(v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max())) return false;
  out = static_cast<std::int16_t>(v);
  return true;
}

std::string ConfigLine::rest(size_t width) {
  std::string_view r = text_.substr(at_);
  at_ = text_.size();
  return std::string(r.substr(0, std::min(width, r.size())));
}
