// The window in which a text document is shown, scrolled, selected and
// printed. It owns the document, lays the document's root atom out to its
// width (again whenever its size changes, and once more at the next message
// when a picture of the document arrives), draws it on WM_PAINT, scrolls
// with the bars and the keys, selects with the mouse and the keys, follows
// links with a click or Enter, and prints. It measures and draws only
// through its TextOutput face, which its drawing surface carries out, so the
// same layout serves the screen and the printer.
//
// Document coordinates are those of the root atom; the point at the client's
// top-left corner is (scroll position + extent's left and top), where the
// extent is the laid-out document widened by a 15-pixel margin.
#pragma once

#include <memory>

#include "layout/atoms/text_output.h"
#include "layout/view/drawing_surface.h"
#include "layout/view/text_view_listener.h"
#include "mfc/wnd.h"
#include "text/document/document_view.h"
#include "text/document/markup_document.h"

class CPrintInfo;

class TextView : public CWnd, public TextOutput, public DocumentView {
 public:
  // The margin around the laid-out document.
  static constexpr LONG kMargin = 15;
  // The window name the page object gives it.
  static constexpr const char* kWindowName = "HTMLViewer";

  explicit TextView(TextViewListener* listener);
  ~TextView() override;

  // A child window of `parent` (WS_CLIPCHILDREN is always added: form
  // controls live inside the view).
  BOOL CreateView(DWORD style, const RECT& rect, CWnd* parent, UINT id = 0);

  // Takes the document (null: none), lays it out and repaints.
  void SetDocument(std::unique_ptr<MarkupDocument> document);
  MarkupDocument* Document() const { return document_.get(); }
  // Selects the stretch between two position numbers and scrolls it into
  // view.
  void GoToRange(LONG start, LONG end);
  // Position numbers of the selection's start and end; -1 without a
  // document.
  LONG GetSelectionStart() const;
  LONG GetSelectionEnd() const;
  // The selected text (line feeds at line breaks), and the same put on the
  // clipboard; false when nothing is selected or the clipboard is busy.
  CString SelectedText() const;
  bool CopySelection();

  // Lays the document out for a client size.
  void Reformat(int clientWidth, int clientHeight);
  // The laid-out document with its margin; not computed before a layout.
  const LayoutRect& Extent() const { return extent_; }
  POINT ScrollPosition() const;

  // Printing: a copy of the document (or of the selection, when the print
  // dialog asks for it) laid out for the printer's page, 80% of its width
  // and height with 10% margins, one band per page, and two footer texts.
  bool BeginPrinting(CDC* dc, CPrintInfo* info);
  void PrintPage(CDC* dc, CPrintInfo* info, const CString& leftFooter, const CString& rightFooter);
  void EndPrinting();

  // ---- TextOutput
  bool DrawText(const LayoutPoint& baseline, const char* text, LONG length, const FontDescriptor& d) override;
  bool TextExtent(LayoutRect& box, const char* text, LONG length, const FontDescriptor& d) override;
  bool BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) override;
  LONG DeviceChangeCount() const override { return deviceChanges_; }
  bool FillRect(const LayoutRect& rect, const FontDescriptor& d) override;
  bool Polygon(const LayoutPoint* points, int count, const FontDescriptor& d) override;
  bool Ellipse(const LayoutRect& rect, const FontDescriptor& d) override;
  bool Line(const LayoutPoint& from, const LayoutPoint& to, const FontDescriptor& d) override;
  LONG FontSize(const FontDescriptor& d) override;
  void PictureSize(LayoutSize& out, NamedObject* picture) override;
  void ScaleToDevice(LayoutSize& size) override;
  bool StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture) override;
  void EraseBackground(const LayoutRect& rect) override;
  bool DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture) override;

  // ---- DocumentView: a form submission goes to the listener; the document
  // this view shows, while it is built, is laid out and drawn as far as it
  // has come (without moving the scroll position).
  void ForwardRequest(const CString& action, const CString& query) override;
  void ContentAdded(MarkupDocument& document, LONG count) override;
  // The document shown has been built to its end: laid out and drawn whole.
  void DocumentComplete();

  DrawingSurface& Surface() { return surface_; }

  // Message handlers.
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnRButtonDown(UINT flags, CPoint point);
  afx_msg void OnRButtonUp(UINT flags, CPoint point);
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
  afx_msg void OnSetFocus(CWnd* old);
  afx_msg void OnKillFocus(CWnd* next);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg void OnPictureArrived();

 private:
  // A pass of the surface over the window (or its paint context).
  class WindowPass;

  bool ready() const { return document_ && document_->GetRoot() && extent_.IsComputed(); }
  LayoutPoint documentPoint(CPoint client) const;
  LayoutPoint drawingOffset() const;
  void scroll(int bar, UINT code, UINT thumb);
  void scrollIntoView(bool forced, bool top);
  void updateCaret();
  void repaintSelectionChange(const PositionRange& old);
  void selectAt(UINT flags, CPoint point);
  // The point target under a client point (set in `probe`), and the
  // position there (null when none).
  std::unique_ptr<Position> probeAt(CPoint point, PointProbe& probe);
  void fillBackground(const LayoutRect& rect);
  // The position at the left end of the last line laid out; -1 when none.
  LONG lastLineStart();
  // The document y above which nothing laid out changes when content is
  // added after `from`; kNotComputed when that cannot be told.
  LONG topFrom(LONG from);
  // Moves the form controls that reach below client y out of sight (they
  // are placed again where their atoms are drawn).
  void hideControlsFrom(LONG y);
  void pictureArrived(NamedObject* picture);
  bool Printing() const;

  TextViewListener* listener_;
  std::unique_ptr<MarkupDocument> document_;
  std::unique_ptr<Atom> printCopy_;
  DrawingSurface surface_;
  LONG deviceChanges_ = 0;
  LONG formattedAtDevice_ = -1;
  bool formatting_ = false;
  bool painting_ = false;
  bool backgroundErased_ = false;
  bool relayoutPosted_ = false;
  // Set while a document being built is laid out: no caret moves and no
  // scrolling to the selection.
  bool quietFormat_ = false;
  LONG lastContentCount_ = -1;
  // Where the layout of the last report of new content may change when more
  // comes: the position at the start of its last line and that line's top
  // (kNotComputed: not known, everything is drawn again).
  LONG reportFrom_ = -1;
  LONG reportTop_ = kNotComputed;
  // The next layout may keep what lies before this position (-1: it lays
  // out everything): set by a report of new content, which arrives at the
  // end, and honoured only for the tree, width and device of the layout
  // before.
  LONG keepBefore_ = -1;
  // The highest start of an atom the last layout saw: atoms that begin
  // after it came since and have no layout to forget.
  LONG laidOutTo_ = kLastPositionNumber;
  const Atom* formattedRoot_ = nullptr;
  LONG formattedWidth_ = -1;
  CString lastLinkText_;
  LayoutRect extent_;
  bool hasFocus_ = false;
  LayoutRect caret_;
  bool caretShown_ = false;
  bool buttonDown_ = false;
  bool rightButton_ = false;
  CPoint downPoint_;
  bool dragged_ = false;
  HCURSOR linkCursor_ = nullptr;
  HCURSOR arrowCursor_ = nullptr;
  HCURSOR cursor_ = nullptr;
  SIZE screenDpi_{96, 96};
  SIZE printerDpi_{96, 96};
  int pictureWatch_ = 0;

  DECLARE_MESSAGE_MAP()
};
