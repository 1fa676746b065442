// Reading format.dat into the magic table.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/magic.h"
#include "core/magic_table.h"
#include "core/message_boxes.h"
#include "win/kernel.h"

namespace {

bool gOverflowShown = false;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

void skipSpace(const char*& p) {
  while (isSpace(*p)) ++p;
}

bool startsWith(const char* p, const char* word) {
  return std::strncmp(p, word, std::strlen(word)) == 0;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One byte of a string value at p (an escape or a plain character); p moves
// behind it. False at the end of the value: white space, the end of the
// line, or a backslash that ends the line.
bool nextStringByte(const char*& p, char& out) {
  if (*p == '\0' || isSpace(*p)) return false;
  if (*p != '\\') {
    out = *p++;
    return true;
  }
  ++p;
  switch (char c = *p) {
    case '\0': return false;
    case 'b':
      out = '\b';
      ++p;
      return true;
    case 'f':
      out = '\f';
      ++p;
      return true;
    case 'n':
      out = '\n';
      ++p;
      return true;
    case 'r':
      out = '\r';
      ++p;
      return true;
    case 't':
      out = '\t';
      ++p;
      return true;
    case 'v':
      out = '\v';
      ++p;
      return true;
    case 'x': {
      ++p;
      int value = 0, digits = 0;
      for (int d; digits < 3 && (d = hexDigit(*p)) >= 0; ++digits, ++p) value = value * 16 + d;
      out = digits ? static_cast<char>(value & 0xff) : 'x';
      return true;
    }
    default:
      if (c >= '0' && c <= '7') {
        int value = 0;
        for (int digits = 0; digits < 3 && *p >= '0' && *p <= '7'; ++digits, ++p)
          value = value * 8 + (*p - '0');
        out = static_cast<char>(value & 0xff);
        return true;
      }
      out = c;  // "\ " is a blank, "\\" a backslash
      ++p;
      return true;
  }
}

void readString(const char*& p, MagicEntry& e) {
  const char* start = p;
  int n = 0;
  bool tooLong = false;
  for (char c; nextStringByte(p, c);) {
    if (n < kMagicMaxString)
      e.string[n++] = c;
    else
      tooLong = true;  // the rest of the value is read past, not kept
  }
  e.string[n] = '\0';
  e.stringLength = static_cast<std::uint8_t>(n);
  if (tooLong) ShowErrorTexts("String too long: ", std::string(start, p).c_str());
}

// strtol with base 0 as the rule's author meant it: the bit pattern of a
// 32-bit value, so 0xC6D3D0C5 is that long and not the largest positive one.
std::int32_t readNumber(const char*& p, std::uint8_t type) {
  char* end = nullptr;
  long long v = std::strtoll(p, &end, 0);
  p = end;
  switch (type) {
    case kMagicByte: return static_cast<std::int8_t>(v & 0xff);
    case kMagicShort: return static_cast<std::int16_t>(v & 0xffff);
    default: return static_cast<std::int32_t>(static_cast<std::uint32_t>(v & 0xffffffff));
  }
}

// Parses one line into `e`; false (after its box) when the line is rejected.
bool parseLine(const char* line, MagicEntry& e) {
  e = MagicEntry{};
  const char* p = line;
  if (*p == '>') {
    e.continuation = 1;
    ++p;
  }

  // Only digits make the offset: a sign, "0x" or a blank before it is left
  // for the type keyword, which then fails.
  long long offset = 0;
  for (; *p >= '0' && *p <= '9'; ++p)
    if (offset <= INT_MAX) offset = offset * 10 + (*p - '0');
  e.offset = offset > INT_MAX ? INT_MAX : static_cast<std::int32_t>(offset);
  skipSpace(p);

  struct Keyword {
    const char* word;
    MagicType type;
  };
  static const Keyword kKeywords[] = {
      {"byte", kMagicByte}, {"short", kMagicShort}, {"long", kMagicLong}, {"string", kMagicString}};
  const Keyword* found = nullptr;
  for (const Keyword& k : kKeywords)
    if (startsWith(p, k.word)) found = &k;
  if (!found) {
    ShowErrorTexts("Magic numbers: invalid type: ", p);
    return false;
  }
  e.type = found->type;
  p += std::strlen(found->word);
  skipSpace(p);

  e.relation = '=';
  if (*p == '=' || *p == '<' || *p == '>' || *p == '&') e.relation = *p++;
  skipSpace(p);

  if (e.type == kMagicString)
    readString(p, e);
  else
    e.value = readNumber(p, e.type);
  skipSpace(p);

  std::strncpy(e.message, p, kMagicMessageChars);
  e.message[kMagicMessageChars] = '\0';
  return true;
}

// Adds one line of the file to the table; false when it is rejected.
bool addLine(const char* line) {
  if (line[0] == '#' || line[0] == '\0') return true;
  magic_detail::Table& t = magic_detail::table();
  if (t.count >= kMagicMaxEntries) {
    if (!gOverflowShown) {
      gOverflowShown = true;
      ShowErrorNumber("magic table overflow - increase MAXMAGIS beyond ", kMagicSlots);
    }
    return false;
  }
  MagicEntry e;
  if (!parseLine(line, e)) return false;
  t.entries[t.count++] = e;
  return true;
}

// Collects a physical line: at most kMagicLineChars characters are kept,
// the rest of an over-long line is dropped rather than read as a line of
// its own; a carriage return before the line end goes too.
class LineBuffer {
 public:
  void add(char c) {
    if (length_ < kMagicLineChars) text_[length_++] = c;
  }
  const char* finish() {
    if (length_ > 0 && text_[length_ - 1] == '\r') --length_;
    text_[length_] = '\0';
    length_ = 0;
    return text_;
  }

 private:
  char text_[kMagicLineChars + 1];
  int length_ = 0;
};

void emptyTable() { magic_detail::table().count = 0; }

}  // namespace

bool LoadMagic(const char* path) {
  emptyTable();
  FILE* f = path ? win_fopen(path, "r") : nullptr;
  if (!f) {
    ShowErrorTexts("Can't read magic file ", path ? path : "");
    return false;
  }
  bool ok = true;
  LineBuffer line;
  bool pending = false;
  for (int c; (c = std::fgetc(f)) != EOF;) {
    if (c == '\n') {
      ok &= addLine(line.finish());
      pending = false;
    } else {
      line.add(static_cast<char>(c));
      pending = true;
    }
  }
  if (pending) ok &= addLine(line.finish());
  std::fclose(f);
  return ok;
}

bool LoadMagicText(const char* text, std::size_t size) {
  emptyTable();
  if (!text) size = 0;
  bool ok = true;
  LineBuffer line;
  std::size_t start = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\n') {
      ok &= addLine(line.finish());
      start = i + 1;
    } else {
      line.add(text[i]);
    }
  }
  if (start < size) ok &= addLine(line.finish());
  return ok;
}

void ResetMagicOverflowNotice() { gOverflowShown = false; }
