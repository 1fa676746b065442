// Parsing, querying and editing the lines of a private-profile file.
#include "win/profile_parser.h"

#include <cstring>

#include "win/kernel.h"

namespace win::profile {
namespace {

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (win_tolower(static_cast<unsigned char>(a[i])) != win_tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

void Classify(Line& line, int currentSection) {
  std::string_view text = Trim(line.raw);
  if (text.empty()) {
    line.kind = LineKind::Blank;
  } else if (text[0] == ';') {
    line.kind = LineKind::Comment;
  } else if (text[0] == '[') {
    line.kind = LineKind::Section;
    std::string_view inner = text.substr(1);
    line.name = std::string(Trim(inner.substr(0, inner.find(']'))));
  } else {
    line.kind = LineKind::Entry;
    line.section = currentSection;
    size_t eq = text.find('=');
    line.name = std::string(Trim(text.substr(0, eq)));
    if (eq != std::string_view::npos) {
      std::string_view v = Trim(text.substr(eq + 1));
      line.rawValue = std::string(v);
      line.value = std::string(Unquote(v));
    }
  }
}

// One past the last line of the section whose header is at `header`.
size_t SectionEnd(const Document& doc, size_t header) {
  size_t i = header + 1;
  while (i < doc.lines.size() && doc.lines[i].kind != LineKind::Section) ++i;
  return i;
}

bool IsEntry(const Line& line, int header, std::string_view key) {
  return line.kind == LineKind::Entry && line.section == header && !line.name.empty() &&
         Same(line.name, key);
}

void Renumber(Document& doc) {
  int current = -1;
  for (size_t i = 0; i < doc.lines.size(); ++i) {
    Line& line = doc.lines[i];
    if (line.kind == LineKind::Section) current = static_cast<int>(i);
    if (line.kind == LineKind::Entry) line.section = current;
  }
}

Line MakeLine(const Document& doc, std::string raw) {
  Line line;
  line.raw = std::move(raw);
  line.eol = doc.eol;
  return line;
}

// A last line without a line end gets one before anything follows it.
void EndLastLine(Document& doc) {
  if (doc.lines.empty()) return;
  std::string& eol = doc.lines.back().eol;
  if (eol.empty()) eol = doc.eol;
  else if (eol == "\r") eol = "\r\n";
}

}  // namespace

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

Document Parse(std::string_view bytes) {
  Document doc;
  bool eolKnown = false;
  int current = -1;
  while (!bytes.empty()) {
    size_t lf = bytes.find('\n');
    Line line;
    if (lf == std::string_view::npos) {
      // A carriage return that ends the file ends the line, as it would
      // before a line feed; otherwise it would become part of a name and
      // change meaning once a line feed is written after it.
      bool cr = bytes.back() == '\r';
      line.raw = std::string(bytes.substr(0, bytes.size() - (cr ? 1 : 0)));
      if (cr) line.eol = "\r";
      bytes = {};
    } else {
      bool crlf = lf > 0 && bytes[lf - 1] == '\r';
      line.raw = std::string(bytes.substr(0, crlf ? lf - 1 : lf));
      line.eol = crlf ? "\r\n" : "\n";
      bytes.remove_prefix(lf + 1);
      if (!eolKnown) doc.eol = line.eol;
      eolKnown = true;
    }
    Classify(line, current);
    if (line.kind == LineKind::Section) current = static_cast<int>(doc.lines.size());
    doc.lines.push_back(std::move(line));
  }
  return doc;
}

std::string Serialize(const Document& doc) {
  std::string out;
  for (const auto& line : doc.lines) {
    out += line.raw;
    out += line.eol;
  }
  return out;
}

int FindSection(const Document& doc, std::string_view section) {
  section = Trim(section);
  for (size_t i = 0; i < doc.lines.size(); ++i)
    if (doc.lines[i].kind == LineKind::Section && Same(doc.lines[i].name, section))
      return static_cast<int>(i);
  return -1;
}

std::optional<std::string> FindValue(const Document& doc, std::string_view section,
                                     std::string_view key) {
  int h = FindSection(doc, section);
  if (h < 0) return std::nullopt;
  key = Trim(key);
  size_t end = SectionEnd(doc, static_cast<size_t>(h));
  for (size_t i = static_cast<size_t>(h) + 1; i < end; ++i)
    if (IsEntry(doc.lines[i], h, key)) return doc.lines[i].value;
  return std::nullopt;
}

namespace {
void AddOnce(std::vector<std::string_view>& seen, std::string& list, std::string_view name) {
  if (name.empty()) return;  // an empty name would end the list early
  for (auto s : seen)
    if (Same(s, name)) return;
  seen.push_back(name);
  list.append(name);
  list.push_back('\0');
}
}  // namespace

std::string SectionNames(const Document& doc) {
  std::string list;
  std::vector<std::string_view> seen;
  for (const auto& line : doc.lines)
    if (line.kind == LineKind::Section) AddOnce(seen, list, line.name);
  return list;
}

std::string KeyNames(const Document& doc, std::string_view section) {
  std::string list;
  int h = FindSection(doc, section);
  if (h < 0) return list;
  std::vector<std::string_view> seen;
  size_t end = SectionEnd(doc, static_cast<size_t>(h));
  for (size_t i = static_cast<size_t>(h) + 1; i < end; ++i)
    if (doc.lines[i].kind == LineKind::Entry) AddOnce(seen, list, doc.lines[i].name);
  return list;
}

std::string SectionEntries(const Document& doc, std::string_view section) {
  std::string list;
  int h = FindSection(doc, section);
  if (h < 0) return list;
  size_t end = SectionEnd(doc, static_cast<size_t>(h));
  for (size_t i = static_cast<size_t>(h) + 1; i < end; ++i) {
    const Line& line = doc.lines[i];
    if (line.kind != LineKind::Entry || line.name.empty()) continue;
    list += line.name;
    list += '=';
    list += line.rawValue;
    list += '\0';
  }
  return list;
}

void SetValue(Document& doc, std::string_view section, std::string_view key,
              std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  int h = FindSection(doc, section);
  if (h < 0) {
    EndLastLine(doc);
    if (!doc.lines.empty() && doc.lines.back().kind != LineKind::Blank)
      doc.lines.push_back(MakeLine(doc, ""));
    doc.lines.push_back(MakeLine(doc, "[" + std::string(section) + "]"));
    doc.lines.push_back(MakeLine(doc, std::string(key) + "=" + std::string(value)));
    Renumber(doc);
    return;
  }
  size_t end = SectionEnd(doc, static_cast<size_t>(h));
  size_t insertAt = static_cast<size_t>(h) + 1;
  for (size_t i = static_cast<size_t>(h) + 1; i < end; ++i) {
    Line& line = doc.lines[i];
    if (IsEntry(line, h, key)) {
      // Keep the key as the file spells it; only the value changes.
      line.raw = line.name + "=" + std::string(value);
      return;
    }
    if (line.kind == LineKind::Entry) insertAt = i + 1;
  }
  if (insertAt == doc.lines.size()) EndLastLine(doc);
  doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   MakeLine(doc, std::string(key) + "=" + std::string(value)));
  Renumber(doc);
}

void DeleteKey(Document& doc, std::string_view section, std::string_view key) {
  int h = FindSection(doc, section);
  if (h < 0) return;
  key = Trim(key);
  size_t end = SectionEnd(doc, static_cast<size_t>(h));
  std::vector<Line> kept;
  kept.reserve(doc.lines.size());
  for (size_t i = 0; i < doc.lines.size(); ++i) {
    bool inSection = i > static_cast<size_t>(h) && i < end;
    if (inSection && IsEntry(doc.lines[i], h, key)) continue;
    kept.push_back(std::move(doc.lines[i]));
  }
  doc.lines = std::move(kept);
  Renumber(doc);
}

void DeleteSection(Document& doc, std::string_view section) {
  section = Trim(section);
  std::vector<Line> kept;
  kept.reserve(doc.lines.size());
  bool dropping = false;
  for (auto& line : doc.lines) {
    if (line.kind == LineKind::Section) dropping = Same(line.name, section);
    if (!dropping) kept.push_back(std::move(line));
  }
  doc.lines = std::move(kept);
  Renumber(doc);
}

UINT ParseInt(std::string_view value) {
  value = Trim(value);
  size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // Saturates at 32 bits instead of wrapping, so a huge number does not come
  // back as a small one.
  std::uint64_t v = 0;
  for (; i < value.size(); ++i) {
    char c = value[i];
    unsigned d;
    if (c >= '0' && c <= '9')
      d = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    v = v * base + d;
    if (v > 0xFFFFFFFFu) v = 0xFFFFFFFFu;
  }
  std::uint32_t r = static_cast<std::uint32_t>(v);
  return negative ? 0u - r : r;
}

DWORD CopyValue(std::string_view value, LPSTR out, DWORD size) {
  if (!out || size == 0) return 0;
  size_t n = value.size() < size ? value.size() : size - 1;
  std::memcpy(out, value.data(), n);
  out[n] = '\0';
  return static_cast<DWORD>(n);
}

DWORD CopyList(std::string_view list, LPSTR out, DWORD size) {
  if (!out || size == 0) return 0;
  if (size == 1) {
    out[0] = '\0';
    return 0;
  }
  size_t n = list.size() + 1 <= size ? list.size() : size - 2;
  std::memcpy(out, list.data(), n);
  out[n] = '\0';
  if (n + 1 < size) out[n + 1] = '\0';
  return static_cast<DWORD>(n);
}

}  // namespace win::profile
