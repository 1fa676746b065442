#include "mfc/dump_context.h"

#include <ext/stdio_sync_filebuf.h>

#include <cstdio>
#include <ostream>

CDumpContext afxDump;

namespace {

// Standard error as std::cerr writes it (straight through to stdio's
// stderr), made on the first dump. <iostream> is not included: it sets up
// the standard streams and the classic locale in every program that loads
// the library, at its start, though most never dump anything. The stream is
// never destroyed, so that a dump from a destructor at exit still has it.
std::ostream& standardError() {
  static auto* buffer = new __gnu_cxx::stdio_sync_filebuf<char>(stderr);
  static auto* stream = new std::ostream(buffer);
  return *stream;
}

}  // namespace

std::ostream& CDumpContext::out() { return out_ ? *out_ : standardError(); }

CDumpContext& CDumpContext::operator<<(const char* text) {
  out() << (text ? text : "(null)");
  return *this;
}
CDumpContext& CDumpContext::operator<<(const CString& text) {
  out().write(text.c_str(), text.GetLength());
  return *this;
}
CDumpContext& CDumpContext::operator<<(char c) {
  out() << c;
  return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned char n) {
  out() << static_cast<unsigned>(n);
  return *this;
}
CDumpContext& CDumpContext::operator<<(short n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned short n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(int n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned int n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(long n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned long n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(long long n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(unsigned long long n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(double n) {
  out() << n;
  return *this;
}
CDumpContext& CDumpContext::operator<<(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "$%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p)));
  out() << buf;
  return *this;
}
CDumpContext& CDumpContext::operator<<(const CObject* obj) {
  if (!obj) {
    out() << "NULL";
  } else {
    obj->Dump(*this);
  }
  return *this;
}
CDumpContext& CDumpContext::operator<<(const CObject& obj) { return *this << &obj; }

void CDumpContext::HexDump(const char* prefix, const BYTE* bytes, int count, int width) {
  if (!bytes || count <= 0) return;
  if (width <= 0) width = 16;
  for (int i = 0; i < count; ++i) {
    if (i % width == 0) {
      if (i) out() << "\n";
      out() << (prefix ? prefix : "");
    }
    char buf[4];
    std::snprintf(buf, sizeof buf, " %02X", bytes[i]);
    out() << buf;
  }
  out() << "\n";
}

void CDumpContext::Flush() { out().flush(); }
