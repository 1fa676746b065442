#include "store/fulltext/language_file.h"

#include <climits>

#include "core/language_id.h"
#include "core/line_reader.h"
#include "core/paths.h"

bool openLanguageFile(LineReader& reader, const char* base, int language, const char* fileName) {
  if (fileName && *fileName) return reader.open(fileName, 0);
  char name[128];
  std::string b(base);
  if (b.size() + 5 > sizeof name) return false;
  b.copy(name, b.size());
  name[b.size()] = '\0';
  if (LanguageId().MakeFileName(name, sizeof name, language) < 0) return false;
  return reader.open(makeAppPath(name, ""), 0) || reader.open(name, 0);
}

int headerNumber(const char* text) {
  while (*text == ' ') ++text;
  long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(value);
}

unsigned char upperLatin1(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 224 && c <= 254 && c != 247) return static_cast<unsigned char>(c - 32);
  return c;
}

bool isLetterOrHigh(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }
