// The lexical rules of command lines: white space, identifiers, numbers,
// colours, quoted strings and references to the items of an argument list.
// Each routine takes the address of a text cursor and moves it over what it
// consumed; a null cursor (or a cursor at null) reads nothing.
//
// Characters are classified as unsigned bytes in the "C" locale: white
// space is blank, tab, line feed, vertical tab, form feed and carriage
// return; letters are A-Z and a-z. Bytes above 127 are neither, so a text in
// any encoding is read the same on every machine.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

namespace command_text {

bool IsSpace(char c);
// A letter, a digit or an underscore.
bool IsIdentifierChar(char c);

void SkipSpace(const char** cursor);
// White space, then the longest run of letters, digits and underscores
// (which may begin with a digit); "" when none follows.
CString ReadIdentifier(const char** cursor);
// White space, then either unsigned decimal digits (held at the int range)
// or a value in double quotes read as a fraction of the screen height ("1/10"
// is a tenth of it). A quote not closed before the line ends gives 0, as
// does anything else (the cursor then stays).
int ReadNumber(const char** cursor);
// White space, then "0x" and hexadecimal digits, the first six of them as
// 0xRRGGBB; returned with red in the low byte. Without "0x" the result is 0
// and the cursor stays; with "0x" the cursor passes every hexadecimal digit.
COLORREF ReadColor(const char** cursor);
// White space, then a text in double quotes: everything up to the closing
// quote or the end of the text, line feeds included; the closing quote is
// passed. "" (cursor left) when no quote follows.
CString ReadQuotedString(const char** cursor);
// White space, then "#" and a number n: the n-th comma-separated item of
// the argument list, counting from 1, without its leading white space
// (trailing white space is kept). "" for n below 1, a missing item, no
// list, or when no "#" follows.
CString ReadArgument(const char** cursor, const char* arguments);

}  // namespace command_text
