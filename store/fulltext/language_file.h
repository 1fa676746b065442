// The per-language rule files of the full-text search: a base name joined to
// the language's three-letter code ("SUFFIX.deu"), looked for in the
// program's directory and then, under the plain name, in the current one.
#pragma once

#include <string>

class LineReader;

// The languages the dictionary loads tables for when it first opens.
enum TableLanguage : int {
  // Not a language: the table that is current, or every loaded table.
  kEveryLanguage = 1,
  kCurrentLanguage = 2,
  kGerman = 4,
  kEnglish = 6,
};

// Opens `fileName` when it is given, else the language's file of `base`.
// False when no candidate can be read.
bool openLanguageFile(LineReader& reader, const char* base, int language, const char* fileName);

// The number after a header character: leading blanks skipped, decimal
// digits up to the first other character (0 when there are none), capped so
// that it fits an int.
int headerNumber(const char* text);

// Upper case for ASCII and Latin-1 letters.
unsigned char upperLatin1(unsigned char c);
bool isLetterOrHigh(unsigned char c);
