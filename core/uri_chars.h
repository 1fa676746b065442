// Character classes of link targets (RFC 1630 as the URI parser reads it) and
// the one rule that checks a part of a link against a class while decoding
// the "%" escapes that the class allows.
#pragma once

#include "mfc/cstring.h"

namespace uri_chars {

// Each test looks the unsigned byte up in a 256-entry table.
bool IsHex(unsigned char c);
bool IsAlpha(unsigned char c);
bool IsDigit(unsigned char c);
bool IsAlnum(unsigned char c);
bool IsXalpha(unsigned char c);   // ! " $ & ' ( ) * , - . 0-9 @ A-Z _ a-z
bool IsXalnum(unsigned char c);
bool IsNational(unsigned char c);  // " > [ \ ] ^ ` { | } ~ and 128-255
bool IsSafe(unsigned char c);      // $ + - . _
bool IsExtra(unsigned char c);     // ! ' ( ) * ,
bool IsPchar(unsigned char c);     // & : = @ alpha digit safe extra national
bool IsUchar(unsigned char c);     // & / : ; = ? @ alpha digit safe extra national

// Classes that only one part of a link uses.
bool IsParamChar(unsigned char c);     // pchar or "/"
bool IsUcharOrBlank(unsigned char c);  // fragments and korvex queries

using CharTest = bool (*)(unsigned char);

// The byte that the escape at text[i] ("%" and two hex digits) stands for,
// or -1 when text[i] is not "%", when fewer than two characters follow it
// (a "%" at the end of the text), or when either is not hex.
int DecodeEscape(const CString& text, int i);

// How a part is checked: the class of its first character as written (null:
// the same as the rest), the class of every other character and of decoded
// escapes, and whether escapes of that class are replaced by their byte.
struct PartRule {
  CharTest first;
  CharTest rest;
  bool decode;
};

// Walks the part: an escape must be well formed; when decoding and its byte
// belongs to the class, the three characters become that byte, else the
// escape stays as written. Any other character must belong to the class.
// True with `part` replaced by its unescaped form; false leaves it alone.
// With a first class, the first character is checked as written, so an
// escape cannot open such a part. An empty part passes.
// `badEscape`, when given, tells whether a malformed escape was the cause.
bool CheckPart(CString& part, const PartRule& rule, bool* badEscape = nullptr);

}  // namespace uri_chars
