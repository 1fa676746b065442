// Basic types of the 32-bit Windows API, with the sizes the stored files and
// the wire formats of the client were written with. LONG and DWORD are 32 bits
// on every platform we build for; `long` is not, so no type here uses it.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using UINT = unsigned int;
using BOOL = int;
using BOOLEAN = BYTE;
using CHAR = char;
using UCHAR = unsigned char;
using TCHAR = char;
using WCHAR = char16_t;
using FLOAT = float;
using COLORREF = DWORD;  // 0x00BBGGRR
using ATOM = WORD;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using LPBYTE = BYTE*;
using LPWORD = WORD*;
using LPDWORD = DWORD*;
using LPLONG = LONG*;
using LPINT = int*;
using LPBOOL = BOOL*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define CALLBACK
#define WINAPI
#define APIENTRY
#define PASCAL
#define FAR
#define NEAR

// Handles are opaque pointers to distinct incomplete types, so that one kind
// cannot be passed where another is expected.
#define ZEMRA_DECLARE_HANDLE(name) \
  struct name##__;                 \
  using name = name##__*
ZEMRA_DECLARE_HANDLE(HWND);
ZEMRA_DECLARE_HANDLE(HINSTANCE);
ZEMRA_DECLARE_HANDLE(HCURSOR);
ZEMRA_DECLARE_HANDLE(HICON);
ZEMRA_DECLARE_HANDLE(HMENU);
ZEMRA_DECLARE_HANDLE(HDC);
ZEMRA_DECLARE_HANDLE(HGDIOBJ_);
ZEMRA_DECLARE_HANDLE(HBRUSH);
ZEMRA_DECLARE_HANDLE(HPEN);
ZEMRA_DECLARE_HANDLE(HFONT);
ZEMRA_DECLARE_HANDLE(HBITMAP);
ZEMRA_DECLARE_HANDLE(HPALETTE);
ZEMRA_DECLARE_HANDLE(HRGN);
ZEMRA_DECLARE_HANDLE(HACCEL);
ZEMRA_DECLARE_HANDLE(HRSRC);
#undef ZEMRA_DECLARE_HANDLE
using HANDLE = void*;
using HGLOBAL = HANDLE;
using HLOCAL = HANDLE;
using HFILE = int;
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;

#define HFILE_ERROR ((HFILE)-1)
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;
using LPSIZE = SIZE*;

#pragma pack(push, 1)
// The packed-DIB header as stored in BMP files and global memory blocks.
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
struct RGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(RGBQUAD) == 4);
using LPBITMAPINFOHEADER = BITMAPINFOHEADER*;
using LPBITMAPINFO = BITMAPINFO*;

#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L

#define MAX_PATH 260

#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKEWORD(a, b) ((WORD)(((BYTE)(a)) | ((WORD)((BYTE)(b))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define MAKEINTRESOURCE(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p) ((((UINT_PTR)(p)) >> 16) == 0)
