// Free helpers on CString values used all over the client: searching from a
// position, cutting, replacing characters, substrings and whole words,
// negating bytes for descending sort keys, and three small tokenizers.
#pragma once

#include "mfc/cstring.h"

// Searches `sub` from `start` (clamped to [0, length]); returns the position
// just after the match, or -1.
int StrFindFrom(const CString& s, int start, const char* sub);

// The text from `start` up to (not including) the first `c` at or after it,
// or to the end. Empty when start lies past the end; a negative start is 0.
CString StrUpToChar(const CString& s, int start, char c);

// Every byte `c` becomes `d`, in place.
void StrReplaceChar(CString& s, char c, char d);

// Every byte b becomes (256 - b) mod 256, in place, so that an ascending
// byte order of the result is the descending order of the input.
void StrNegateBytes(CString& s);

// Replaces every occurrence of `from` by `to`, left to right, without overlap.
// With ignoreCase the search runs on lower-cased copies while the text kept
// between the replacements comes from `s` unchanged. Returns `s`.
CString& StrReplaceAll(CString& s, const char* from, const char* to, bool ignoreCase);

// Like StrReplaceAll, but only occurrences that stand as a word: they start
// the text or follow one of `delimiters`, and end it or are followed by one.
CString& StrReplaceWord(CString& s, const char* from, const char* to, const char* delimiters,
                        bool ignoreCase);

// Tokenizers. From `pos` the delimiters are skipped; a NUL byte or the end of
// the text then gives false (pos is left as it was). Otherwise `out` receives
// the run up to the next delimiter, NUL or the end, pos is set to where the
// run stopped (the delimiter is not consumed) and the result is true. A pos
// outside [0, length) gives false. Empty fields are never returned.
bool StrNextField(const CString& s, int& pos, char sep, CString& out);
// `table` has 256 entries indexed by byte value; non-zero marks a delimiter.
bool StrNextTokenSet(const CString& s, int& pos, const unsigned char* table, CString& out);
// Delimiters given as a string; the table built from it is cached until a
// call with another string.
bool StrNextToken(const CString& s, int& pos, const char* delimiters, CString& out);

// The characters of `s` from index a to index b, both included (clamped to
// the text); empty when b is below a.
CString StrSlice(const CString& s, int a, int b);
