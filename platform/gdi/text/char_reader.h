// Reads the characters of a byte string in a code page, one at a time, with
// their byte positions (ExtTextOut's widths and GetTextExtentExPoint's
// results count bytes). With prefixes on (DrawText without DT_NOPREFIX), an
// '&' is not shown and marks the next character for underlining, and "&&"
// shows one '&'.
#pragma once

#include "gdi/text/code_page.h"

namespace win::gdi::text {

struct TextChar {
  char32_t ch = 0;
  int offset = 0;  // first byte in the text
  int bytes = 1;   // bytes it takes (a prefix '&' counts with its character)
  bool prefixed = false;
};

class CharReader {
 public:
  CharReader(const CodePage& page, const char* text, int length, bool prefixes = false,
             int start = 0)
      : page_(page), text_(reinterpret_cast<const unsigned char*>(text)), length_(length),
        pos_(start < 0 ? 0 : start), prefixes_(prefixes) {}

  // The next character; false at the end.
  bool Next(TextChar& out) {
    while (pos_ < length_) {
      int at = pos_;
      bool prefixed = false;
      if (prefixes_ && text_[pos_] == '&') {
        if (pos_ + 1 < length_ && text_[pos_ + 1] == '&') {
          out = TextChar{U'&', at, 2, false};
          pos_ += 2;
          return true;
        }
        ++pos_;  // the marker itself is not shown
        if (pos_ >= length_) return false;
        prefixed = true;
      }
      char32_t ch = 0;
      int n = page_.Decode(text_ + pos_, length_ - pos_, &ch);
      pos_ += n;
      out = TextChar{ch, at, pos_ - at, prefixed};
      return true;
    }
    return false;
  }

  int position() const { return pos_; }
  // Restart from a byte position (a character boundary found earlier).
  void Seek(int pos) { pos_ = pos < 0 ? 0 : (pos > length_ ? length_ : pos); }

 private:
  const CodePage& page_;
  const unsigned char* text_;
  int length_;
  int pos_;
  bool prefixes_;
};

}  // namespace win::gdi::text
