// The style table: one struct that holds every top-level declaration of the
// loaded style files, the state of the style-language reader while it reads
// a file or a style expression, the type tests the page switch uses, and the
// "PROPERTY TABLE" dump. StyleTable() is the one program-wide table.
#pragma once

#include <cstdint>

#include "mfc/cstring.h"
#include "pages/style/property_struct.h"

// The tokens of the style language. End is 0; the others are distinct.
enum StyleToken : std::int32_t {
  kTokenEnd = 0,
  kTokenIdentifier,
  kTokenInteger,
  kTokenReal,
  kTokenLiteral,
  kTokenArea,
  kTokenBoolean,
  kTokenColor,
  kTokenConst,
  kTokenString,
  kTokenValue,
  kTokenFile,
  kTokenRect,
  kTokenOpenParen,
  kTokenCloseParen,
  kTokenComma,
  kTokenDot,
  kTokenSemicolon,
  kTokenEquals,
  kTokenOpenBrace,
  kTokenCloseBrace,
  // Only while an invalid character is reported.
  kTokenInvalid
};

// The reader's state: the current token and where reading goes on.
struct StyleLexState {
  StyleToken kind = kTokenEnd;
  CString text;
  double real = 0.0;
  std::int32_t integer = 0;
  const char* position = nullptr;
  std::int32_t line = 0;
};

class PropertyTable : public PropertyStruct {
 public:
  // Struct bodies nest at most this deep; deeper bodies are skipped with an
  // error, so that no text can exhaust the stack.
  static constexpr int kMaxNesting = 64;

  PropertyTable() = default;

  // --- Type tests ---
  // True when typeA is typeB or, following the table's structs of those
  // names and their types, derives from it.
  bool IsDerived(int typeA, int typeB);
  bool IsDerived(const char* typeA, const char* typeB);
  // True when the entry is a struct whose own name or any type in its chain
  // has the name `type`.
  static bool IsA(const Property* entry, int type);
  static bool IsA(const Property* entry, const char* type);
  // "PROPERTY TABLE" and every member into the logbook.
  void Print() const override;

  // --- The reader (style_lexer.cpp, style_statements.cpp) ---
  // Parses a whole style text held in memory; it must begin with
  // "<Style Description>" at its first byte, else it is ignored.
  void ParseStyleText(const char* text);
  // Reads the next token into the state; its kind.
  StyleToken NextToken();
  // Restores the state before the last NextToken (one token only).
  void UngetToken();
  // One error line into the logbook, with the file, line and token when a
  // file is being read.
  void ReportError(const char* message);

  void ParseTopStatement();
  void ParseMemberStatement(PropertyStruct* target);
  void ParseTypedDeclaration(PropertyKind kind, PropertyStruct* target);
  void ParseEnumType(const CString& name);
  void ParseStructDeclaration(const CString& typeName, const CString& name,
                              PropertyStruct* target);
  void ParseEnumVariable(PropertyEnum* type, PropertyStruct* target);
  // "=" and a value into the entry when the current token is "=".
  void ParseValue(Property* entry);

  // Starts reading an expression (line 0, no file) and gives the state back
  // afterwards; used by the style expressions.
  void BeginText(const char* text);
  void EndText();

  const StyleLexState& State() const { return state_; }
  // The name of the file being read ("" otherwise).
  void SetFileName(const CString& name) { fileName_ = name; }
  const CString& FileName() const { return fileName_; }

 private:
  void ParseStructBody(PropertyStruct* target);
  void SkipNestedBody();
  void ParseAssignment(PropertyStruct* target);
  // Reads one token; the work of NextToken without saving the state.
  void ReadToken();
  void ReadNumber();
  void ReadWord();

  StyleLexState state_;
  StyleLexState saved_;
  bool constFlag_ = false;
  int depth_ = 0;
  CString fileName_;
};

// The program-wide table.
PropertyTable& StyleTable();
