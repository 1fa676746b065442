// Which installed family stands for a Windows face name. The Windows core
// fonts map to metric-compatible families (same advance widths), so text
// laid out for them keeps its line breaks: Times New Roman to Liberation
// Serif, Arial and MS Sans Serif to Liberation Sans, Courier New to
// Liberation Mono; the Japanese and Korean system faces to IPA Gothic and
// Nanum. Names are compared without regard to ASCII case; the Japanese and
// Korean names are also known in their Shift-JIS and EUC-KR spellings.
#pragma once

#include <string>
#include <string_view>

#include "win/gdi.h"

namespace win::gdi::fonts {

// A family we ship a mapping for, with its files by style (null: not made;
// the style is then synthesised from another file).
struct KnownFamily {
  const char* name;
  const char* regular;
  const char* bold;
  const char* italic;
  const char* boldItalic;
  BYTE pitchAndFamily;  // LOGFONT form: VARIABLE_PITCH | FF_SWISS, ...
  BYTE charset;         // the character set the family is made for
};

struct FaceAlias {
  const char* windowsName;   // as a program asks for it
  const KnownFamily* family;
  const char* reportedName;  // what GetTextFace and enumeration say
  bool forceBold;            // "System" is a bold face at any weight
};

std::string LowerAscii(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);

// The alias of a face name (Windows names and our own family names); null
// when we do not know the name.
const FaceAlias* FindFaceAlias(std::string_view face);

// The family for a face we could not find: by character set first (Japanese,
// Korean), then by pitch and family (FF_ROMAN serif, FF_MODERN or fixed pitch
// monospaced, anything else sans serif).
const FaceAlias& DefaultFaceAlias(BYTE charset, BYTE pitchAndFamily);

// Families used for characters the chosen face does not have, in order.
const KnownFamily& FallbackLatin();     // DejaVu Sans
const KnownFamily& FallbackJapanese();  // IPAGothic
const KnownFamily& FallbackKorean();    // NanumGothic

// Windows names offered by EnumFontFamilies, each once, in a fixed order.
int EnumerableAliasCount();
const FaceAlias& EnumerableAlias(int i);

}  // namespace win::gdi::fonts
