// A named style of a definition file: the style record with the name it is
// found by and a search name. STYLE entries of .sty files are read into it.
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/text_style.h"

class DefLexer;

class StyleDefinition : public ListElement {
 public:
  StyleDefinition() : style(TextStyle::Empty()) {}
  explicit StyleDefinition(const TextStyle& s, const CString& n = CString())
      : style(s), name(n), searchName(n) {}
  StyleDefinition(const StyleDefinition& other)
      : ListElement(), style(other.style), name(other.name), searchName(other.searchName) {}
  StyleDefinition& operator=(const StyleDefinition& other) {
    style = other.style;
    name = other.name;
    searchName = other.searchName;
    return *this;
  }

  // Reads "NAME { KEY = value, ... }" (after the STYLE keyword). False when
  // the entry failed; unknown keys are passed over.
  bool Read(DefLexer& lexer);

  TextStyle style;
  CString name;
  CString searchName;
};

// atoi as definition files use it: optional blanks and sign, the digits up
// to the first other character, 0 without digits; saturated to 32 bits.
LONG DefinitionAtoi(const char* s);
