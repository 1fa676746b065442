// Pixolt: the shared library of device-independent-bitmap (DIB) functions
// that the client and the converter plug-ins call.
//
// A DIB handle is a moveable global memory block (GHND) holding one packed
// DIB: the 40-byte BITMAPINFOHEADER, the colour table (N entries of blue,
// green, red, 0; N = biClrUsed, else 2^biBitCount below 24 bits, else 0) and
// the pixel rows, bottom-up, each padded to a multiple of four bytes; 1, 4, 8
// or 24 bits per pixel. Every function that returns a DIB handle, palette or
// bitmap returns a new object that belongs to the caller (free DIBs with
// GlobalFree); handles passed in are read and left unchanged, except that the
// readers grow the block they are given and return it. A block whose header
// claims more than the block holds is refused, never read past.
//
// Failures show a task-modal warning box captioned "Pixolt.DLL" whose text
// is the operation's name, ": " and a German reason, then return 0 or null;
// the information and drawing calls and the XBM readers fail silently.
//
// The functions are plain C exports, linked directly or bound at run time by
// ordinal (GetProcAddress(lib, MAKEINTRESOURCE(PIXOLT_ORD_...))).
#pragma once

#include "win/gdi.h"
#include "win/types.h"

#define PIXOLT_EXPORT extern "C" __attribute__((visibility("default")))

// ---- Ordinals ----------------------------------------------------------------
#define PIXOLT_ORD_WEP 1
#define PIXOLT_ORD_GetDIBWidth 2
#define PIXOLT_ORD_GetDIBHeight 3
#define PIXOLT_ORD_GetDIBBitPerPixel 4
#define PIXOLT_ORD_GetColorsInPalette 5
#define PIXOLT_ORD_CreateDIBPalette 6
#define PIXOLT_ORD_DrawDIB 7
#define PIXOLT_ORD_StretchDIB 8
#define PIXOLT_ORD_DrawDDB 9
#define PIXOLT_ORD_StretchDDB 10
#define PIXOLT_ORD_IsBMPFile 11
#define PIXOLT_ORD_ReadDIB 12
#define PIXOLT_ORD_WriteDIB 13
#define PIXOLT_ORD_DIBtoDDB 14
#define PIXOLT_ORD_DDBtoDIB 15
#define PIXOLT_ORD_CopyDIB 16
#define PIXOLT_ORD_CropDIB 17
#define PIXOLT_ORD_RLEtoDIB 18
#define PIXOLT_ORD_GrayDIB 19
#define PIXOLT_ORD_ReduceColors 21
#define PIXOLT_ORD_DIBGetVersion 22
#define PIXOLT_ORD_SmallSizeDIB 24
#define PIXOLT_ORD_DIB1To4 25
#define PIXOLT_ORD_DIB1To8 26
#define PIXOLT_ORD_DIB1To24 27
#define PIXOLT_ORD_DIB4To8 28
#define PIXOLT_ORD_DIB4To24 29
#define PIXOLT_ORD_DIB8To24 30
#define PIXOLT_ORD_DIB4To1 31
#define PIXOLT_ORD_DIB8To1 32
#define PIXOLT_ORD_DIB8To4 33
#define PIXOLT_ORD_DIB24To1 34
#define PIXOLT_ORD_DIB24To4 35
#define PIXOLT_ORD_DIB24To8 36
#define PIXOLT_ORD_ReduceIT 37
#define PIXOLT_ORD_ReadXbm 38
#define PIXOLT_ORD_ReadMemDIB 39
#define PIXOLT_ORD_ReadMemXbm 40
#define PIXOLT_ORD_ReadMemDIBEx 41
#define PIXOLT_ORD_DlgConversion 91

// Version of the library as DIBGetVersion answers it.
#define PIXOLT_VERSION 0x0400

// ReduceColors flags.
#define PIXOLT_REDUCE_DITHER 0x1
#define PIXOLT_REDUCE_MEDIANCUT 0x2

// Dialog templates of the library's own resources: the progress dialog of
// the colour reduction (with DlgConversion) and the short percentage box.
#define PIXOLT_DLG_CONVERSION 200
#define PIXOLT_DLG_PERCENTAGE 6000
#define PIXOLT_IDC_VERSION 201
#define PIXOLT_IDC_PERCENT 202
#define PIXOLT_IDC_STEP 203
#define PIXOLT_IDC_PERCENTAGE 1000

// ---- Information and drawing (silent on failure) ------------------------------
PIXOLT_EXPORT int WEP(int reserved);                  // 1
PIXOLT_EXPORT LONG GetDIBWidth(HGLOBAL dib);          // 0 for null
PIXOLT_EXPORT LONG GetDIBHeight(HGLOBAL dib);         // 0 for null
PIXOLT_EXPORT DWORD GetDIBBitPerPixel(HGLOBAL dib);   // 0 for null
// N of a locked header (not a handle).
PIXOLT_EXPORT DWORD GetColorsInPalette(const BITMAPINFOHEADER* header);
PIXOLT_EXPORT WORD DIBGetVersion();                   // 0x0400
PIXOLT_EXPORT LONG ReduceIT(LONG value);              // value
// A palette of the colour table; a 24-bit DIB without one gets a colour cube
// of 8 x 8 x 4 levels. Null for null, OS/2 headers and tables of 0 entries.
PIXOLT_EXPORT HPALETTE CreateDIBPalette(HGLOBAL dib);
PIXOLT_EXPORT BOOL DrawDIB(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y);
PIXOLT_EXPORT BOOL StretchDIB(HDC dc, HGLOBAL dib, HPALETTE palette, int x, int y, int width,
                              int height);
PIXOLT_EXPORT BOOL DrawDDB(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y);
PIXOLT_EXPORT BOOL StretchDDB(HDC dc, HBITMAP bitmap, HPALETTE palette, int x, int y, int width,
                              int height);

// ---- BMP and XBM ---------------------------------------------------------------
// The readers grow `block` (a GHND block, 44 bytes will do) into the DIB and
// return it; on failure they return null and the block stays the caller's.
// BMP: 40-byte and OS/2 12-byte headers; 1, 4, 8 and 24 bits; RLE8 and RLE4
// are kept compressed (see RLEtoDIB); top-down files come back bottom-up.
PIXOLT_EXPORT BOOL IsBMPFile(LPCSTR fileName);
PIXOLT_EXPORT HGLOBAL ReadDIB(LPCSTR fileName, HGLOBAL block);
// A BMP file image in memory. Without a size the image must be whole; when
// `image` is the start of a global memory block, the block's size bounds it.
PIXOLT_EXPORT HGLOBAL ReadMemDIB(const void* image, HGLOBAL block);
// The same with the image's size in bytes: nothing beyond it is read.
PIXOLT_EXPORT HGLOBAL ReadMemDIBEx(const void* image, DWORD size, HGLOBAL block);
PIXOLT_EXPORT BOOL WriteDIB(LPCSTR fileName, HGLOBAL dib);
// 1-bit DIBs, colour 0 white and 1 black (set XBM bits).
PIXOLT_EXPORT HGLOBAL ReadXbm(LPCSTR fileName, HGLOBAL block);
PIXOLT_EXPORT HGLOBAL ReadMemXbm(const char* text, DWORD length, HGLOBAL block);

// ---- Copy, crop, RLE, grey, half size, device bitmaps ------------------------------
PIXOLT_EXPORT HGLOBAL CopyDIB(HGLOBAL dib);
// x, width in columns; y, height in stored rows (y = 0 is the bottom row).
// Parts of the rectangle outside the DIB stay 0.
PIXOLT_EXPORT HGLOBAL CropDIB(HGLOBAL dib, UINT x, UINT y, UINT width, UINT height);
PIXOLT_EXPORT HGLOBAL RLEtoDIB(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL GrayDIB(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL SmallSizeDIB(HGLOBAL dib);
PIXOLT_EXPORT HBITMAP DIBtoDDB(HGLOBAL dib, HPALETTE palette);
// bitCount 0: the bitmap's planes x bits per pixel.
PIXOLT_EXPORT HGLOBAL DDBtoDIB(HBITMAP bitmap, HPALETTE palette, WORD bitCount, DWORD compression);

// ---- Bit-depth conversion ------------------------------------------------------------
PIXOLT_EXPORT HGLOBAL DIB1To4(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB1To8(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB1To24(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB4To8(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB4To24(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB8To24(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB4To1(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB8To1(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB8To4(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB24To1(HGLOBAL dib);
PIXOLT_EXPORT HGLOBAL DIB24To4(HGLOBAL dib);
// grey != 0: a grey ramp; 0: ReduceColors(dib, 8, dither | median cut).
PIXOLT_EXPORT HGLOBAL DIB24To8(HGLOBAL dib, BOOL grey);

// ---- Colour reduction ----------------------------------------------------------------
// A new 8-bit DIB (256 entries) of at most 2^nBPP colours (nBPP <= 8) of a
// 24-bit DIB; flags PIXOLT_REDUCE_DITHER and PIXOLT_REDUCE_MEDIANCUT (else
// popularity).
PIXOLT_EXPORT HGLOBAL ReduceColors(HGLOBAL dib, UINT nBPP, UINT flags);
// Dialog procedure of the progress dialog (template 200).
PIXOLT_EXPORT INT_PTR DlgConversion(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Attaching the progress dialog (not exports by ordinal) ------------------------
// The library's resource module (its dialog templates 200 and 6000). A
// caller that wants to see a reduction's progress makes the modeless dialog
// CreateDialog(pixolt::ResourceModule(), MAKEINTRESOURCE(200), owner,
// DlgConversion) and attaches it: the next reduction fills in its step
// (203) and percentage (202) and destroys it when it ends.
namespace pixolt {
__attribute__((visibility("default"))) HINSTANCE ResourceModule();
__attribute__((visibility("default"))) void SetProgressWindow(HWND window);
}  // namespace pixolt
