#include "core/str_helpers.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

std::string lowerCopy(std::string_view s) {
  CString c{std::string(s)};
  c.MakeLower();
  return c.str();
}

// Shared walk of StrReplaceAll and StrReplaceWord: `search` is the text the
// occurrences are looked for in (possibly lower-cased), `keep` the text that
// is copied; both have the same length.
template <class Accept>
std::string replaceWalk(const std::string& keep, const std::string& search, const std::string& from,
                        const std::string& to, Accept accept) {
  std::string out;
  out.reserve(keep.size());
  size_t pos = 0;
  while (pos < keep.size()) {
    size_t hit = search.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(keep, pos, hit - pos);
    if (accept(hit, hit + from.size()))
      out += to;
    else
      out.append(keep, hit, from.size());
    pos = hit + from.size();
  }
  if (pos < keep.size()) out.append(keep, pos, std::string::npos);
  return out;
}

bool nextTokenWith(const CString& s, int& pos, const unsigned char* table, CString& out) {
  const std::string& t = s.str();
  const int length = static_cast<int>(t.size());
  if (pos < 0 || pos >= length) return false;
  int i = pos;
  while (i < length && t[i] != '\0' && table[static_cast<unsigned char>(t[i])]) ++i;
  if (i >= length || t[i] == '\0') return false;
  int end = i;
  while (end < length && t[end] != '\0' && !table[static_cast<unsigned char>(t[end])]) ++end;
  out = CString(t.data() + i, end - i);
  pos = end;
  return true;
}

}  // namespace

int StrFindFrom(const CString& s, int start, const char* sub) {
  if (!sub) return -1;
  const int length = s.GetLength();
  if (start < 0) start = 0;
  if (start > length) start = length;
  size_t hit = s.view().find(sub, static_cast<size_t>(start));
  if (hit == std::string_view::npos) return -1;
  return static_cast<int>(hit + std::strlen(sub));
}

CString StrUpToChar(const CString& s, int start, char c) {
  const int length = s.GetLength();
  if (start > length) return CString();
  if (start < 0) start = 0;
  std::string_view v = s.view().substr(static_cast<size_t>(start));
  size_t hit = v.find(c);
  return CString(v.substr(0, hit));
}

void StrReplaceChar(CString& s, char c, char d) {
  std::string t = s.str();
  for (char& ch : t)
    if (ch == c) ch = d;
  s = CString(std::move(t));
}

void StrNegateBytes(CString& s) {
  std::string t = s.str();
  for (char& ch : t) ch = static_cast<char>((256 - static_cast<unsigned char>(ch)) & 0xFF);
  s = CString(std::move(t));
}

CString& StrReplaceAll(CString& s, const char* from, const char* to, bool ignoreCase) {
  if (s.IsEmpty() || !from || !*from) return s;
  const std::string& keep = s.str();
  std::string search = ignoreCase ? lowerCopy(keep) : keep;
  std::string what = ignoreCase ? lowerCopy(from) : std::string(from);
  s = CString(replaceWalk(keep, search, what, to ? to : "", [](size_t, size_t) { return true; }));
  return s;
}

CString& StrReplaceWord(CString& s, const char* from, const char* to, const char* delimiters,
                        bool ignoreCase) {
  if (s.IsEmpty() || !from || !*from) return s;
  const std::string& keep = s.str();
  std::string search = ignoreCase ? lowerCopy(keep) : keep;
  std::string what = ignoreCase ? lowerCopy(from) : std::string(from);
  std::string delims = delimiters ? std::string(delimiters) : std::string();
  if (ignoreCase) delims = lowerCopy(delims);
  auto isDelim = [&](char c) { return delims.find(c) != std::string::npos; };
  auto standsAlone = [&](size_t begin, size_t end) {
    bool startOk = begin == 0 || isDelim(search[begin - 1]);
    bool endOk = end >= search.size() || isDelim(search[end]);
    return startOk && endOk;
  };
  s = CString(replaceWalk(keep, search, what, to ? to : "", standsAlone));
  return s;
}

bool StrNextField(const CString& s, int& pos, char sep, CString& out) {
  unsigned char table[256] = {};
  table[static_cast<unsigned char>(sep)] = 1;
  return nextTokenWith(s, pos, table, out);
}

bool StrNextTokenSet(const CString& s, int& pos, const unsigned char* table, CString& out) {
  if (!table) return false;
  return nextTokenWith(s, pos, table, out);
}

bool StrNextToken(const CString& s, int& pos, const char* delimiters, CString& out) {
  // Callers walk one text with the same delimiters many times in a row, so the
  // table is kept until another delimiter string comes.
  static unsigned char table[256] = {};
  static std::string cached;
  std::string wanted = delimiters ? delimiters : "";
  if (wanted != cached) {
    for (unsigned char c : cached) table[c] = 0;
    for (unsigned char c : wanted) table[c] = 1;
    cached = wanted;
  }
  return nextTokenWith(s, pos, table, out);
}

CString StrSlice(const CString& s, int a, int b) {
  if (b < a) return CString();
  const int length = s.GetLength();
  if (a < 0) a = 0;
  if (b >= length) b = length - 1;
  if (a > b) return CString();
  return CString(s.view().substr(static_cast<size_t>(a), static_cast<size_t>(b - a + 1)));
}
