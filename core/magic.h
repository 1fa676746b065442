// File-type identification from a magic table: format.dat in the home
// directory holds rules that test a value at an offset of a file's first
// bytes and name a result ("BMP", "XBM", a converter plug-in's file name, or
// a media type such as "AVI").
//
// format.dat, one rule a line (at most 499 characters; "#" starts a comment,
// empty lines are skipped):
//   [>]offset type [relation] value message
// ">" continues the last rule without it; offset is decimal; type is byte,
// short, long (signed, little-endian) or string; relation is =, <, > or &
// (default =); a number is read as strtol with base 0 reads it, a string up
// to the first blank with C-like escapes; the message is the rest of the
// line, a printf format of the value (at most one conversion: %d %i %u %x
// %X %o %c for numbers, %s for strings; any other message is shown as it
// stands).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kMagicSlots = 250;                   // size of the static table
constexpr int kMagicMaxEntries = kMagicSlots - 1;  // the 250th entry overflows
constexpr int kMagicMaxString = 31;
constexpr int kMagicMessageChars = 49;
constexpr int kMagicLineChars = 499;
constexpr int kMagicReadBytes = 512;   // bytes of a file that are matched
constexpr int kMagicResultSize = 128;  // room for a result, NUL included

enum MagicType : std::uint8_t {
  kMagicByte = 1,
  kMagicShort = 2,
  kMagicLong = 4,
  kMagicString = 5,
};

struct MagicEntry {
  std::uint8_t continuation;  // 1 for a ">" line
  std::uint8_t reserved;      // always 0
  std::int32_t offset;
  char relation;              // '=', '<', '>' or '&'
  std::uint8_t type;          // MagicType
  std::uint8_t stringLength;  // bytes of `string` that are compared
  std::int32_t value;         // byte, short and long: sign-extended
  char string[kMagicMaxString + 1];
  char message[kMagicMessageChars + 1];
};

// Empties the table and reads the rules of a file (or of a text). False when
// the file cannot be opened (after the box "Can't read magic file <path>") or
// any line was rejected; the lines accepted stay in the table either way.
bool LoadMagic(const char* path);
bool LoadMagicText(const char* text, std::size_t size);

// LoadMagic(path), then matches the buffer against the table: the first
// top-level rule that matches writes its message into `out`, and each of its
// continuation rules that matches appends a blank and its own message; a
// message that does not fit into what is left of `out` is left out. False
// and `out` untouched when no rule matched (or the load failed).
bool MatchMagic(const char* path, const void* buffer, int size, char* out, int outSize);
// The matching step alone, against the table as it stands.
bool MatchLoadedMagic(const void* buffer, int size, char* out, int outSize);

// Matches the first 512 bytes of `file` against format.dat in the home
// directory (the current directory when there is no application) and
// copies the result (at most 127 characters, cut to outSize) into `out`,
// the empty text when nothing matched. A file that cannot be opened shows
// the box of string 9 ("Unable to open file"); false.
bool IdentifyFileFormat(const char* file, char* out, int outSize = kMagicResultSize);

// The table as last loaded.
int MagicEntryCount();
const MagicEntry* MagicEntries();
// Replaces the table (at most kMagicMaxEntries entries are taken); for
// tests that need entries no text can produce.
void SetMagicEntries(const MagicEntry* entries, int count);

// The table-overflow box is shown once per program run; tests reset that.
void ResetMagicOverflowNotice();

// The message of `entry` formatted with a number (byte, short, long) or a
// text (string): used as a printf format only when it holds at most one
// conversion that fits the type, with widths and precisions of at most
// three digits; else the plain message.
std::string FormatMagicMessage(const MagicEntry& entry, std::int32_t number, const char* text);
