// Little-endian numbers on raw file handles and on byte cursors.
#pragma once

#include "win/types.h"

// Which API a handle belongs to: a POSIX descriptor of the runtime library,
// or a Windows file handle of the _l* functions.
enum class HandleKind { Runtime, Windows };

// Each is false when the full number could not be read or written; `out` is
// then left alone.
bool readByte(int handle, BYTE& out, HandleKind kind);
bool readShortLE(int handle, WORD& out, HandleKind kind);
bool readLongLE(int handle, DWORD& out, HandleKind kind);
bool writeShortLE(int handle, WORD value, HandleKind kind);
bool writeLongLE(int handle, DWORD value, HandleKind kind);

// Byte cursors: read or write at `p` and advance it. The caller guarantees
// the room (1, 2 or 4 bytes). The put functions return the bytes written.
BYTE getByte(const BYTE*& p);
WORD getShortLE(const BYTE*& p);
DWORD getLongLE(const BYTE*& p);
inline BYTE getByte(BYTE*& p) { return getByte(const_cast<const BYTE*&>(p)); }
inline WORD getShortLE(BYTE*& p) { return getShortLE(const_cast<const BYTE*&>(p)); }
inline DWORD getLongLE(BYTE*& p) { return getLongLE(const_cast<const BYTE*&>(p)); }
int putByte(BYTE*& p, BYTE value);
int putShortLE(BYTE*& p, WORD value);
int putLongLE(BYTE*& p, DWORD value);
