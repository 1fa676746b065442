#include "store/fulltext/char_class.h"

int decodeWide(int code) {
  if (code < 0) return -1;
  if (code < 160) return code;
  if (code < 0xA100) return code & 0xFF;
  if (code >= 0xF600) return -1;
  int d = code - 0xA121;
  int row = d / 256;
  int column = d % 256;
  return column < 95 ? row * 190 + column + 256 : row * 190 + column - 33 + 256;
}

int charClass(int code, int mode) {
  if (mode == kClassOfWide) code = decodeWide(code);
  if (code >= 688 && code <= 767) return kModifierLetter;
  if (code == 789 || code == 794 || code == 795 || code == 801 || code == 802) return kCombiningMarkOther;
  if ((code >= 768 && code <= 901) || (code >= 8400 && code <= 8447)) return kCombiningMark;
  if (code == '\n') return kLineEnd;
  if ((code >= 0 && code <= 32) || code == '-' || code == '~' || code == '/' || code == '\\' || code == 160)
    return kSeparator;
  return kOrdinary;
}
