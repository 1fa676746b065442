// The text of a private-profile (.ini) file as lines, with the lookups and
// edits that GetPrivateProfileString and WritePrivateProfileString make.
// Internal to the platform layer; the fuzz target calls it on raw bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/types.h"

namespace win::profile {

enum class LineKind { Blank, Comment, Section, Entry };

struct Line {
  LineKind kind = LineKind::Blank;
  std::string raw;    // the line as it stands, without its end
  std::string eol;    // "\r\n", "\n", or "" for a last line without an end
  std::string name;   // section name or key, trimmed
  std::string value;  // entry value: trimmed, one pair of matching quotes removed
  std::string rawValue;  // entry value: trimmed only
  int section = -1;      // index of the header line owning an entry, -1 before any
};

struct Document {
  std::vector<Line> lines;
  std::string eol = "\r\n";  // the first line end of the file, for new lines
};

// Lines end in LF or CR LF. "[name]" starts a section (the name runs to the
// first "]", or to the end of the line); ";" starts a comment; any other
// non-blank line is an entry "key=value" (a line without "=" is a key with an
// empty value). Names and values are trimmed of blanks and tabs.
Document Parse(std::string_view bytes);
std::string Serialize(const Document& doc);

// Index of the first section header of that name (without case), or -1.
int FindSection(const Document& doc, std::string_view section);

// The value of a key in the first section of that name; the first entry of
// that key wins. No value when the section or the key is missing.
std::optional<std::string> FindValue(const Document& doc, std::string_view section,
                                     std::string_view key);

// NUL-ended names, each once, in file order: the sections of the file, the
// keys of a section, or the "key=value" lines of a section.
std::string SectionNames(const Document& doc);
std::string KeyNames(const Document& doc, std::string_view section);
std::string SectionEntries(const Document& doc, std::string_view section);

// Edits; each keeps every other line as it stands. A null value deletes the
// key; DeleteSection removes every section of that name with its lines.
void SetValue(Document& doc, std::string_view section, std::string_view key,
              std::string_view value);
void DeleteKey(Document& doc, std::string_view section, std::string_view key);
void DeleteSection(Document& doc, std::string_view section);

// Blanks and tabs off both ends.
std::string_view Trim(std::string_view s);

// The integer reading of GetPrivateProfileInt: optional blanks, a sign, then
// decimal digits or "0x" and hexadecimal digits; 0 without digits.
UINT ParseInt(std::string_view value);

// Copying into a caller's buffer. A value: at most size - 1 characters and a
// NUL, returning the number copied. A list of NUL-ended names: cut to fit,
// always ended by a second NUL, returning the characters copied without the
// final NUL (size - 2 when cut).
DWORD CopyValue(std::string_view value, LPSTR out, DWORD size);
DWORD CopyList(std::string_view list, LPSTR out, DWORD size);

}  // namespace win::profile
