// One picture of a page: the loaded packed DIB and the form in which it is
// shown on the current display (a display copy at the display's depth, a
// palette, the shown size). BMP and XBM files are read by the image
// library; every other format by the converter plug-in that format.dat
// names, loaded, called once and freed per picture.
#pragma once

#include <cstdint>

#include "core/list.h"
#include "mfc/dc.h"
#include "mfc/object.h"
#include "win/types.h"

class CDitherTable;

class CDib : public CObject {
  DECLARE_DYNCREATE(CDib)
 public:
  // Messages sent to the progress window while a picture is converted for
  // a palette display, and to the window given to ConvertDepth when the
  // picture's palette was made.
  static constexpr UINT kMsgConversionStarted = 0x62D;  // lParam: the new DIB
  static constexpr UINT kMsgConversionRows = 0x62B;     // wParam: rows done
  static constexpr UINT kMsgPaletteMade = 0x405;        // wParam: the window
  static constexpr int kProgressRows = 18;

  CDib();
  ~CDib() override;
  CDib(const CDib&) = delete;
  CDib& operator=(const CDib&) = delete;

  // 1 when a picture was loaded from the file (replacing any earlier one
  // and its display copy), 0 when not. The progress window (may be null)
  // goes to a converter plug-in for its progress messages.
  int Load(const char* fileName, HWND progressWindow = nullptr);
  // Makes the display copy and palette for the display's depth; 0 when no
  // picture is loaded. `fit` scales to fitWidth x fitHeight; `halftone`
  // dithers to the halftone palette instead of diffusing errors.
  int ConvertDepth(HWND window, int fit, int halftone, int fitWidth, int fitHeight);
  // Draws the source part of `dib` into the destination (unscaled when both
  // have one size); the scan lines GDI reports, 0 for a null DIB.
  int Draw(CDC* dc, const RECT& destination, const RECT& source, HGLOBAL dib, HPALETTE palette);
  // The loaded picture's width and height.
  SIZE GetSize() const;
  void RebuildPalette();
  void SetDisplayDib(HGLOBAL handle);
  void SetPalette(HPALETTE newPalette);

  virtual BOOL CreateBuffer(int width, int height, int depth);
  virtual BOOL ResizeBuffer(int width, int height);
  virtual void Reserved(DWORD, DWORD, DWORD) {}

  // Error diffusion of an 8- or 24-bit DIB to the dither table's palette: a
  // new 8-bit DIB, or null (after the box "Out of Memory" when memory runs
  // out). The source stays the caller's.
  static HGLOBAL DiffuseToDitherPalette(HGLOBAL source, HWND progressWindow, const CDitherTable& table);

  HGLOBAL DisplayDib() const { return displayDib; }
  HGLOBAL Dib() const { return dib; }
  HPALETTE Palette() const { return palette; }
  int Width() const { return width; }
  int Height() const { return height; }
  DWORD ColorCount() const { return colorCount; }
  int TransparentIndex() const { return transparentIndex; }
  void SetReplaceTransparent(bool on) { replaceTransparent = on ? 1 : 0; }
  // The colour index to leave out when drawing (-1: none).
  void SetTransparentIndex(int index) { transparentIndex = index; }
  // biSizeImage of the display copy: the picture's weight in the image cache.
  DWORD DisplaySize() const;
  const BITMAPINFOHEADER* BufferInfo() const { return bufferInfo; }
  BYTE* BufferBits() const { return bufferBits; }

 private:
  HGLOBAL LoadWithConverter(const char* fileName, const char* plugin, HWND progressWindow,
                            std::int32_t* transparent);
  void Forget();

  HGLOBAL displayDib = nullptr;
  HGLOBAL dib = nullptr;
  HGLOBAL extra1 = nullptr;
  HGLOBAL extra2 = nullptr;
  HPALETTE palette = nullptr;
  std::uint32_t replaceTransparent = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  DWORD colorCount = 0;
  List elements;
  BITMAPINFOHEADER* bufferInfo = nullptr;
  BYTE* bufferBits = nullptr;
  std::int32_t transparentIndex = -1;
};
