// fuzz-libs: zemra_store
//
// Input: one byte of fold flags, one of the encoding and the Cyrillic
// option, then the text up to a NUL (after it: the stop characters). What
// must hold: no crash; at most 100 characters; folding the folded text of
// a single-byte fold to capitals and digits gives it back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "store/fulltext/char_class.h"
#include "store/fulltext/fold.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  int flags = data[0] & 0x0F;
  int encoding = data[1] & 0x07;
  bool cyrillic = (data[1] & 0x80) != 0;
  std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  size_t nul = rest.find('\0');
  std::string text = rest.substr(0, nul);
  std::string stops = nul == std::string::npos ? std::string() : rest.substr(nul + 1);
  std::string folded = foldText(text, flags, encoding, cyrillic, stops.empty() ? nullptr : stops.c_str());
  check(folded.size() <= static_cast<size_t>(kMaxFoldedLength));
  if (flags == kCapitalsAndDigits && encoding == kOneByte && !cyrillic)
    check(foldText(folded, kCapitalsAndDigits) == folded);
  for (size_t i = 0; i + 1 < text.size() && i < 64; i += 2) {
    int code = (static_cast<unsigned char>(text[i]) << 8) | static_cast<unsigned char>(text[i + 1]);
    int wide = decodeWide(code);
    check(wide >= -1);
    charClass(code, kClassOfWide);
    int second;
    int f = foldChar(wide, flags, second, cyrillic);
    check(f >= 0 && f < 256 && second >= 0 && second < 128);
  }
  return 0;
}
