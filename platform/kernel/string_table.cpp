// LoadString and win_string_resource over the string table the program
// registers. A string, once in the table, never moves (new entries go into
// nodes of their own), so win_string_resource can hand out pointers into it.
#include "win/string_table.h"

#include <cstring>

#include "win/kernel.h"
#include "win/resources.h"

namespace win {
namespace {

// Ids are 16-bit in resource files; we accept up to 32 bits and refuse more.
bool ParseId(std::string_view& line, UINT& id) {
  size_t i = 0;
  std::uint64_t v = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
    v = v * 10 + static_cast<unsigned>(line[i] - '0');
    if (v > 0xFFFFFFFFu) return false;
    ++i;
  }
  if (i == 0) return false;
  if (i < line.size() && line[i] != ' ') return false;  // "12abc" is no entry
  id = static_cast<UINT>(v);
  line.remove_prefix(i < line.size() ? i + 1 : i);
  return true;
}

std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char n = s[i + 1];
      if (n == 'n' || n == 't' || n == '\\') {
        out += n == 'n' ? '\n' : n == 't' ? '\t' : '\\';
        ++i;
        continue;
      }
    }
    out += s[i];  // an unknown escape stays as written
  }
  return out;
}

StringTable& Table() {
  static StringTable table;
  return table;
}

}  // namespace

void RegisterStringTable(std::string_view text) {
  StringTable& table = Table();
  for (auto& [id, value] : ParseStringTable(text)) table.emplace(id, std::move(value));
}

StringTable ParseStringTable(std::string_view text) {
  StringTable table;
  while (!text.empty()) {
    size_t eol = text.find('\n');
    std::string_view line = text.substr(0, eol);
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    UINT id = 0;
    if (!ParseId(line, id)) continue;
    table.emplace(id, Unescape(line));  // emplace keeps the first entry
  }
  return table;
}

}  // namespace win

LPCSTR win_string_resource(UINT id) {
  const auto& table = win::Table();
  auto it = table.find(id);
  return it == table.end() ? nullptr : it->second.c_str();
}

int LoadString(HINSTANCE, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  const char* s = win_string_resource(id);
  if (!s) {
    buffer[0] = '\0';
    return 0;
  }
  size_t n = std::strlen(s);
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  std::memcpy(buffer, s, n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}
