// GDI services of our Win32 layer: device contexts, drawing objects, regions,
// raster operations, bitmaps, palettes, DIB drawing, and the text functions.
//
// Everything draws in software on 32-bit BGRX framebuffers, so a picture is
// the same pixel for pixel headless and on X11. Only MM_TEXT is a mapping
// mode here (one logical unit is one pixel); the display reports 96 pixels
// per inch. Handles are small tagged numbers: a handle of the wrong kind, a
// deleted one or garbage gives a failure result, never a crash.
//
// The display reports 24 bits per pixel unless ZEMRA_DISPLAY_BPP (8, 4 or 24)
// said otherwise at start or win::SetDisplayBitsPerPixel was called. At 8 or
// 4 bits the display behaves as a palette device: every colour drawn becomes
// the nearest colour of the system palette (the static colours plus the
// realised logical palette), and raster operations work on palette indexes.
#pragma once

#include <cstdint>

#include "win/types.h"

// ---- Colours ------------------------------------------------------------------
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR ((HANDLE)(intptr_t)-1)
#define PALETTEINDEX(i) ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))

// ---- Stock objects --------------------------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// GetObjectType results.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_METADC 4
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METAFILE 9
#define OBJ_MEMDC 10
#define OBJ_EXTPEN 11

// ---- Raster operations ----------------------------------------------------------
// Ternary operations (BitBlt, StretchBlt, PatBlt, StretchDIBits): bits 16-23
// are the truth table over pattern (bit weight 4), source (2), destination (1).
#define SRCCOPY 0x00CC0020UL
#define SRCPAINT 0x00EE0086UL
#define SRCAND 0x008800C6UL
#define SRCINVERT 0x00660046UL
#define SRCERASE 0x00440328UL
#define NOTSRCCOPY 0x00330008UL
#define NOTSRCERASE 0x001100A6UL
#define MERGECOPY 0x00C000CAUL
#define MERGEPAINT 0x00BB0226UL
#define PATCOPY 0x00F00021UL
#define PATPAINT 0x00FB0A09UL
#define PATINVERT 0x005A0049UL
#define DSTINVERT 0x00550009UL
#define BLACKNESS 0x00000042UL
#define WHITENESS 0x00FF0062UL

// Binary operations of pens and brushes (SetROP2).
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

// ---- Modes -------------------------------------------------------------------------
#define TRANSPARENT 1
#define OPAQUE 2

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define ALTERNATE 1
#define WINDING 2

#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// Text alignment (SetTextAlign).
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_MASK (TA_BASELINE | TA_CENTER | TA_UPDATECP)

// ExtTextOut options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_RTLREADING 0x00020000
#define DT_WORD_ELLIPSIS 0x00040000

// ---- Pens and brushes ---------------------------------------------------------------
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6

// Hatch styles. 6 to 9 are accepted and paint solid in the brush colour.
#define HS_HORIZONTAL 0  // -----
#define HS_VERTICAL 1    // |||||
#define HS_FDIAGONAL 2   // \\\\\ .
#define HS_BDIAGONAL 3   // /////
#define HS_CROSS 4       // +++++
#define HS_DIAGCROSS 5   // xxxxx

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // x is the width; y is not used
  COLORREF lopnColor;
};
struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  UINT_PTR lbHatch;  // hatch style, or the HBITMAP of a BS_PATTERN brush
};
struct EXTLOGPEN {
  DWORD elpPenStyle;
  DWORD elpWidth;
  UINT elpBrushStyle;
  COLORREF elpColor;
  UINT_PTR elpHatch;
  DWORD elpNumEntries;
  DWORD elpStyleEntry[1];
};
using LPLOGPEN = LOGPEN*;
using LPLOGBRUSH = LOGBRUSH*;

// ---- Bitmaps -----------------------------------------------------------------------
struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;  // bytes per row, a multiple of 2 (device-bitmap rows)
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;  // always null: device bitmaps are read with GetBitmapBits
};
using LPBITMAP = BITMAP*;

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04L

// Largest bitmap and DIB we make or read: either side, and the pixel bytes.
#define ZEMRA_GDI_MAX_SIDE 16384
#define ZEMRA_GDI_MAX_BYTES (256u * 1024u * 1024u)

// ---- Palettes ------------------------------------------------------------------------
#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04

#define SYSPAL_ERROR 0
#define SYSPAL_STATIC 1
#define SYSPAL_NOSTATIC 2
#define SYSPAL_NOSTATIC256 3

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};
struct LOGPALETTE {
  WORD palVersion;  // 0x300
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};
using LPPALETTEENTRY = PALETTEENTRY*;
using LPLOGPALETTE = LOGPALETTE*;

// ---- Fonts ------------------------------------------------------------------------------
#define LF_FACESIZE 32
#define LF_FULLFACESIZE 64

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define SHIFTJIS_CHARSET 128
#define HANGUL_CHARSET 129
#define OEM_CHARSET 255

#define OUT_DEFAULT_PRECIS 0
#define OUT_STRING_PRECIS 1
#define OUT_CHARACTER_PRECIS 2
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define OUT_DEVICE_PRECIS 5
#define OUT_RASTER_PRECIS 6
#define OUT_TT_ONLY_PRECIS 7
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define CLIP_STROKE_PRECIS 2
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4

#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

// EnumFontFamilies font types and TEXTMETRIC pitch bits.
#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004
#define TMPF_FIXED_PITCH 0x01  // set for a variable-pitch font (sic)
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define TMPF_DEVICE 0x08

struct LOGFONT {
  LONG lfHeight;  // < 0: character height in pixels; > 0: cell height
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
};
using LPLOGFONT = LOGFONT*;

struct TEXTMETRIC {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
using LPTEXTMETRIC = TEXTMETRIC*;

// What EnumFontFamilies hands to its callback: a LOGFONT and a TEXTMETRIC
// at the start of these, so a callback written for either form works.
struct ENUMLOGFONT {
  LOGFONT elfLogFont;
  CHAR elfFullName[LF_FULLFACESIZE];
  CHAR elfStyle[LF_FACESIZE];
};
struct NEWTEXTMETRIC {
  TEXTMETRIC tm;
  DWORD ntmFlags;
  UINT ntmSizeEM;
  UINT ntmCellHeight;
  UINT ntmAvgWidth;
};
using FONTENUMPROC = int (*)(const LOGFONT*, const TEXTMETRIC*, DWORD fontType, LPARAM);

// ---- Regions -------------------------------------------------------------------------------
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR

#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// SetBoundsRect / GetBoundsRect.
#define DCB_RESET 0x0001
#define DCB_ACCUMULATE 0x0002
#define DCB_DIRTY DCB_ACCUMULATE
#define DCB_SET (DCB_RESET | DCB_ACCUMULATE)
#define DCB_ENABLE 0x0004
#define DCB_DISABLE 0x0008

// ---- Device capabilities ---------------------------------------------------------------------
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMMARKERS 20
#define NUMFONTS 22
#define NUMCOLORS 24
#define PDEVICESIZE 26
#define CURVECAPS 28
#define LINECAPS 30
#define POLYGONALCAPS 32
#define TEXTCAPS 34
#define CLIPCAPS 36
#define RASTERCAPS 38
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define SCALINGFACTORX 114
#define SCALINGFACTORY 115

#define DT_PLOTTER 0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_RASCAMERA 3
#define DT_CHARSTREAM 4
#define DT_METAFILE 5
#define DT_DISPFILE 6

#define RC_BITBLT 0x0001
#define RC_BANDING 0x0002
#define RC_SCALING 0x0004
#define RC_BITMAP64 0x0008
#define RC_GDI20_OUTPUT 0x0010
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_BIGFONT 0x0400
#define RC_STRETCHBLT 0x0800
#define RC_FLOODFILL 0x1000
#define RC_STRETCHDIB 0x2000

// ---- Edges (DrawEdge) --------------------------------------------------------------------------
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define BDR_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define BDR_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_TOPRIGHT (BF_TOP | BF_RIGHT)
#define BF_BOTTOMLEFT (BF_BOTTOM | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

// ---- System colours (GetSysColor) ---------------------------------------------------------------
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_BTNSHADOW 16
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24

// ---- Printing ----------------------------------------------------------------------------------------
struct DOCINFO {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;
  LPCSTR lpszDatatype;
  DWORD fwType;
};
#define SP_ERROR (-1)

// =====================================================================================================
// Device contexts
// =====================================================================================================
// GetDC(null) and CreateDC("DISPLAY", ...) draw on the whole screen. A window
// DC comes from the window system (see platform/gdi/window_dc.h); without one
// registered, GetDC of a window gives null. GetDC and GetWindowDC contexts are
// given back with ReleaseDC; the others are deleted with DeleteDC.
//
// CreateDC(driver, device, output, init):
//   "DISPLAY" (any case): the screen.
//   "DIB": a context that draws into the packed DIB (40-byte header, colour
//     table, bits) at `init`, which must stay valid and locked until DeleteDC;
//     the drawing reaches the DIB's bits at DeleteDC (colours become the
//     nearest entry of its colour table below 24 bits).
//   anything else (a printer name, "WINSPOOL"): a printer page of the
//     installed printer description (win::gdi::SetPrinterProvider); without
//     one, a placeholder of 8.5 x 11 inches at 300 dpi.
HDC GetDC(HWND wnd);
HDC GetWindowDC(HWND wnd);
int ReleaseDC(HWND wnd, HDC dc);
HDC CreateCompatibleDC(HDC dc);  // null: compatible with the screen; a 1x1 monochrome bitmap
HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);               // the new depth (1, 2, ...), 0 on failure
BOOL RestoreDC(HDC dc, int saved);  // saved > 0: that level; < 0: relative to the top
int GetDeviceCaps(HDC dc, int index);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
DWORD GetObjectType(HGDIOBJ obj);
HWND WindowFromDC(HDC dc);

int SetMapMode(HDC dc, int mode);  // only MM_TEXT; others fail (0)
int GetMapMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetViewportOrgEx(HDC dc, LPPOINT out);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetWindowOrgEx(HDC dc, LPPOINT out);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT old);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old);  // kept, has no effect in MM_TEXT
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL GetViewportExtEx(HDC dc, LPSIZE out);
BOOL GetWindowExtEx(HDC dc, LPSIZE out);
BOOL LPtoDP(HDC dc, LPPOINT pts, int count);
BOOL DPtoLP(HDC dc, LPPOINT pts, int count);
BOOL GetDCOrgEx(HDC dc, LPPOINT out);  // the drawing area's corner on its surface

// ---- Drawing objects ---------------------------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);  // copies the bitmap
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                 DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                 DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                 LPCSTR face);
HFONT CreateFontIndirect(const LOGFONT* font);
HGDIOBJ GetStockObject(int index);
// SelectObject gives the previous object of that kind; for a region it
// selects a copy as the clip region and gives the region type (as an
// HGDIOBJ-sized number). A bitmap can be in one memory DC at a time.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
// Stock objects are never deleted (TRUE, nothing happens); an object that a
// DC has selected is not deleted (FALSE).
BOOL DeleteObject(HGDIOBJ obj);
int GetObject(HGDIOBJ obj, int size, LPVOID out);  // bytes written; size 0 or out null: bytes needed
BOOL UnrealizeObject(HGDIOBJ obj);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetBrushOrgEx(HDC dc, LPPOINT out);

// ---- Attributes ----------------------------------------------------------------------------------------
COLORREF SetTextColor(HDC dc, COLORREF color);  // the previous colour; CLR_INVALID on failure
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);  // the previous mode; 0 on failure
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);  // the previous alignment; GDI_ERROR on failure
UINT GetTextAlign(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);  // every mode samples the nearest pixel
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);

// ---- Lines and shapes ------------------------------------------------------------------------------------
// Lines leave out their last point. Shapes take the rectangle's right and
// bottom as outside, and are outlined with the pen and filled with the brush.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT out);
BOOL Polyline(HDC dc, const POINT* pts, int count);
BOOL PolylineTo(HDC dc, const POINT* pts, DWORD count);
BOOL Polygon(HDC dc, const POINT* pts, int count);
BOOL PolyPolygon(HDC dc, const POINT* pts, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);  // PATCOPY, whatever the ROP2
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);  // the colour set; -1 outside the clip
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);  // CLR_INVALID outside the clip
BOOL DrawFocusRect(HDC dc, const RECT* rect);  // dotted, exclusive-or: twice restores
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);

// ---- Regions and clipping -----------------------------------------------------------------------------
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);  // region type or ERROR; b unused for RGN_COPY
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, LPRECT out);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL PaintRgn(HDC dc, HRGN rgn);  // with the selected brush and the ROP2
BOOL InvertRgn(HDC dc, HRGN rgn);
// The clip region of a DC is kept in device coordinates; region arguments are
// device coordinates too (as in Windows), rectangle arguments logical ones.
int SelectClipRgn(HDC dc, HRGN rgn);  // null: no clip region
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, LPRECT out);  // logical; what can be drawn on
int GetClipRgn(HDC dc, HRGN out);    // 1 with a clip region, 0 without, -1 on failure
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);
UINT SetBoundsRect(HDC dc, const RECT* rect, UINT flags);
UINT GetBoundsRect(HDC dc, LPRECT out, UINT flags);

// ---- Block transfers -------------------------------------------------------------------------------
// A monochrome source on a colour destination: 0 bits take the destination's
// text colour, 1 bits its background colour. A colour source on a monochrome
// destination: pixels of the source DC's background colour become 1 (white),
// all others 0 (black). Stretching samples the nearest source pixel.
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);

// ---- Device-independent bitmaps ---------------------------------------------------------------------
// Packed DIBs of 1, 4, 8, 16, 24 or 32 bits (BI_RGB, BI_BITFIELDS for 16 and
// 32, BI_RLE8 and BI_RLE4), bottom-up or, with a negative height, top-down.
// Every header field is checked before use; a DIB that does not fit the
// checks draws nothing and gives 0.
//
// SetDIBitsToDevice: (srcX, srcY) is the lower-left corner of the source
// rectangle counted from the DIB's bottom-left (for bottom-up DIBs); `bits`
// hold `lines` rows starting with DIB row `startScan` (counted from the
// bottom). Returns the number of rows given, 0 on failure.
int SetDIBitsToDevice(HDC dc, int x, int y, DWORD width, DWORD height, int srcX, int srcY,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                      UINT usage);
// StretchDIBits: as with SetDIBitsToDevice, (srcX, srcY) is the source
// rectangle's corner nearest the DIB's origin: its lower-left corner counted
// from the bottom row of a bottom-up DIB, its upper-left one counted from the
// top of a top-down DIB. Each destination pixel takes the source pixel
// nearest its centre; negative widths or heights mirror. Source pixels
// outside the DIB (and pixels an RLE stream skips) leave the destination as
// it was. Returns the number of rows of the DIB, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
// GetDIBits: bits null fills in the header (biSizeImage, and the colour table
// below 24 bits); otherwise writes `lines` rows starting at `startScan` and
// the colour table, and returns the rows written.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);

// ---- Device-dependent bitmaps ----------------------------------------------------------------------
// 1 bit per pixel is monochrome; other depths hold colours (and at the
// display's palette depths, colours of the system palette).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bm);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
LONG GetBitmapBits(HBITMAP bitmap, LONG bytes, LPVOID out);
LONG SetBitmapBits(HBITMAP bitmap, DWORD bytes, const void* bits);

// ---- Palettes --------------------------------------------------------------------------------------
HPALETTE CreatePalette(const LOGPALETTE* pal);  // 1 to 256 entries, version 0x300
HPALETTE SelectPalette(HDC dc, HPALETTE pal, BOOL forceBackground);
UINT RealizePalette(HDC dc);  // entries of the system palette that changed; GDI_ERROR on failure
UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, LPPALETTEENTRY out);
UINT SetPaletteEntries(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* entries);
BOOL ResizePalette(HPALETTE pal, UINT entries);
BOOL AnimatePalette(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY out);
UINT GetSystemPaletteUse(HDC dc);
UINT SetSystemPaletteUse(HDC dc, UINT use);
int UpdateColors(HDC dc);
UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF color);  // CLR_INVALID on failure
COLORREF GetNearestColor(HDC dc, COLORREF color);

// ---- Text -------------------------------------------------------------------------------------------
// Text goes through the installed text engine (platform/gdi/text_engine.h);
// until one is installed nothing is drawn and every measure is 0.
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                const INT* dx);
int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);  // -1 length: NUL-ended
BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, LPSIZE out);
BOOL GetTextExtentPoint(HDC dc, LPCSTR text, int length, LPSIZE out);
BOOL GetTextExtentExPoint(HDC dc, LPCSTR text, int length, int maxExtent, LPINT fit,
                          LPINT dx, LPSIZE out);
BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC out);
int GetTextFace(HDC dc, int size, LPSTR out);
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, LPINT out);
BOOL GetCharWidth(HDC dc, UINT first, UINT last, LPINT out);
int EnumFontFamilies(HDC dc, LPCSTR family, FONTENUMPROC proc, LPARAM lp);

// ---- Printing ---------------------------------------------------------------------------------------
// A printer DC's pages go to the installed printer description; without one
// they are dropped.
int StartDoc(HDC dc, const DOCINFO* doc);  // a job id > 0, SP_ERROR on failure
int EndDoc(HDC dc);
int AbortDoc(HDC dc);
int StartPage(HDC dc);  // clears the page to white
int EndPage(HDC dc);

// ---- USER colours (the Windows 95 standard scheme) -------------------------------------------------------
DWORD GetSysColor(int index);    // 0 for an unknown index
HBRUSH GetSysColorBrush(int index);  // a stock brush; null for an unknown index

namespace win {

// The display's colour depth: 24 (the default), 8 or 4 bits per pixel.
// Also read from ZEMRA_DISPLAY_BPP the first time GDI is used. Changing it
// resets the system palette; surfaces already drawn keep their pixels.
// Returns false (and changes nothing) for any other depth.
bool SetDisplayBitsPerPixel(int bits);
int DisplayBitsPerPixel();

// Drops every GDI object and DC made so far (stock objects are made again),
// resets the display depth from ZEMRA_DISPLAY_BPP, the system palette and the
// screen surface: a fresh GDI state for the next test. The registered window
// surface provider, text engine and printer provider stay.
void ResetGdiState();

}  // namespace win
