// The languages the user interface knows, with the user's order of
// preference, and the chooser that picks from a multi-language text the
// variant to show.
//
// A language has a two-letter code (the system's own: "en", "ge", "fr",
// "st", "it", "sp", "kr", "jp"), a display name, a rank (0 = most preferred)
// and an active flag; inactive languages take no part in choosing. A text
// part is a code, ":" and the text; the code "??" marks a text for any
// language.
//
// The program's list is built by the first StaticGuard<Languages> (one per
// source file that includes this header) with the eight languages in the
// order above, all active, and destroyed by the last guard.
#pragma once

#include "core/static_guard.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

class Languages {
 public:
  static constexpr int kMaxLanguages = 10;
  // The rank of an unknown or inactive language: after every real one.
  static constexpr int kUnranked = 20;

  // The eight languages, all active, ranked in table order.
  Languages();

  // The program's list; null outside its life.
  static Languages* instance();
  static void Init();
  static void Exit();

  int count() const { return count_; }

  // Appends a language ranked by its index. Returns the new count; the
  // count unchanged when the code is known already; 0 (nothing added) when
  // the table is full or the code is not two characters long.
  int add(const char* code, const char* name, bool active);

  // Index of the code, -1 when unknown.
  int indexOf(const char* code) const;
  // Display name, "" for an unknown code.
  CString name(const char* code) const;
  // The code's rank; kUnranked when unknown or inactive.
  int rank(const char* code) const;
  // The code of the active language ranked r, "" when none.
  CString codeAtRank(int r) const;

  // By table index, for lists of all languages; "" and false out of range.
  CString codeAt(int index) const;
  CString nameAt(int index) const;
  bool isActive(int index) const;

  // Makes the language the most preferred (and active); the languages that
  // ranked before it move down by one. False for an unknown code.
  bool prefer(const char* code);
  // prefer() of the active language now ranked r; false when none is.
  bool preferRank(int r);

  // The codes of the active languages in rank order ("engefr").
  CString orderString() const;
  // Sets the order from two-letter codes written one after another: the
  // languages named become active and ranked in that order (a code named
  // twice keeps its first place), all others inactive. A trailing odd
  // character is ignored. False, with the order unchanged, when a code is
  // unknown or no code is given.
  bool setOrder(const char* codes);

  // Chooses among `parts` (sorted, as a MultiLangString keeps them) the
  // text to show: the part of the best-ranked language when that is the
  // most preferred one; else an any-language part ("??:" or one without a
  // code) when there is one; else the best-ranked part; "" when no part is
  // in an active language. Entity references are decoded. The text is kept
  // in lastText() and copied to `out`; lastCode() tells the code it came
  // from ("??" for an any-language text, "" when nothing was chosen).
  const CString& choose(CString& out, const SortedStringArray& parts);
  const CString& lastText() const { return lastText_; }
  const CString& lastCode() const { return lastCode_; }

 private:
  CString lastText_;
  CString lastCode_;
  int count_ = 0;
  CString code_[kMaxLanguages];
  CString name_[kMaxLanguages];
  int rank_[kMaxLanguages] = {};
  bool active_[kMaxLanguages] = {};
};

// Reads the "LanguageOrder" setting: two-character codes, each followed by
// any run of white space and commas ("ge, en fr"), and gives them to
// setOrder of the list (the program's by default). An empty setting, a
// missing list or an unknown code changes nothing. True when the order was
// set.
bool parseLanguageOrder(const char* setting, Languages* languages = Languages::instance());

// This file's share of the use counter.
static StaticGuard<Languages> languagesGuard;
