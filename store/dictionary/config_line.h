// Fields of one configuration line, read with widths: a text field keeps at
// most its width (the rest of the word is passed over), a number keeps to
// its type's range. Fields are separated by blanks or tabs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class ConfigLine {
 public:
  explicit ConfigLine(std::string_view text) : text_(text) {}

  // The next word, at most `width` characters; false when none is left.
  bool word(std::string& out, size_t width);
  // The next number (decimal, or "0x" hexadecimal, or "0" octal as the old
  // "%i" did); false when the next word is not one. Kept to [low, high].
  bool number(std::int64_t& out, std::int64_t low, std::int64_t high);
  bool int32(std::int32_t& out);
  bool int16(std::int16_t& out);
  // The rest of the line from the current place, cut to `width`.
  std::string rest(size_t width);

 private:
  void skipBlanks();
  std::string_view text_;
  size_t at_ = 0;
};
