// What kind of character a code is, for folding and word scanning. Codes
// below 256 are the bytes of a text; codes from 256 on are characters
// beyond the byte range (numbered as in Unicode for Latin, Greek and
// Cyrillic). Two-byte codes of the dictionary texts are turned into such
// numbers by decodeWide.
#pragma once

enum CharClass : int {
  kModifierLetter = 3,
  kCombiningMarkOther = 34,
  kCombiningMark = 82,
  kOrdinary = 257,
  kLineEnd = 513,
  kSeparator = 8705,
};
// Only classes with this bit are folded as letters.
constexpr int kOrdinaryBit = 256;
// The class query that maps a two-byte code first.
constexpr int kClassOfWide = 3;

// A two-byte code (lead byte high) as a character number: below 160 the
// code itself, below 0xA100 its low byte, from 0xF600 on (and below 0) -1;
// otherwise row and column from 0xA121 on, 190 characters to a row.
int decodeWide(int code);

int charClass(int code, int mode = 0);
