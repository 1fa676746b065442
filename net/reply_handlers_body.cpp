#include "net/reply_handlers_body.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ReplyBody::readInt(LONG& out) { return binary_ ? readBinaryInt(out) : readTextInt(out); }

bool ReplyBody::readBinaryInt(LONG& out) {
  if (bytesLeft() < 4) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + at_);
  uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  at_ += 4;
  out = static_cast<LONG>(v);
  return true;
}

// Formatted extraction as the stream library does it, then one separator.
// The server writes unsigned decimal, so values up to 2^32 - 1 are taken and
// wrap to their signed 32-bit meaning; anything wider is malformed.
bool ReplyBody::readTextInt(LONG& out) {
  size_t i = at_;
  while (i < bytes_.size() && isSpace(bytes_[i])) ++i;
  bool negative = false;
  if (i < bytes_.size() && (bytes_[i] == '-' || bytes_[i] == '+')) {
    negative = bytes_[i] == '-';
    ++i;
  }
  uint64_t value = 0;
  size_t digits = 0;
  while (i < bytes_.size() && isDigit(bytes_[i])) {
    value = value * 10 + static_cast<uint64_t>(bytes_[i] - '0');
    if (value > 0xFFFFFFFFull) return false;
    ++digits;
    ++i;
  }
  if (digits == 0) return false;
  if (negative && value > 0x80000000ull) return false;
  if (i >= bytes_.size()) return false;  // the separator is missing
  at_ = i + 1;
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  out = static_cast<LONG>(bits);
  return true;
}

bool ReplyBody::readFloat(float& out) {
  size_t i = at_;
  while (i < bytes_.size() && isSpace(bytes_[i])) ++i;
  // A float's text is short; a bounded copy gives strtof its terminator.
  char text[64];
  size_t n = 0;
  while (i + n < bytes_.size() && n < sizeof text - 1 && !isSpace(bytes_[i + n]) &&
         bytes_[i + n] != '\0')
    text[n] = bytes_[i + n], ++n;
  text[n] = '\0';
  if (n == 0) return false;
  char* end = nullptr;
  float value = std::strtof(text, &end);
  size_t used = static_cast<size_t>(end - text);
  if (used == 0) return false;
  i += used;
  if (i >= bytes_.size()) return false;  // the separator is missing
  at_ = i + 1;
  out = value;
  return true;
}

bool ReplyBody::readString(CString& out) {
  const void* nul = std::memchr(bytes_.data() + at_, '\0', bytesLeft());
  if (nul == nullptr) return false;
  size_t length = static_cast<size_t>(static_cast<const char*>(nul) - (bytes_.data() + at_));
  out = CString(bytes_.data() + at_, static_cast<int>(length));
  at_ += length + 1;
  return true;
}

bool ReplyBody::readBytes(size_t n, std::string& out) {
  if (n > bytesLeft()) return false;
  out.assign(bytes_, at_, n);
  at_ += n;
  return true;
}

std::string ReplyBody::rest() {
  std::string out = bytes_.substr(at_);
  at_ = bytes_.size();
  return out;
}
