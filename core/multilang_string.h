// A text held in several languages at once: a sorted set of parts, each a
// two-letter language code, ":" and the text ("en:Home", "ge:Startseite"),
// or "??:" and a text for any language. "??" parts sort first. Which part
// is shown is chosen by a language list (see core/languages.h).
#pragma once

#include "core/languages.h"
#include "core/string_array.h"
#include "mfc/cstring.h"

class MultiLangString {
 public:
  MultiLangString() = default;

  // One variant per argument, each given to AddParts; null or empty
  // arguments add nothing. Callers with more variants call AddParts.
  static MultiLangString Compose(const char* p1, const char* p2 = nullptr,
                                 const char* p3 = nullptr, const char* p4 = nullptr,
                                 const char* p5 = nullptr, const char* p6 = nullptr);

  // The whole text as one variant (no splitting at "|", a short text
  // kept): as it stands when it begins with a two-letter code and ":",
  // else for any language ("??:"). An empty text gives no variant.
  static MultiLangString OnePart(const char* text);

  // Splits `text` at "|"; each piece, without its leading blanks, becomes a
  // part. A piece shorter than three characters is dropped; a piece whose
  // third character is not ":" gets the prefix "??:". Blanks after a piece
  // stay with it. A part held already is not added twice.
  void AddParts(const char* text);

  const SortedStringArray& parts() const { return parts_; }
  int count() const { return parts_.count(); }

  // The text chosen by `languages`, by the program's list when null; ""
  // when there is no list.
  CString Text(Languages* languages = nullptr) const;
  // Text() kept in one shared string, valid until the next call.
  const char* CStr() const;

  // One "Title=" + part + "\n" line per part, in part order. A line feed or
  // carriage return inside a part becomes a blank, so each part stays one
  // attribute line.
  CString TitleAttributes() const;

 private:
  SortedStringArray parts_;
};

// Comparisons of the texts chosen by the program's list.
bool operator!=(const MultiLangString& a, const MultiLangString& b);
bool operator==(const MultiLangString& a, const char* text);
