// The lexer of every definition file (.sty, .pri, Dingbat.dat): it reads a
// line at a time into a buffer of 255 characters, drops "#" comments to the
// end of the line and hands out words, single separator characters and
// quoted texts. Lines can pass through the string translator first, so that
// list references in a file are expanded before the items are formed.
#pragma once

#include <istream>
#include <string>

#include "mfc/cstring.h"

class StringTranslator;

// Reads one physical line of at most kMaxLine characters into `out` and
// consumes its line feed. A line feed is put back at the end unless the
// input ended on the line; a longer line is continued by the next call
// instead of losing a character. False when nothing could be read.
bool ReadDefinitionLine(std::istream& in, std::string& out);

class DefLexer {
 public:
  static constexpr int kCapacity = 255;
  static constexpr int kMaxLine = kCapacity - 1;
  static constexpr const char* kSeparators = "{[]}=/*,.;:";

  enum ItemKind { kWord = 0, kSeparator = 1, kQuoted = 2 };

  // `separators` replaces the usual set (Dingbat.dat has file names with
  // dots in them); the string must outlive the lexer.
  explicit DefLexer(std::istream& in, const char* separators = kSeparators) : in_(in), separators_(separators) {}
  DefLexer(const DefLexer&) = delete;
  DefLexer& operator=(const DefLexer&) = delete;
  virtual ~DefLexer();

  // Lines pass through `translator` (list references expanded) when set.
  void SetTranslator(StringTranslator* translator) { translator_ = translator; }

  // The next item; false at the end of the input (also inside an unclosed
  // quoted text).
  bool NextItem(CString& out);
  // Skips to the next character of `set` (the separators when null),
  // consumes and returns it; 0 at the end of the input.
  char NextSeparator(const char* set = nullptr);
  // Puts `text` in front of the rest of the line; false, nothing changed,
  // when both together would not fit the buffer.
  bool PushBack(const CString& text);

  int lineCount() const { return lineCount_; }
  ItemKind lastKind() const { return lastKind_; }
  bool lastWasSeparator() const { return lastKind_ == kSeparator; }

 private:
  bool ReadLine();
  void StripComments();
  bool RemainderEmpty() const { return pos_ >= line_.size(); }

  bool IsDelimiter(char c) const;

  std::istream& in_;
  const char* separators_;
  std::string line_;
  size_t pos_ = 0;
  int lineCount_ = 0;
  ItemKind lastKind_ = kWord;
  bool inComment_ = false;
  StringTranslator* translator_ = nullptr;
};
