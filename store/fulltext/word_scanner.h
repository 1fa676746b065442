// Finds the words of a search request in the text of dictionary entries.
// The text is walked byte by byte: bytes of 160 and above lead two-byte
// characters; "@" and the next character mark the structure (1 a new entry,
// 4 word text begins, 0, 2 and 3 it ends, C a heading part begins, D it
// ends); a backslash starts markup, some of which is passed over ("\sup{",
// "\sub{", "\eb{" and the like up to the closing brace), some of which opens
// a group whose text counts ("\s{", "\S{", "\u{", "\U{", and "\w{", which
// stays inside the word). Words are runs of letters and digits, folded to
// capitals; a word matches a term equal to it, or, for a prefix term, one it
// begins with. An entry counts when every term met it.
//
// Nothing is read past the end of a piece of text: a lead byte, a marker or
// a markup whose end lies beyond it ends the piece.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class PhoneticTables;

class WordScanner {
 public:
  struct Term {
    int number = 0;
    bool prefix = false;  // matches the beginnings of words
    long hit = -2;        // where it last matched, -2 never
    std::string text;     // folded to capitals and digits
  };
  struct Hit {
    long entry;     // where the entry's "@1" stands
    int term;       // the term's number
    long position;  // where the word begins
    bool heading;   // the word lies in a heading part
  };
  struct Options {
    bool firstEntryOnly = false;  // stop at the second entry
    bool collectAtEnd = true;     // the last entry's hits are collected at the end
  };

  // One term per word of the request (words are separated by blanks; a word
  // ending in "*" is a prefix term). With `phonetic`, terms and the words
  // of the text are compared in their phonetic forms of `language`. The
  // number of terms.
  int prepare(std::string_view request, PhoneticTables* phonetic = nullptr, int language = 0);
  // Scans a piece of text whose first byte lies at `base`; the entry being
  // read carries over to the next piece. The number of hits collected.
  int scan(std::string_view text, const Options& options, long base, std::vector<Hit>& results);
  // Moves the hits of the entry being read to `results` when every term met
  // it; drops them otherwise.
  void collectHits(std::vector<Hit>& results);
  // A new text: no entry, word or group open.
  void restart();

  const std::vector<Term>& terms() const { return terms_; }
  bool startsTerm(unsigned char c) const { return firstChars_[c]; }

 private:
  void addChar(int code, long at);
  void endWord();
  void matchWord();
  size_t skipMarkup(std::string_view text, size_t at);

  std::vector<Term> terms_;
  bool firstChars_[256] = {};
  PhoneticTables* phonetic_ = nullptr;
  int language_ = 0;

  std::string word_;
  long wordStart_ = 0;
  bool inWordText_ = true;
  bool heading_ = false;
  long entry_ = -1;
  int entries_ = 0;
  std::vector<char> groups_;  // open markup groups, innermost last
  std::vector<Hit> pending_;  // hits of the entry being read
};
