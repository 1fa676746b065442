// A one-line caption in a rectangle of a page: an optional solid or stippled
// background colour, up to three background pictures (normal, mouse over,
// pressed), a plain or three-dimensional frame, a bullet or arrow mark in
// front of the caption, and a click action (a goto of a named object, a
// line for the command interpreter, or a notification to the parent). With
// "fitcaption" the label shrinks to its caption inside the rectangle it was
// given. Titles, title lists, tool buttons, the progress bar and the hint
// window are built on it.
#pragma once

#include <cstdint>

#include "core/multilang_string.h"
#include "mfc/cstring.h"
#include "pages/objects/vobject.h"

class VLabel : public VObject {
 public:
  // Label style bits.
  static constexpr DWORD kBorder3d = 0x01;
  static constexpr DWORD kBorder = 0x02;
  static constexpr DWORD kAlignLeft = 0x04;
  static constexpr DWORD kAlignRight = 0x08;
  static constexpr DWORD kAlignCenter = 0x0C;
  static constexpr DWORD kAlignMask = 0x0C;
  static constexpr DWORD kTransparentLabel = 0x10;
  static constexpr DWORD kBullet = 0x20;
  static constexpr DWORD kArrow = 0x40;
  static constexpr DWORD kFitCaption = 0x80;

  // What a label's parent is told when the label is clicked.
  static constexpr int kClicked = 1;

  // Picture display modes (the picture objects' characters).
  static constexpr int kModeZoom = 'z';

  // DrawText formats: measuring, and drawing a caption.
  static constexpr UINT kMeasureFormat = 0xD20;  // SINGLELINE | NOCLIP | CALCRECT | NOPREFIX
  static constexpr UINT kDrawFormat = 0x924;     // VCENTER | SINGLELINE | NOCLIP | NOPREFIX

  VLabel(int left, int top, int right, int bottom, DWORD labelFlags,
         const MultiLangString& caption = MultiLangString());
  ~VLabel() override;

  // The caption font height of labels that name none, from the usable
  // screen width when the first label is made: 16 up to 640 pixels, 20 up
  // to 800, else 24.
  static int DefaultFontSize();
  static const char* DefaultFontName() { return "Times New Roman"; }

  const char* GetClassName() const override;
  void Draw(CDC* dc, const RECT& clip) override;
  void OnMouseDown(int x, int y) override;
  void OnMouseUp(int x, int y) override;
  void OnMouseEnter() override;
  void OnMouseLeave() override;
  void UpdateCursor() override;
  void GetRect(RECT* out) const override;
  void SetRect(int left, int top, int right, int bottom) override;
  void ReadStyleAttributes() override;
  bool SetBoolAttribute(const char* name, bool value) override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  void OnAttach() override;

  void SetCaption(const MultiLangString& caption);
  void SetCaptionText(const char* text);
  void SetGoto(const char* target);
  void SetOnClick(const char* line);
  void SetAlignment(DWORD bits);
  void SetBullet(bool on);
  void SetArrow(bool on);
  void SetBorder(DWORD bits);
  void SetFgColor(COLORREF color);
  void SetBgColor(COLORREF color, int percent);
  void SetTransparent();
  void SetFontSize(int size);
  void SetFontName(const char* name);
  void SetMode(int mode);
  void SetBgPicture(const char* name);
  void SetBgPictureOver(const char* name);
  void SetBgPictureDown(const char* name);
  // Shrinks the object's rectangle to the caption (plus a margin) inside
  // the layout rectangle, placed by the alignment.
  void FitCaption();
  // DrawText of the caption with the label's font; an empty caption gives
  // an empty rectangle.
  void DrawCaption(CDC* dc, RECT* rect, UINT format);

  const MultiLangString& Caption() const { return caption_; }
  CString CaptionText() const { return caption_.Text(); }
  DWORD LabelFlags() const { return labelFlags_; }
  COLORREF FgColor() const { return fgColor_; }
  COLORREF BgColor() const { return bgColor_; }
  int BgPercent() const { return bgPercent_; }
  int FontSize() const { return fontSize_; }
  const CString& FontName() const { return fontName_; }
  int Mode() const { return mode_; }
  const CString& GotoTarget() const { return gotoTarget_; }
  const CString& OnClickLine() const { return onClick_; }
  const CString& BgPicture() const { return bgPicture_; }
  const RECT& LayoutRect() const { return layoutRect_; }
  bool Pressed() const { return pressed_ != 0; }
  bool Hover() const { return hover_ != 0; }
  // The picture shown now: pressed, mouse over, or normal.
  const CString& CurrentPicture() const;
  // How many fonts the label has made (one per font its style asks for).
  int FontsMade() const { return fontsMade_; }

  // A picture display mode from its word; `def` for any other text.
  static int ParseMode(const char* text, int def);

 protected:
  void SetLabelFlags(DWORD flags) { labelFlags_ = flags; }
  // Invalidates, or fits the caption when the label fits itself.
  void Refresh();
  // The label's frame on its layout rectangle.
  void DrawFrame(CDC* dc, const RECT& clip);
  // Whether pressing the label changes what it shows.
  bool ShowsPress() const;

 private:
  void DrawBackground(CDC* dc, const RECT& clip);
  void DrawMark(CDC* dc);
  void DrawCaptionText(CDC* dc);
  void ForgetFont();
  // The font of the label's size and face, made on first use.
  HFONT Font();
  bool PageActive();
  bool PageButtonHeld();

  MultiLangString caption_;
  COLORREF fgColor_ = 0;
  COLORREF bgColor_ = kDefaultBackground;
  std::int32_t bgPercent_ = 100;
  DWORD labelFlags_;
  std::uint8_t pressed_ = 0;
  std::uint8_t hover_ = 0;
  CString bgPicture_;
  CString bgPictureOver_;
  CString bgPictureDown_;
  std::int32_t fontSize_;
  CString fontName_;
  std::int32_t mode_ = kModeZoom;
  CString gotoTarget_;
  CString onClick_;
  RECT layoutRect_;
  HFONT font_ = nullptr;
  int fontsMade_ = 0;
};

// The tool bar's buttons: labels with the three-dimensional frame.
class VToolButton : public VLabel {
 public:
  VToolButton(int left, int top, int right, int bottom,
              const MultiLangString& caption = MultiLangString());
  ~VToolButton() override;
};

// Stipple patterns of the partial background: 8 rows of 8 bits each (bit n
// is column n), by coverage from none to full.
std::uint8_t StippleRow(int pattern, int row);
