// CString with the semantics the client's code relies on: a byte string that
// may hold NUL bytes, converts to a C string, clamps out-of-range substring
// requests instead of failing, and formats with the Win32 meaning of %ld.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "win/types.h"

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  // Null gives the empty string; a string-table id made a pointer with
  // MAKEINTRESOURCE gives that string (empty when the id is unknown).
  CString(const char* s);
  CString(const unsigned char* s);
  CString(const char* s, int length);  // exactly `length` bytes (NULs kept)
  CString(char ch, int repeat = 1);
  explicit CString(std::string s) : s_(std::move(s)) {}
  explicit CString(std::string_view s) : s_(s) {}

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* s);
  CString& operator=(const unsigned char* s);
  CString& operator=(char ch);

  // ---- Size and elements
  int GetLength() const { return static_cast<int>(s_.size()); }
  BOOL IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  char GetAt(int index) const;  // 0 for an index outside the string
  char operator[](int index) const { return GetAt(index); }
  void SetAt(int index, char ch);  // ignored outside the string
  operator const char*() const { return s_.c_str(); }
  const char* c_str() const { return s_.c_str(); }
  const std::string& str() const { return s_; }
  std::string_view view() const { return s_; }

  // ---- Concatenation
  CString& operator+=(const CString& s);
  CString& operator+=(const char* s);
  CString& operator+=(char ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);

  // ---- Comparison (byte-wise, unsigned, up to the first NUL as strcmp)
  int Compare(const char* s) const;
  int CompareNoCase(const char* s) const;
  int Collate(const char* s) const { return Compare(s); }

  // ---- Extraction; out-of-range requests are clamped to the string
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* set) const;
  CString SpanExcluding(const char* set) const;

  // ---- Changing case and trimming
  void MakeUpper();  // Windows upper-casing of Latin-1
  void MakeLower();
  void MakeReverse();
  void TrimLeft();   // white space
  void TrimRight();
  void TrimLeft(char ch);
  void TrimRight(char ch);
  void TrimLeft(const char* set);
  void TrimRight(const char* set);
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, const char* s);
  int Delete(int index, int count = 1);

  // ---- Searching; -1 when not found
  int Find(char ch) const;
  int Find(const char* sub) const;
  int Find(char ch, int start) const;
  int Find(const char* sub, int start) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* set) const;

  // ---- Formatting (%ld, %lx and friends are 32-bit, as on Win32)
  void Format(const char* fmt, ...);
  void FormatV(const char* fmt, va_list args);
  void Format(UINT formatId, ...);

  // ---- String table
  BOOL LoadString(UINT id);

  // ---- Raw buffer access
  // GetBuffer keeps the content and gives room for at least minLength
  // characters plus a NUL; ReleaseBuffer(-1) ends the string at the first NUL.
  char* GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);
  char* GetBufferSetLength(int length);
  void FreeExtra() { s_.shrink_to_fit(); }
  char* LockBuffer() { return s_.data(); }
  void UnlockBuffer() {}

 private:
  std::string s_;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);
