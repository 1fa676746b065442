// The texts of the error codes that replies carry (error class in bits 8-15,
// number in bits 0-7). Codes below 512 are the server's own errors; class 2
// comes from the full-text server and class 4 from the document cache, whose
// texts exist per language.
#pragma once

#include "core/error.h"
#include "mfc/cstring.h"

// The text the session shows or logs for an error code:
// - 0..511: serverErrorText(code);
// - class 2: "Fulltext error: " and the full-text text of the number;
// - class 4: "Document Cache error: " and the cache's English text;
// - anything else: "unknown error! Code: " and the code in decimal.
CString errorText(int code);

// The server's text of a code; codes it does not know give
// "unknown error! Code: " and the code in decimal.
CString serverErrorText(int code);

// The full-text server's text of an error number (it describes none yet).
const char* fulltextErrorText(int number);

// An error of the document cache (class 4).
class DocumentCacheError : public Error {
 public:
  static constexpr int kClass = 4;
  static constexpr int kLanguages = 8;  // columns of the text table
  static constexpr int kLastRow = 50;   // numbers above it share its text

  explicit DocumentCacheError(int code = 0) : Error(code) {}
  virtual ~DocumentCacheError() = default;

  using Error::errorClass;
  virtual int errorClass() const { return kClass; }
  virtual const char* className() const { return "Document Cache Error"; }
  // The text of this error's code in a language (0 English, 1 German).
  virtual const char* text(int language) const { return text(code(), language); }
  virtual bool ok() const { return number() == 0; }
  virtual int reserved() const { return 0; }

  // The row is the code's number, at most kLastRow. A language without a
  // text in that row (any but 0 and 1, or one outside the table) gives the
  // English text.
  static const char* text(int code, int language);
};
