// The page object that shows one picture inside a rectangle of the page, in
// one of six display modes, with an optional background colour, scrolling
// by dragging, and clickable anchors over the picture that page logic can
// highlight and that report clicks to the parent. The picture is looked up
// in the image cache at every layout and drawing; the object keeps only its
// name and size.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mfc/cstring.h"
#include "pages/objects/vgroup.h"
#include "pages/picture/image_anchor.h"

class CDib;
class Property;

class VImage : public VGroup {
 public:
  // Display modes.
  static constexpr char kZoom = 'z';
  static constexpr char kAspectRatio = 'a';
  static constexpr char kAspectLimit = 'l';
  static constexpr char kCenter = 'c';
  static constexpr char kScroll = 's';
  static constexpr char kTile = 't';
  // The colour value that means "no background".
  static constexpr COLORREF kTransparentColor = 0xFF000000;
  // Notifications to the parent: a click outside every anchor, on one.
  static constexpr int kClickedPicture = 0x4001;
  static constexpr int kClickedAnchor = 0x4002;
  static constexpr int kAnchorGrowth = 10;
  // Mouse steps at least this far apart are jumps, not drags.
  static constexpr int kDragJump = 16;

  VImage(int left, int top, int right, int bottom, const char* fileName);
  ~VImage() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void Draw(CDC* dc, const RECT& clip) override;
  void OnMouseDown(int x, int y) override;
  void OnMouseUp(int x, int y) override;
  void OnMouseEnter() override;
  void OnMouseLeave() override;
  void OnMouseMove(int x, int y) override;
  void SetRect(int left, int top, int right, int bottom) override;
  void ReadStyleAttributes() override;
  bool SetBoolAttribute(const char* name, bool value) override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetNumberAttribute(const char* name, int value) override;
  bool SetColorAttribute(const char* name, COLORREF color) override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  bool IsEmpty() const override;
  virtual void DrawAnchor(CDC* dc, const RECT& clip, ImageAnchor& anchor);
  virtual bool AnchorHit(int x, int y, ImageAnchor& anchor);

  void SetFileName(const char* name, int flag);
  void SetMode(char mode);
  void SetBgColor(COLORREF color);
  void SetScroll(int x, int y);
  void AddAnchor(const ImageAnchor& anchor);
  void ClearAnchors();
  void SetHighlightAnchor(int id);
  void ScrollToAnchor(int id);
  // The id of the topmost anchor hit at the point, else -1.
  int AnchorAt(int x, int y);
  // The anchor's rectangle on the page (a circle becomes an ellipse for
  // good); empty without a picture size.
  RECT AnchorRect(ImageAnchor& anchor);

  static char ParseMode(const char* text, char def);
  static char ModeFromStyle(const Property* property, char def);
  // Draws the named picture into the rectangle by the mode; 1 when it drew.
  // `owner` is the page it is drawn for (its pictures are pinned in the
  // image cache), or null.
  static int DrawImage(CDC* dc, const RECT& clip, const RECT& rect, const char* fileName, char mode,
                       int scrollX, int scrollY, const void* owner = nullptr);
  // Draws a picture with its transparent colour left out.
  static int DrawDib(CDib* picture, CDC* dc, const RECT& destination, const RECT& source);

  const CString& FileName() const { return fileName_; }
  char Mode() const { return mode_; }
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  int PictureWidth() const { return pictureW_; }
  int PictureHeight() const { return pictureH_; }
  const RECT& Box() const { return box_; }
  int SelectedAnchor() const { return selectedAnchor_; }
  int HighlightedAnchor() const { return highlightedAnchor_; }
  bool TransparentBackground() const { return transparentBg_ != 0; }
  COLORREF BgColor() const { return bgColor_; }
  int AnchorCount() const;

 private:
  void Layout();
  void ClampScroll();
  char EffectiveMode() const;
  void DragStep(int x, int y);
  const void* Owner();

  std::int32_t selectedAnchor_ = -1;
  CString fileName_;
  char mode_ = kZoom;
  std::int32_t scrollX_ = 0;
  std::int32_t scrollY_ = 0;
  RECT box_;
  std::int32_t pictureW_ = 0;
  std::int32_t pictureH_ = 0;
  COLORREF bgColor_ = 0;
  std::int32_t transparentBg_ = 0;
  std::int32_t highlightedAnchor_ = -1;
  std::vector<std::unique_ptr<ImageAnchor>> anchors_;
  std::int32_t dragging_ = 0;
  POINT dragPoint_{0, 0};
};
