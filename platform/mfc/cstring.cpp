#include "mfc/cstring.h"

#include <algorithm>
#include <cstring>

#include "win/kernel.h"

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int compareBytes(const char* a, const char* b) {
  int r = std::strcmp(a ? a : "", b ? b : "");
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

CString::CString(const char* s) {
  // A string-table id passed as a pointer (MAKEINTRESOURCE) loads that
  // string, as MFC's constructor did; it must never be read as text.
  if (s && IS_INTRESOURCE(s)) {
    LoadString(static_cast<UINT>(reinterpret_cast<UINT_PTR>(s)));
    return;
  }
  if (s) s_ = s;
}
CString::CString(const unsigned char* s) : s_(s ? reinterpret_cast<const char*>(s) : "") {}
CString::CString(const char* s, int length) {
  if (s && length > 0) s_.assign(s, static_cast<size_t>(length));
}
CString::CString(char ch, int repeat) {
  if (repeat > 0) s_.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(const char* s) {
  // The source may point into this string's own buffer.
  std::string copy(s ? s : "");
  s_.swap(copy);
  return *this;
}
CString& CString::operator=(const unsigned char* s) {
  return *this = reinterpret_cast<const char*>(s);
}
CString& CString::operator=(char ch) {
  s_.assign(1, ch);
  return *this;
}

char CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return 0;
  return s_[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) return;
  s_[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& s) {
  s_ += s.s_;
  return *this;
}
CString& CString::operator+=(const char* s) {
  if (s) s_.append(std::string(s));  // copy first: s may alias our buffer
  return *this;
}
CString& CString::operator+=(char ch) {
  s_ += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
CString operator+(const CString& a, const char* b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const char* a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}
CString operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(const char* s) const { return compareBytes(s_.c_str(), s); }

int CString::CompareNoCase(const char* s) const {
  int r = _stricmp(s_.c_str(), s ? s : "");
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

CString CString::Mid(int first) const {
  if (first < 0) first = 0;  // also keeps GetLength() - first from overflowing
  return Mid(first, GetLength() - first);
}

CString CString::Mid(int first, int count) const {
  const int len = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > len) return CString();
  if (count > len - first) count = len - first;
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
  if (count < 0) count = 0;
  count = std::min(count, GetLength());
  return CString(s_.substr(0, static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  if (count < 0) count = 0;
  count = std::min(count, GetLength());
  return CString(s_.substr(s_.size() - static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const char* set) const {
  size_t n = std::strspn(s_.c_str(), set ? set : "");
  return CString(s_.substr(0, n));
}

CString CString::SpanExcluding(const char* set) const {
  size_t n = std::strcspn(s_.c_str(), set ? set : "");
  return CString(s_.substr(0, n));
}

void CString::MakeUpper() {
  for (char& c : s_) c = static_cast<char>(win_toupper(static_cast<unsigned char>(c)));
}
void CString::MakeLower() {
  for (char& c : s_) c = static_cast<char>(win_tolower(static_cast<unsigned char>(c)));
}
void CString::MakeReverse() { std::reverse(s_.begin(), s_.end()); }

void CString::TrimLeft() {
  size_t i = 0;
  while (i < s_.size() && isSpace(s_[i])) ++i;
  s_.erase(0, i);
}
void CString::TrimRight() {
  size_t n = s_.size();
  while (n > 0 && isSpace(s_[n - 1])) --n;
  s_.resize(n);
}
void CString::TrimLeft(char ch) {
  size_t i = 0;
  while (i < s_.size() && s_[i] == ch) ++i;
  s_.erase(0, i);
}
void CString::TrimRight(char ch) {
  size_t n = s_.size();
  while (n > 0 && s_[n - 1] == ch) --n;
  s_.resize(n);
}
void CString::TrimLeft(const char* set) {
  if (!set) return;
  size_t i = 0;
  while (i < s_.size() && s_[i] && std::strchr(set, s_[i])) ++i;
  s_.erase(0, i);
}
void CString::TrimRight(const char* set) {
  if (!set) return;
  size_t n = s_.size();
  while (n > 0 && s_[n - 1] && std::strchr(set, s_[n - 1])) --n;
  s_.resize(n);
}

int CString::Replace(char from, char to) {
  int n = 0;
  for (char& c : s_)
    if (c == from) {
      c = to;
      ++n;
    }
  return n;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  const std::string f(from), t(to ? to : "");
  std::string out;
  int n = 0;
  size_t pos = 0;
  for (;;) {
    size_t hit = s_.find(f, pos);
    if (hit == std::string::npos) break;
    out.append(s_, pos, hit - pos);
    out += t;
    pos = hit + f.size();
    ++n;
  }
  if (n == 0) return 0;
  out.append(s_, pos, std::string::npos);
  s_.swap(out);
  return n;
}

int CString::Remove(char ch) {
  size_t before = s_.size();
  s_.erase(std::remove(s_.begin(), s_.end(), ch), s_.end());
  return static_cast<int>(before - s_.size());
}

int CString::Insert(int index, char ch) {
  index = std::clamp(index, 0, GetLength());
  s_.insert(static_cast<size_t>(index), 1, ch);
  return GetLength();
}
int CString::Insert(int index, const char* s) {
  index = std::clamp(index, 0, GetLength());
  s_.insert(static_cast<size_t>(index), std::string(s ? s : ""));
  return GetLength();
}
int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

// Searches stop at the first NUL, as on a C string.
int CString::Find(char ch) const { return Find(ch, 0); }
int CString::Find(const char* sub) const { return Find(sub, 0); }

int CString::Find(char ch, int start) const {
  const char* base = s_.c_str();
  size_t len = std::strlen(base);
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > len) return -1;
  const char* p = std::strchr(base + start, ch);
  return p ? static_cast<int>(p - base) : -1;
}

int CString::Find(const char* sub, int start) const {
  const char* base = s_.c_str();
  size_t len = std::strlen(base);
  if (start < 0) start = 0;
  if (static_cast<size_t>(start) > len) return -1;
  const char* p = std::strstr(base + start, sub ? sub : "");
  return p ? static_cast<int>(p - base) : -1;
}

int CString::ReverseFind(char ch) const {
  const char* base = s_.c_str();
  const char* p = std::strrchr(base, ch);
  return p ? static_cast<int>(p - base) : -1;
}

int CString::FindOneOf(const char* set) const {
  const char* base = s_.c_str();
  size_t n = std::strcspn(base, set ? set : "");
  return base[n] ? static_cast<int>(n) : -1;
}

void CString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

void CString::FormatV(const char* fmt, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = win_vsnprintf(nullptr, 0, fmt ? fmt : "", copy);
  va_end(copy);
  if (n < 0) {
    s_.clear();
    return;
  }
  std::string out(static_cast<size_t>(n) + 1, '\0');
  win_vsnprintf(out.data(), out.size(), fmt ? fmt : "", args);
  out.resize(static_cast<size_t>(n));
  s_.swap(out);
}

void CString::Format(UINT formatId, ...) {
  CString fmt;
  fmt.LoadString(formatId);
  va_list args;
  va_start(args, formatId);
  FormatV(fmt, args);
  va_end(args);
}

BOOL CString::LoadString(UINT id) {
  const char* s = win_string_resource(id);
  if (!s) {
    s_.clear();
    return FALSE;
  }
  s_ = s;
  return TRUE;
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
  return s_.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(strnlen(s_.data(), s_.size()));
  if (newLength > GetLength()) newLength = GetLength();
  s_.resize(static_cast<size_t>(newLength));
}

char* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  s_.resize(static_cast<size_t>(length));
  return s_.data();
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }
