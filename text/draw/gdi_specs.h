// The drawing objects of a font descriptor: a brush, a pen and a font, each
// described from the descriptor and its draw style when the spec is made and
// created on first use. A spec deletes the object it created.
#pragma once

#include "mfc/cstring.h"
#include "text/color_record.h"
#include "text/style/font_descriptor.h"
#include "win/types.h"

class ColorTable;

class GdiSpec {
 public:
  GdiSpec() = default;
  GdiSpec(const GdiSpec&) = delete;
  GdiSpec& operator=(const GdiSpec&) = delete;
  virtual ~GdiSpec();
};

class BrushSpec : public GdiSpec {
 public:
  explicit BrushSpec(const FontDescriptor& d);
  ~BrushSpec() override;
  // The brush, made the first time; null when the pattern is no fill (or
  // the brush could not be made), which sets NoFill.
  HBRUSH GetBrush(const ColorTable& colors);
  bool NoFill() const { return noFill_ != 0; }
  LONG Hatch() const { return hatch_; }
  const ColorRecord& Color() const { return color_; }

 private:
  BYTE noFill_ = 0;
  HBRUSH brush_ = nullptr;
  LONG hatch_ = 0;
  ColorRecord color_;
};

class PenSpec : public GdiSpec {
 public:
  explicit PenSpec(const FontDescriptor& d);
  ~PenSpec() override;
  // A geometric pen with flat ends, solid, of the spec's width and colour.
  HPEN GetPen(const ColorTable& colors);
  LONG Width() const { return width_; }
  const ColorRecord& Color() const { return color_; }

 private:
  HPEN pen_ = nullptr;
  LONG width_ = 0;
  ColorRecord color_;
};

class FontSpec : public GdiSpec {
 public:
  explicit FontSpec(const FontDescriptor& d);
  ~FontSpec() override;
  // The font for a magnification (the device's LOGPIXELSY x 1024 / 72):
  // height -(size x magnification / 1024). The face is matched against the
  // installed fonts on the main window's display; without a match the
  // requested face and character set are kept. Later calls return the font
  // made by the first.
  HFONT GetFont(int magnification);

  const CString& Face() const { return face_; }
  LONG Size() const { return size_; }
  BYTE CharSet() const { return charSet_; }
  BYTE Bold() const { return bold_; }
  BYTE Italic() const { return italic_; }
  BYTE StrikeOut() const { return strikeOut_; }
  LONG ColorIndex() const { return colorIndex_; }

 private:
  CString face_;
  LONG size_ = 0;
  BYTE charSet_ = 0;
  BYTE bold_ = 0;
  BYTE italic_ = 0;
  BYTE strikeOut_ = 0;
  LONG colorIndex_ = 0;
  HFONT font_ = nullptr;
};

// The RGB value a colour record stands for: itself when explicit, else the
// table's entry for its kind.
COLORREF ResolveColor(const ColorRecord& color, const ColorTable& colors);
