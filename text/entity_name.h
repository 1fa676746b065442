// The name of a character reference as the tokenizer collects it (letters,
// digits and "#" after the "&"), and what it stands for. Known names give
// their Latin-1 character; "#" and decimal digits give the number's low
// byte. "&#;", "&#x41;" and any reference whose byte would be 0 are unknown:
// a NUL never reaches the text.
#pragma once

#include <string>
#include <string_view>

class EntityName {
 public:
  // Names longer than this cannot be a known name; numbers are followed to
  // their end whatever their length.
  static constexpr size_t kKeep = 32;

  void Clear();
  void Add(char c);
  size_t length() const { return length_; }
  // The character, or -1 when the reference is unknown.
  int Decode() const;

 private:
  std::string head_;
  size_t length_ = 0;
  bool digitsEnded_ = false;
  bool anyDigit_ = false;
  unsigned low_ = 0;
};

// The character a whole name stands for, or -1.
int DecodeEntityName(std::string_view name);

// True for the characters that continue a reference name.
inline bool IsEntityNameChar(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '#';
}
