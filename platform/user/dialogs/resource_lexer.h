// Tokens of a resource script: numbers, quoted strings, names and
// punctuation, with "//" and "/* */" comments and "#define NAME value"
// lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace win::user {

struct Token {
  enum class Kind { End, Number, String, Name, Punct, Directive };
  Kind kind = Kind::End;
  std::int64_t number = 0;  // Number
  std::string text;         // String (escapes resolved, UTF-8), Name, Directive (the line)
  char punct = 0;           // Punct
  int line = 0;
};

class ResourceLexer {
 public:
  explicit ResourceLexer(std::string_view text) : text_(text) {}
  // The next token; a malformed one (an unclosed string or comment, a number
  // past 32 bits, a stray byte) sets error() and gives End.
  Token Next();
  const std::string& error() const { return error_; }
  int line() const { return line_; }

 private:
  void SkipBlanksAndComments();
  Token Fail(const char* why);

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  bool lineStart_ = true;
  std::string error_;
};

// Longest string literal accepted, in bytes.
inline constexpr size_t kMaxScriptString = 4096;

}  // namespace win::user
