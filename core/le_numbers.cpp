#include "core/le_numbers.h"

#include <unistd.h>

#include "win/kernel.h"

namespace {

bool readExactly(int handle, BYTE* buffer, UINT n, HandleKind kind) {
  if (kind == HandleKind::Windows) return _lread(handle, buffer, n) == n;
  ssize_t got = ::read(handle, buffer, n);
  return got == static_cast<ssize_t>(n);
}

bool writeExactly(int handle, const BYTE* buffer, UINT n, HandleKind kind) {
  if (kind == HandleKind::Windows)
    return _lwrite(handle, reinterpret_cast<const char*>(buffer), n) == n;
  ssize_t put = ::write(handle, buffer, n);
  return put == static_cast<ssize_t>(n);
}

}  // namespace

bool readByte(int handle, BYTE& out, HandleKind kind) {
  BYTE b[1];
  if (!readExactly(handle, b, 1, kind)) return false;
  out = b[0];
  return true;
}

bool readShortLE(int handle, WORD& out, HandleKind kind) {
  BYTE b[2];
  if (!readExactly(handle, b, 2, kind)) return false;
  out = static_cast<WORD>(b[0] | (b[1] << 8));
  return true;
}

bool readLongLE(int handle, DWORD& out, HandleKind kind) {
  BYTE b[4];
  if (!readExactly(handle, b, 4, kind)) return false;
  out = static_cast<DWORD>(b[0]) | (static_cast<DWORD>(b[1]) << 8) |
        (static_cast<DWORD>(b[2]) << 16) | (static_cast<DWORD>(b[3]) << 24);
  return true;
}

bool writeShortLE(int handle, WORD value, HandleKind kind) {
  BYTE b[2] = {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>(value >> 8)};
  return writeExactly(handle, b, 2, kind);
}

bool writeLongLE(int handle, DWORD value, HandleKind kind) {
  BYTE b[4] = {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF),
               static_cast<BYTE>((value >> 16) & 0xFF), static_cast<BYTE>(value >> 24)};
  return writeExactly(handle, b, 4, kind);
}

BYTE getByte(const BYTE*& p) { return *p++; }

WORD getShortLE(const BYTE*& p) {
  WORD v = static_cast<WORD>(p[0] | (p[1] << 8));
  p += 2;
  return v;
}

DWORD getLongLE(const BYTE*& p) {
  DWORD v = static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) |
            (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[3]) << 24);
  p += 4;
  return v;
}

int putByte(BYTE*& p, BYTE value) {
  *p++ = value;
  return 1;
}

int putShortLE(BYTE*& p, WORD value) {
  p[0] = static_cast<BYTE>(value & 0xFF);
  p[1] = static_cast<BYTE>(value >> 8);
  p += 2;
  return 2;
}

int putLongLE(BYTE*& p, DWORD value) {
  p[0] = static_cast<BYTE>(value & 0xFF);
  p[1] = static_cast<BYTE>((value >> 8) & 0xFF);
  p[2] = static_cast<BYTE>((value >> 16) & 0xFF);
  p[3] = static_cast<BYTE>(value >> 24);
  p += 4;
  return 4;
}
