#include "core/entities.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

// Sorted by name in byte order (capitals first): FindEntity searches it
// binarily. Characters that Mac Roman lacks have an approximation or nothing.
const EntityRow kEntities[] = {
    {"AElig", 198, "ae", "\xae"},
    {"Aacute", 193, "a", "\xe7"},
    {"Acirc", 194, "a", "\xe5"},
    {"Agrave", 192, "a", "\xcb"},
    {"Aring", 197, "a", "\x81"},
    {"Atilde", 195, "a", "\xcc"},
    {"Auml", 196, "ae", "\x80"},
    {"Ccedil", 199, "c", "\x82"},
    {"Dstrok", 208, "d", "D"},
    {"Eacute", 201, "e", "\x83"},
    {"Ecirc", 202, "e", "\xe6"},
    {"Egrave", 200, "e", "\xe9"},
    {"Euml", 203, "e", "\xe8"},
    {"Iacute", 205, "i", "\xea"},
    {"Icirc", 206, "i", "\xeb"},
    {"Igrave", 204, "i", "\xed"},
    {"Iuml", 207, "i", "\xec"},
    {"Ntilde", 209, "n", "\x84"},
    {"Oacute", 211, "o", "\xee"},
    {"Ocirc", 212, "o", "\xef"},
    {"Ograve", 210, "o", "\xf1"},
    {"Oslash", 216, "o", "\xaf"},
    {"Otilde", 213, "o", "\xcd"},
    {"Ouml", 214, "oe", "\x85"},
    {"THORN", 222, "", ""},
    {"Uacute", 218, "u", "\xf2"},
    {"Ucirc", 219, "u", "\xf3"},
    {"Ugrave", 217, "u", "\xf4"},
    {"Uuml", 220, "ue", "\x86"},
    {"Yacute", 221, "y", "Y"},
    {"aacute", 225, "a", "\x87"},
    {"acirc", 226, "a", "\x89"},
    {"acute", 180, "", "\xab"},
    {"aelig", 230, "ae", "\xbe"},
    {"agrave", 224, "a", "\x88"},
    {"amp", 38, "&", "&"},
    {"aring", 229, "a", "\x8c"},
    {"atilde", 227, "a", "\x8b"},
    {"auml", 228, "ae", "\x8a"},
    {"brkbar", 166, "", "|"},
    {"ccedil", 231, "c", "\x8d"},
    {"cedil", 184, "", "\xfc"},
    {"cent", 162, "", "\xa2"},
    {"copy", 169, "", "\xa9"},
    {"curren", 164, "", "\xdb"},
    {"deg", 176, "", "\xa1"},
    {"divide", 247, "", "\xd6"},
    {"eacute", 233, "e", "\x8e"},
    {"ecirc", 234, "e", "\x90"},
    {"egrave", 232, "e", "\x8f"},
    {"eth", 240, "", ""},
    {"euml", 235, "e", "\x91"},
    {"frac12", 189, "", "1\xda 2"},
    {"frac14", 188, "", "1\xda 4"},
    {"frac34", 190, "", "3\xda 4"},
    {"gt", 62, ">", ">"},
    {"hibar", 175, "", "\xf8"},
    {"iacute", 237, "i", "\x92"},
    {"icirc", 238, "i", "\x94"},
    {"iexcl", 161, "", "\xc1"},
    {"igrave", 236, "i", "\x93"},
    {"iquest", 191, "", "\xc0"},
    {"iuml", 239, "i", "\x95"},
    {"laquo", 171, "", "\xc7"},
    {"lt", 60, "<", "<"},
    {"micro", 181, "", "\xb5"},
    {"middot", 183, "", "\xe1"},
    {"nbsp", 160, " ", "\xca"},
    {"not", 172, "", "\xc2"},
    {"ntilde", 241, "n", "\x96"},
    {"oacute", 243, "o", "\x97"},
    {"ocirc", 244, "o", "\x99"},
    {"ograve", 242, "o", "\x98"},
    {"ordf", 170, "", "\xbb"},
    {"ordm", 186, "", "\xbc"},
    {"oslash", 248, "o", "\xbf"},
    {"otilde", 245, "o", "\x9b"},
    {"ouml", 246, "oe", "\x9a"},
    {"para", 182, "", "\xa6"},
    {"plusmn", 177, "", "\xb1"},
    {"pound", 163, "", "\xa3"},
    {"quot", 34, "\"", "\""},
    {"raquo", 187, "", "\xc8"},
    {"reg", 174, "", "\xa8"},
    {"sect", 167, "", "\xa4"},
    {"shy", 173, "", ""},
    {"sup1", 185, "", ""},
    {"sup2", 178, "", ""},
    {"sup3", 179, "", ""},
    {"szlig", 223, "ss", "\xa7"},
    {"thorn", 254, "", ""},
    {"times", 215, "", ""},
    {"uacute", 250, "u", "\x9c"},
    {"ucirc", 251, "u", "\x9e"},
    {"ugrave", 249, "u", "\x9d"},
    {"uml", 168, "", "\xac"},
    {"uuml", 252, "ue", "\x9f"},
    {"yacute", 253, "y", "y"},
    {"yen", 165, "", "\xb4"},
    {"yuml", 255, "y", "\xd8"},
};
constexpr int kEntityCount = static_cast<int>(sizeof kEntities / sizeof kEntities[0]);
static_assert(kEntityCount == 100);

// The longest name; a reference whose ";" lies further away cannot be known.
constexpr size_t kLongestName = 6;

// Bytes FoldToAscii never copies as they are: control bytes, "&", DEL and
// everything above 127.
bool isDropped(unsigned char c) { return c < 32 || c == '&' || c >= 127; }

// Transliteration by Latin-1 code, from the rows that have one.
const std::array<const char*, 256>& reverseIndex() {
  static const std::array<const char*, 256> index = [] {
    std::array<const char*, 256> a{};
    for (const EntityRow& row : kEntities)
      if (row.ascii[0] != '\0') a[static_cast<size_t>(row.code)] = row.ascii;
    return a;
  }();
  return index;
}

// At an "&" at `amp`: the row of a closed reference to a known name, with the
// position after its ";" in `next`; -1 otherwise.
int referenceAt(std::string_view text, size_t amp, size_t& next) {
  size_t nameStart = amp + 1;
  size_t limit = std::min(text.size(), nameStart + kLongestName + 1);
  size_t semi = text.substr(0, limit).find(';', nameStart);
  if (semi == std::string_view::npos) return -1;
  int row = 0;
  if (!FindEntity(text.substr(nameStart, semi - nameStart), row)) return -1;
  next = semi + 1;
  return row;
}

void appendLower(std::string& out, std::string_view piece) {
  for (char c : piece)
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int EntityCount() { return kEntityCount; }

const EntityRow& EntityAt(int row) {
  if (row < 0 || row >= kEntityCount) row = 0;
  return kEntities[row];
}

bool FindEntity(std::string_view name, int& row) {
  int lo = 0;
  int hi = kEntityCount;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    // Unsigned byte order, as the table is sorted.
    int cmp = std::string_view(kEntities[mid].name).compare(name);
    if (cmp == 0) {
      row = mid;
      return true;
    }
    if (cmp < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  row = lo;
  return false;
}

CString DecodeEntities(const CString& s) {
  std::string_view text = s.view();
  if (text.find('&') == std::string_view::npos) return s;
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '&') {
      size_t next = 0;
      int row = referenceAt(text, pos, next);
      if (row >= 0) {
        out += static_cast<char>(kEntities[row].code);
        pos = next;
      } else {
        out += '&';
        ++pos;
      }
      continue;
    }
    size_t amp = text.find('&', pos);
    if (amp == std::string_view::npos) amp = text.size();
    out.append(text.substr(pos, amp - pos));
    pos = amp;
  }
  return CString(std::move(out));
}

CString FoldToAscii(const CString& s) {
  std::string_view text = s.view();
  text = text.substr(0, text.find('\0'));
  const auto& index = reverseIndex();
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c == '&') {
      size_t next = 0;
      int row = referenceAt(text, pos, next);
      if (row >= 0) {
        appendLower(out, kEntities[row].ascii);
        pos = next;
      } else {
        out += '&';
        ++pos;
      }
    } else if (index[c]) {
      appendLower(out, index[c]);
      ++pos;
    } else if (isDropped(c)) {
      ++pos;
    } else {
      size_t end = pos;
      while (end < text.size() && !isDropped(static_cast<unsigned char>(text[end]))) ++end;
      appendLower(out, text.substr(pos, end - pos));
      pos = end;
    }
  }
  return CString(std::move(out));
}
