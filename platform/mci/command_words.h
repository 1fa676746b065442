// The words of a command string: split at blanks, a double-quoted word kept
// whole, each word with its place in the string so that "open" can take a
// bare file name with blanks as the text between two of its words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/mci.h"

namespace win::mci {

struct Word {
  std::string text;    // without the quotes
  bool quoted = false;
  std::size_t begin = 0;  // in the command string, quotes included
  std::size_t end = 0;
};

// The words of `command`; MCIERR_NO_CLOSING_QUOTE for an open quote.
MCIERROR SplitWords(std::string_view command, std::vector<Word>* out);

// Whether an unquoted word is `keyword`, in any letter case.
bool IsKeyword(const Word& word, std::string_view keyword);
bool SameWord(std::string_view a, std::string_view b);

// A decimal number of 0 up to 0x7FFFFFFF; none for anything else (a sign,
// another character, or a number past the range).
std::optional<std::int64_t> ParseCount(const Word& word);

// The words after the command and the device, taken one by one: a command
// looks for the keywords it knows and fails on any word left over.
class WordCursor {
 public:
  WordCursor(const std::vector<Word>& words, std::size_t first) : words_(words), next_(first) {}
  bool AtEnd() const { return next_ >= words_.size(); }
  const Word& Peek() const { return words_[next_]; }
  // Takes the next word when it is `keyword`.
  bool Take(std::string_view keyword);
  // Takes the next words when they are `keywords` in this order.
  bool TakeAll(std::initializer_list<std::string_view> keywords);
  const Word* Next();  // null at the end

 private:
  const std::vector<Word>& words_;
  std::size_t next_;
};

}  // namespace win::mci
