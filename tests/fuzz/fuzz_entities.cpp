// fuzz-libs: zemra_core
// Entity decoding, ASCII folding and the tokenizers on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/entities.h"
#include "core/str_helpers.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void tokenize(const CString& text) {
  CString out;
  int pos = 0;
  int guard = 0;
  while (StrNextField(text, pos, ',', out)) {
    check(!out.IsEmpty() && pos <= text.GetLength());
    check(++guard <= text.GetLength());
  }
  pos = 0;
  guard = 0;
  while (StrNextToken(text, pos, " ;&", out)) check(++guard <= text.GetLength());
  pos = 0;
  guard = 0;
  while (StrNextToken(text, pos, "\t", out)) check(++guard <= text.GetLength());
  unsigned char table[256] = {};
  table[0x80] = table['a'] = 1;
  pos = 0;
  guard = 0;
  while (StrNextTokenSet(text, pos, table, out)) check(++guard <= text.GetLength());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));

  CString decoded = DecodeEntities(text);
  check(decoded.GetLength() <= text.GetLength());
  if (text.view().find('&') == std::string_view::npos) check(decoded.str() == text.str());

  CString folded = FoldToAscii(text);
  for (char c : folded.str()) {
    unsigned char u = static_cast<unsigned char>(c);
    check(u >= 32 && u < 127);
    check(!(c >= 'A' && c <= 'Z'));
  }

  tokenize(text);

  CString replaced = text;
  StrReplaceWord(replaced, "and", "&", " ", true);
  StrReplaceAll(replaced, "&amp;", "&", false);
  CString negated = text;
  StrNegateBytes(negated);
  StrNegateBytes(negated);
  check(negated.str() == text.str());
  return 0;
}
