// CDumpContext: where diagnostic dumps of objects go. afxDump writes to
// standard error.
#pragma once

#include <iosfwd>

#include "mfc/cstring.h"
#include "mfc/object.h"

class CDumpContext {
 public:
  // A context writing to `out`; null means standard error.
  constexpr explicit CDumpContext(std::ostream* out = nullptr) : out_(out) {}
  CDumpContext(const CDumpContext&) = delete;
  CDumpContext& operator=(const CDumpContext&) = delete;

  // How deep Dump implementations descend into contained objects.
  int GetDepth() const { return depth_; }
  void SetDepth(int depth) { depth_ = depth; }

  CDumpContext& operator<<(const char* text);  // null prints "(null)"
  CDumpContext& operator<<(const CString& text);
  CDumpContext& operator<<(char c);
  CDumpContext& operator<<(unsigned char n);  // BYTE, as a number
  CDumpContext& operator<<(short n);
  CDumpContext& operator<<(unsigned short n);
  CDumpContext& operator<<(int n);
  CDumpContext& operator<<(unsigned int n);
  CDumpContext& operator<<(long n);
  CDumpContext& operator<<(unsigned long n);
  CDumpContext& operator<<(long long n);
  CDumpContext& operator<<(unsigned long long n);
  CDumpContext& operator<<(double n);
  CDumpContext& operator<<(const void* p);  // "$" and hex digits, as handles
  CDumpContext& operator<<(const CObject* obj);  // its Dump, or "NULL"
  CDumpContext& operator<<(const CObject& obj);

  // Bytes in hex, `width` per line, each line starting with `prefix`.
  void HexDump(const char* prefix, const BYTE* bytes, int count, int width);
  void Flush();

 private:
  std::ostream& out();

  std::ostream* out_;
  int depth_ = 0;
};

extern CDumpContext afxDump;
