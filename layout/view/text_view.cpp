#include "layout/view/text_view.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "layout/atoms/container.h"
#include "layout/atoms/flow_atom.h"
#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_loader.h"
#include "text/anchors/anchor_range.h"
#include "mfc/afx.h"
#include "mfc/app.h"
#include "text/atom/atom.h"
#include "mfc/dc.h"
#include "mfc/print.h"
#include "text/draw/draw_styles.h"
#include "text/style/color_table.h"
#include "win/kernel.h"
#include "win/print.h"

namespace {

// Format heights: unbounded, for a document that scrolls.
constexpr LONG kUnboundedHeight = 0x0FFFFFFF;
// Posted to the view when a picture of its document has arrived.
constexpr UINT kPictureArrivedMessage = WM_USER + 0x131;
// The program's link cursor.
constexpr int kLinkCursorId = 135;
// The draw style of the document background (stored number 9).
constexpr int kBackgroundDrawStyle = 8;

int liveViews = 0;

LONG clampLong(LONG v, LONG lo, LONG hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

TextViewListener::~TextViewListener() = default;

// Begins a pass of the surface on the view's window and ends it on scope
// exit; the device-change counter moves while a printing copy exists.
class TextView::WindowPass {
 public:
  explicit WindowPass(TextView& view, bool paint = false) : view_(view) {
    if (view.printCopy_) ++view.deviceChanges_;
    ColorTable* colors = view.document_ ? &view.document_->Viewer().Colors() : nullptr;
    ok_ = paint ? view.surface_.BeginPaint(view.m_hWnd, colors) : view.surface_.BeginWindow(view.m_hWnd, colors);
  }
  ~WindowPass() { view_.surface_.End(); }
  WindowPass(const WindowPass&) = delete;
  WindowPass& operator=(const WindowPass&) = delete;
  bool ok() const { return ok_; }

 private:
  TextView& view_;
  bool ok_;
};

BEGIN_MESSAGE_MAP(TextView, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_VSCROLL()
  ON_WM_HSCROLL()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SETCURSOR()
  ON_MESSAGE_VOID(kPictureArrivedMessage, OnPictureArrived)
END_MESSAGE_MAP()

TextView::TextView(TextViewListener* listener) : listener_(listener) {
  ++liveViews;
  arrowCursor_ = LoadCursor(nullptr, IDC_ARROW);
  linkCursor_ = LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(kLinkCursorId));
  if (!linkCursor_) linkCursor_ = LoadCursor(nullptr, IDC_HAND);
  cursor_ = arrowCursor_;
  pictureWatch_ = DibPicture::WatchLoads([this](DibPicture* p) { pictureArrived(p); });
}

TextView::~TextView() {
  DibPicture::UnwatchLoads(pictureWatch_);
  printCopy_.reset();
  // The document's atoms own the form controls, which are child windows of
  // this one: they go before the window.
  document_.reset();
  if (m_hWnd) DestroyWindow();
  if (--liveViews == 0) DrawStyles::Unload();
}

BOOL TextView::CreateView(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
  return CWnd::Create(cls, kWindowName, style | WS_CLIPCHILDREN, rect, parent, id);
}

// ---- Documents and selection ------------------------------------------------

void TextView::SetDocument(std::unique_ptr<MarkupDocument> document) {
  printCopy_.reset();
  document_.reset();
  document_ = std::move(document);
  lastLinkText_.Empty();
  lastContentCount_ = -1;
  formattedRoot_ = nullptr;
  keepBefore_ = -1;
  reportFrom_ = -1;
  reportTop_ = kNotComputed;
  extent_ = LayoutRect();
  context = document_ ? &document_->Viewer().Colors() : nullptr;
  if (document_ && m_hWnd) {
    RECT rc;
    GetClientRect(&rc);
    Reformat(rc.right, rc.bottom);
  }
  if (m_hWnd) Invalidate(TRUE);
}

void TextView::GoToRange(LONG start, LONG end) {
  if (!document_) return;
  PositionRange old = document_->Selection();
  Position a(start), b(end);
  document_->SetCaret(a);
  document_->SetSelectionEnd(b);
  if (extent_.IsComputed() && m_hWnd) {
    scrollIntoView(false, true);
    repaintSelectionChange(old);
  }
}

LONG TextView::GetSelectionStart() const {
  if (!document_) return -1;
  return std::max<LONG>(0, document_->Selection().Start().Number());
}

LONG TextView::GetSelectionEnd() const {
  if (!document_) return -1;
  return std::max<LONG>(0, document_->Selection().End().Number());
}

CString TextView::SelectedText() const {
  CString out;
  if (!document_ || !document_->GetRoot()) return out;
  const PositionRange& s = document_->Selection();
  if (s.Lower().Equal(s.Upper())) return out;
  document_->GetRoot()->AppendText(out, s.Lower(), s.Upper(), TRUE, 0);
  return out;
}

bool TextView::CopySelection() {
  CString text = SelectedText();
  if (text.IsEmpty()) return false;
  // The clipboard holds CR LF line ends.
  CString crlf;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
    crlf += text[i];
  }
  if (!OpenClipboard(m_hWnd)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<DWORD_PTR>(crlf.GetLength()) + 1);
  bool done = false;
  if (block) {
    if (char* p = static_cast<char*>(GlobalLock(block))) {
      std::memcpy(p, static_cast<const char*>(crlf), static_cast<size_t>(crlf.GetLength()) + 1);
      GlobalUnlock(block);
      done = SetClipboardData(CF_TEXT, block) != nullptr;
    }
    if (!done) GlobalFree(block);
  }
  CloseClipboard();
  return done;
}

// ---- Layout -------------------------------------------------------------------

POINT TextView::ScrollPosition() const {
  if (!m_hWnd) return POINT{0, 0};
  return POINT{GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)};
}

LayoutPoint TextView::documentPoint(CPoint client) const {
  POINT s = ScrollPosition();
  return LayoutPoint{client.x + s.x + extent_.left, client.y + s.y + extent_.top};
}

LayoutPoint TextView::drawingOffset() const {
  POINT s = ScrollPosition();
  return LayoutPoint{-extent_.left - s.x, -extent_.top - s.y};
}

void TextView::Reformat(int clientWidth, int clientHeight) {
  if (clientWidth <= 0 || clientHeight <= 0 || !document_ || formatting_ || !m_hWnd) return;
  Atom* root = document_->GetRoot();
  if (!root) return;
  formatting_ = true;
  RECT rc;
  GetClientRect(&rc);
  // Room for a vertical bar is always kept; the height is measured without
  // a horizontal one.
  if (!(GetStyle() & WS_VSCROLL)) rc.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (GetStyle() & WS_HSCROLL) rc.bottom += GetSystemMetrics(SM_CYHSCROLL);
  const LONG pageWidth = rc.right - 2 * kMargin;
  const LONG pageHeight = rc.bottom - 2 * kMargin;
  LayoutRect extent;
  {
    WindowPass pass(*this);
    // Measurements of another device (a printout) are forgotten. After a
    // report of new content only the atoms from where it may have changed
    // on are laid out afresh (the open ones are at the end of the tree);
    // the closed ones before keep their layout, which was made at this
    // width.
    if (keepBefore_ >= 0 && formattedAtDevice_ == deviceChanges_ && formattedRoot_ == root &&
        formattedWidth_ == pageWidth)
      root->InvalidateRange(PositionRange(Position(keepBefore_), Position(std::max(keepBefore_, laidOutTo_))));
    else
      root->Reset(formattedAtDevice_ == deviceChanges_ ? 1 : 2);
    keepBefore_ = -1;
    formattedAtDevice_ = deviceChanges_;
    formattedRoot_ = root;
    formattedWidth_ = pageWidth;
    Position* continuation = nullptr;
    root->Format(this, LayoutRect::Of(0, pageWidth - 1, 0, kUnboundedHeight), continuation, FirstPosition(), 0);
    delete continuation;
    if (root->Extent(extent, this, FirstPosition(), LastPosition(), 1) != 0 || !extent.IsComputed())
      extent = LayoutRect::Of(0, 0, 0, 0);
    // The builder appends atoms in position order: the last one opened
    // begins after every other that this layout saw.
    laidOutTo_ = root->Start();
    for (Atom* a = root; auto* c = Container::IsLeaf(a) ? nullptr : dynamic_cast<Container*>(a);) {
      if (!(a = c->LastChild())) break;
      laidOutTo_ = std::max(laidOutTo_, a->Start());
    }
  }
  LONG hRange = std::max<LONG>(0, extent.Width() - pageWidth);
  LONG vRange = extent.Height() - pageHeight;
  if (hRange) vRange += GetSystemMetrics(SM_CYHSCROLL);
  vRange = std::max<LONG>(0, vRange);
  extent_ = LayoutRect::Of(extent.left - kMargin, extent.right + kMargin, extent.top - kMargin,
                           extent.bottom + kMargin);

  auto setBar = [&](int bar, LONG range, LONG page) {
    EnableScrollBarCtrl(bar, range != 0);
    if (range) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_PAGE;
      si.nMin = 0;
      si.nMax = page + range - 1;
      si.nPage = static_cast<UINT>(page);
      if (!SetScrollInfo(bar, &si, TRUE)) SetScrollRange(bar, 0, range, TRUE);
      EnableScrollBarCtrl(bar, TRUE);
    } else {
      // An empty range: nothing scrolls on this axis (a bar's default
      // range would let the caret scroll a view that has nothing to show).
      SetScrollRange(bar, 0, 0, TRUE);
      SetScrollPos(bar, 0, TRUE);
    }
  };
  setBar(SB_HORZ, hRange, pageWidth);
  setBar(SB_VERT, vRange, pageHeight);
  // Form controls are placed again when their atoms are drawn (a report
  // of new content moves only those it draws again).
  if (!quietFormat_) hideControlsFrom(0);
  formatting_ = false;
  document_->ForgetCachedRects();
  if (quietFormat_) return;
  if (::GetFocus() == m_hWnd) hasFocus_ = true;
  scrollIntoView(false, true);
}

void TextView::ContentAdded(MarkupDocument& document, LONG count) {
  if (document_.get() != &document || !m_hWnd || count == lastContentCount_ || !document.GetRoot()) return;
  // What came since the last report lies after the content it reported
  // and after the start of the last line it laid out; atoms still open
  // then are at the end of the tree and are laid out afresh.
  if (lastContentCount_ >= 0 && reportFrom_ >= 0) keepBefore_ = std::min(lastContentCount_, reportFrom_);
  lastContentCount_ = count;
  RECT rc;
  GetClientRect(&rc);
  const LayoutPoint offset = extent_.IsComputed() ? drawingOffset() : LayoutPoint{0, 0};
  quietFormat_ = true;
  Reformat(rc.right, rc.bottom);
  quietFormat_ = false;
  keepBefore_ = -1;
  // Content arrives at the end: what the last report laid out stays where
  // it was above its last line (which may gain words, be justified or grow
  // taller) or above the outermost table around that line (a new cell may
  // widen every column). Only from there down is drawn again.
  LONG top = kNotComputed;
  if (reportFrom_ >= 0 && reportTop_ != kNotComputed && extent_.IsComputed()) {
    const LONG now = topFrom(reportFrom_);
    if (now != kNotComputed) top = std::min(now, reportTop_);
  }
  const LayoutPoint moved = extent_.IsComputed() ? drawingOffset() : offset;
  reportFrom_ = lastLineStart();
  reportTop_ = reportFrom_ >= 0 ? topFrom(reportFrom_) : kNotComputed;
  // A moved origin (the scroll position or the extent's corner) moves
  // everything drawn.
  if (top == kNotComputed || moved.x != offset.x || moved.y != offset.y) {
    hideControlsFrom(0);
    Invalidate(TRUE);
  } else {
    const LONG y = std::max<LONG>(0, top + moved.y);
    // Form controls down there are placed again where they are drawn.
    hideControlsFrom(y);
    if (y < rc.bottom) {
      RECT dirty{0, y, 16383, 16383};
      InvalidateRect(&dirty, TRUE);
    }
  }
  UpdateWindow();
}

LONG TextView::lastLineStart() {
  Atom* root = document_ ? document_->GetRoot() : nullptr;
  if (!root || !extent_.IsComputed()) return -1;
  WindowPass pass(*this);
  if (!pass.ok()) return -1;
  // The last atom that has a place: the atoms the builder opened last are
  // not laid out before the next report.
  NestingGuard guard;
  LayoutRect placed;
  std::function<Atom*(Atom*)> lastPlaced = [&](Atom* a) -> Atom* {
    NestingGuard deeper;
    if (deeper.TooDeep()) return nullptr;
    if (auto* c = dynamic_cast<Container*>(a); c && c->FirstChild()) {
      for (Atom* k = c->LastChild(); k; k = Container::PreviousOf(k))
        if (Atom* found = lastPlaced(k)) return found;
      return nullptr;
    }
    PositionRange at(Position(a->Start()), Position(a->Start()));
    return root->CaretRect(placed, this, at, 1, FirstPosition(), LastPosition(), 0) == 0 && placed.IsComputed()
               ? a
               : nullptr;
  };
  Atom* last = lastPlaced(root);
  if (!last) return -1;
  // Its line from the left end, and the line above it too: while a
  // paragraph is open, the spacing of its last full line is not final
  // either (a justified line is spread again once the next word is there).
  LONG from = last->Start();
  LONG y = (placed.top + placed.bottom) / 2;
  for (int line = 0; line < 2; ++line) {
    std::unique_ptr<Position> at(
        root->PositionAtPoint(this, LayoutPoint{extent_.left + kMargin, y}, 0, FirstPosition(), LastPosition(), 0));
    if (!at || at->Number() < 0 || at->Number() >= from) break;
    from = at->Number();
    const Position here(from);
    PositionRange range(here, here);
    LayoutRect r;
    if (root->CaretRect(r, this, range, 1, FirstPosition(), LastPosition(), 0) != 0 || !r.IsComputed()) break;
    y = r.top - 1;
  }
  return from;
}

LONG TextView::topFrom(LONG from) {
  Atom* root = document_ ? document_->GetRoot() : nullptr;
  if (!root) return kNotComputed;
  for (Atom* a = root; auto* c = dynamic_cast<Container*>(a);) {
    // From the end: the position lies among the last children.
    Atom* child = c->LastChild();
    while (child && child->Start() > from) child = Container::PreviousOf(child);
    if (!child) break;
    if ((child->TypeMask() & kTableMask) == kTableMask) {
      // From the end of what comes before the table.
      from = child->Start() - 1;
      break;
    }
    a = child;
  }
  if (from < 0) return kNotComputed;
  // Everything laid out from there on lies below the top of the innermost
  // line that holds the position: lines are stacked downwards, and a block
  // lies within the line that holds it.
  LONG y = 0;
  Atom* a = root;
  for (int depth = 0; depth <= NestingGuard::kMaxNesting; ++depth) {
    auto* flow = (a->TypeMask() & kFlowMask) == kFlowMask ? dynamic_cast<FlowAtom*>(a) : nullptr;
    LayoutLine* line = flow ? flow->LineAt(Position(from)) : nullptr;
    if (!line) return kNotComputed;
    PlacementRecord* r = line->RecordHolding(from);
    if (!r || r->atom->Start() > from || (r->atom->TypeMask() & kFlowMask) != kFlowMask)
      return y + line->baseline + line->top;
    y += line->baseline;
    a = r->atom;
  }
  return kNotComputed;
}

void TextView::hideControlsFrom(LONG y) {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    ::GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ::ScreenToClient(m_hWnd, &p);
    if (p.y + (r.bottom - r.top) > y) ::MoveWindow(child, -10000, -10000, 1, 1, FALSE);
  }
}

void TextView::DocumentComplete() {
  // What came after the last report is laid out as a report lays it out;
  // what lies before keeps its layout, except where a style has changed
  // since (as that of the links, given at the end of the build), which the
  // atoms mark themselves.
  if (lastContentCount_ >= 0 && reportFrom_ >= 0) keepBefore_ = std::min(lastContentCount_, reportFrom_);
  lastContentCount_ = -1;
  reportFrom_ = -1;
  reportTop_ = kNotComputed;
  if (!document_ || !m_hWnd) {
    keepBefore_ = -1;
    return;
  }
  RECT rc;
  GetClientRect(&rc);
  Reformat(rc.right, rc.bottom);
  Invalidate(TRUE);
}

// ---- Painting -----------------------------------------------------------------

void TextView::OnPaint() {
  if (painting_ || !ready()) {
    Default();
    return;
  }
  painting_ = true;
  {
    WindowPass pass(*this, true);
    if (pass.ok()) {
      RECT u = surface_.PaintRect();
      LayoutPoint at = documentPoint(CPoint(u.left, u.top));
      LayoutPoint to = documentPoint(CPoint(u.right, u.bottom));
      LayoutRect clip = LayoutRect::Of(at.x, to.x, at.y, to.y);
      document_->GetRoot()->Draw(this, drawingOffset(), clip, FirstPosition(), LastPosition(), 1, &WholeDocument());
    }
  }
  backgroundErased_ = false;
  painting_ = false;
}

BOOL TextView::OnEraseBkgnd(CDC* dc) {
  backgroundErased_ = false;
  if (!ready() || !dc) return CWnd::OnEraseBkgnd(dc);
  int saved = dc->SaveDC();
  surface_.BeginDevice(dc->GetSafeHdc(), &document_->Viewer().Colors());
  RECT box;
  dc->GetClipBox(&box);
  fillBackground(LayoutRect::Of(box.left, box.right, box.top, box.bottom));
  surface_.End();
  dc->RestoreDC(saved);
  backgroundErased_ = true;
  return TRUE;
}

void TextView::EraseBackground(const LayoutRect& rect) {
  if (backgroundErased_) return;
  fillBackground(rect);
}

void TextView::fillBackground(const LayoutRect& rect) {
  if (!paintBackground || !document_) return;
  ColorTable& colors = document_->Viewer().Colors();
  DibPicture* picture = AsDibPicture(colors.GetPicture());
  LayoutSize tile = picture && !picture->pending ? picture->GetSize() : LayoutSize{0, 0};
  if (tile.cx <= 0 || tile.cy <= 0 || Printing()) {
    FontDescriptor background(kBackgroundDrawStyle, 0, 100, 0);
    background.color.kind = ColorTable::kBackground;
    surface_.FillRect(rect, background);
    return;
  }
  // Tiles aligned to the document's origin, cut at the rectangle's edges.
  LayoutPoint origin = drawingOffset();
  auto firstTile = [](LONG edge, LONG originAt, LONG size) {
    LONG d = edge - originAt;
    LONG k = d >= 0 ? d / size : -((-d + size - 1) / size);
    return originAt + k * size;
  };
  for (LONG y = firstTile(rect.top, origin.y, tile.cy); y < rect.bottom; y += tile.cy) {
    for (LONG x = firstTile(rect.left, origin.x, tile.cx); x < rect.right; x += tile.cx) {
      LONG l = std::max(x, rect.left), t = std::max(y, rect.top);
      LONG r = std::min(x + tile.cx, rect.right), b = std::min(y + tile.cy, rect.bottom);
      if (r <= l || b <= t) continue;
      surface_.DrawPicture(LayoutPoint{l, t}, LayoutRect::Of(l - x, r - x, t - y, b - y), picture);
    }
  }
}

bool TextView::Printing() const { return surface_.Printing(); }

// ---- Scrolling ----------------------------------------------------------------

void TextView::OnVScroll(UINT code, UINT pos, CScrollBar*) { scroll(SB_VERT, code, pos); }
void TextView::OnHScroll(UINT code, UINT pos, CScrollBar*) { scroll(SB_HORZ, code, pos); }

void TextView::scroll(int bar, UINT code, UINT thumb) {
  if (!ready()) return;
  RECT rc;
  GetClientRect(&rc);
  const LONG size = bar == SB_VERT ? rc.bottom : rc.right;
  const LONG limit = GetScrollLimit(bar);
  const LONG p = GetScrollPos(bar);
  const LONG line = std::max<LONG>(size / 10, 10);
  const LONG page = std::max<LONG>(4 * size / 5, 10);
  LONG next = p;
  switch (code) {
    case SB_LINEUP: next = p - line; break;
    case SB_LINEDOWN: next = p + line; break;
    case SB_PAGEUP: next = p - page; break;
    case SB_PAGEDOWN: next = p + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = static_cast<LONG>(thumb); break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = limit; break;
    default: break;
  }
  next = std::max<LONG>(0, std::min(next, limit));
  if (next == p) return;
  if (bar == SB_VERT)
    ScrollWindow(0, p - next);
  else
    ScrollWindow(p - next, 0);
  SetScrollPos(bar, next, TRUE);
  UpdateWindow();
  updateCaret();
}

void TextView::scrollIntoView(bool forced, bool top) {
  if (!document_ || !m_hWnd) return;
  int hMin = 0, hMax = 0, vMin = 0, vMax = 0;
  GetScrollRange(SB_HORZ, &hMin, &hMax);
  GetScrollRange(SB_VERT, &vMin, &vMax);
  if (hMin == hMax && vMin == vMax) {
    updateCaret();
    return;
  }
  const LONG hpos = GetScrollPos(SB_HORZ), vpos = GetScrollPos(SB_VERT);
  RECT rc;
  GetClientRect(&rc);
  LayoutRect view = LayoutRect::Of(extent_.left + hpos, rc.right + extent_.left + hpos, extent_.top + vpos,
                                   rc.bottom + extent_.top + vpos);
  LayoutRect r;
  {
    WindowPass pass(*this);
    if (!forced) r = document_->GetSelectionStartRect(this);
    if (forced || !r.IsComputed() || r.Width() > view.Width() || r.Height() > view.Height())
      r = document_->GetCaretRect(this);
  }
  if (!r.IsComputed() || (!forced && view.ContainsRect(r))) {
    updateCaret();
    return;
  }
  LONG dy = 0, dx = 0;
  if (forced) {
    dy = top ? r.top - view.top : r.bottom - view.bottom;
  } else if (r.bottom > view.bottom) {
    dy = r.bottom - view.bottom;
    // A rectangle taller than the view shows its top.
    if (r.top - dy < view.top) dy = r.top - view.top;
  } else if (r.top < view.top) {
    dy = r.top - view.top;
  }
  if (r.right > view.right) {
    dx = r.right - view.right;
    if (r.left - dx < view.left) dx = r.left - view.left;
  } else if (r.left < view.left) {
    dx = r.left - view.left;
  }
  // The largest positions the bars allow.
  const LONG hLimit = GetScrollLimit(SB_HORZ), vLimit = GetScrollLimit(SB_VERT);
  const LONG nh = clampLong(hpos + dx, hMin, std::max<LONG>(hMin, hLimit));
  const LONG nv = clampLong(vpos + dy, vMin, std::max<LONG>(vMin, vLimit));
  if (nh != hpos || nv != vpos) {
    ScrollWindow(hpos - nh, vpos - nv);
    SetScrollPos(SB_HORZ, nh, TRUE);
    SetScrollPos(SB_VERT, nv, TRUE);
    UpdateWindow();
  }
  updateCaret();
}

// ---- Caret and selection -------------------------------------------------------

void TextView::updateCaret() {
  if (!m_hWnd) return;
  if (!hasFocus_) {
    if (caret_.IsComputed()) {
      if (caretShown_) HideCaret();
      DestroyCaret();
    }
    caretShown_ = false;
    caret_ = LayoutRect();
    return;
  }
  if (!document_ || !ready() || !document_->Selection().Start().Equal(document_->Selection().End())) {
    if (caretShown_) HideCaret();
    caretShown_ = false;
    return;
  }
  LayoutRect r;
  {
    WindowPass pass(*this);
    r = document_->GetCaretRect(this);
  }
  if (!r.IsComputed()) return;
  LayoutPoint off = drawingOffset();
  LayoutRect client = LayoutRect::Of(r.left + off.x, r.right + off.x, r.top + off.y, r.bottom + off.y);
  const LONG w = std::max<LONG>(1, client.Width()), h = std::max<LONG>(1, client.Height());
  if (!caret_.IsComputed() || caret_.Width() != w || caret_.Height() != h) {
    if (caretShown_) HideCaret();
    caretShown_ = false;
    if (caret_.IsComputed()) DestroyCaret();
    ::CreateCaret(m_hWnd, nullptr, w, h);
  }
  SetCaretPos(CPoint(client.left, client.top));
  caret_ = LayoutRect::Of(client.left, client.left + w, client.top, client.top + h);
  if (!caretShown_) {
    ShowCaret();
    caretShown_ = true;
  }
}

void TextView::repaintSelectionChange(const PositionRange& old) {
  backgroundErased_ = false;
  if (!ready()) return;
  const PositionRange& now = document_->Selection();
  const bool sameEnds = old.Lower().Equal(now.Lower()) && old.Upper().Equal(now.Upper());
  const bool bothCollapsed = old.Lower().Equal(old.Upper()) && now.Lower().Equal(now.Upper());
  if (sameEnds || bothCollapsed) return;
  if (caretShown_) HideCaret();
  {
    WindowPass pass(*this);
    RECT rc;
    GetClientRect(&rc);
    LayoutPoint a = documentPoint(CPoint(0, 0)), b = documentPoint(CPoint(rc.right, rc.bottom));
    LayoutRect clip = LayoutRect::Of(a.x, b.x, a.y, b.y);
    Atom* root = document_->GetRoot();
    if (!old.Lower().Equal(now.Lower())) {
      PositionRange stretch(old.Lower(), now.Lower());
      root->Draw(this, drawingOffset(), clip, FirstPosition(), LastPosition(), 1, &stretch);
    }
    if (!old.Upper().Equal(now.Upper())) {
      PositionRange stretch(old.Upper(), now.Upper());
      root->Draw(this, drawingOffset(), clip, FirstPosition(), LastPosition(), 1, &stretch);
    }
  }
  if (caretShown_) ShowCaret();
}

void TextView::selectAt(UINT flags, CPoint point) {
  if (!ready()) return;
  PositionRange old = document_->Selection();
  LayoutPoint p = documentPoint(point);
  {
    WindowPass pass(*this);
    const int wholeWords = (flags & MK_CONTROL) ? 0 : 1;
    if (flags & MK_SHIFT)
      document_->ExtendSelectionTo(this, p.x, p.y, wholeWords);
    else
      document_->StartSelectionAt(this, p.x, p.y, wholeWords);
  }
  scrollIntoView(false, true);
  repaintSelectionChange(old);
}

// ---- Mouse and keys -------------------------------------------------------------

std::unique_ptr<Position> TextView::probeAt(CPoint point, PointProbe& found) {
  WindowPass pass(*this);
  LayoutPoint p = documentPoint(point);
  probe = &found;
  std::unique_ptr<Position> hit(document_->PositionAtPoint(this, p.x, p.y));
  probe = nullptr;
  return hit;
}

void TextView::OnLButtonDown(UINT flags, CPoint point) {
  if (!ready()) return;
  SetFocus();
  buttonDown_ = true;
  downPoint_ = point;
  dragged_ = false;
  SetCapture();
  selectAt(flags, point);
}

void TextView::OnLButtonUp(UINT flags, CPoint point) {
  if (!ready() || !buttonDown_) return;
  // A click where the button went down keeps the caret it set: hit-testing
  // the same point by word could put the end elsewhere and make a click on
  // a link look like a drag.
  if (dragged_ || point.x != downPoint_.x || point.y != downPoint_.y) selectAt(flags | MK_SHIFT, point);
  ReleaseCapture();
  buttonDown_ = rightButton_ = false;
  const PositionRange& s = document_->Selection();
  if (!s.Start().Equal(s.End())) return;  // a drag only selects
  if (!dragged_) {
    // A click on a picture that submits its form submits it with the point.
    PointProbe found;
    probeAt(point, found);
    if (found.target) {
      found.target->ClickAt(found.at.x, found.at.y);
      return;
    }
  }
  CString links = document_->GetLinksOfSelection();
  if (!listener_ || links.IsEmpty()) return;
  PositionRange old = document_->Selection();
  if (AnchorRange* anchor = document_->FindAnchorAt(s.End())) document_->SelectRange(*anchor);
  scrollIntoView(false, true);
  repaintSelectionChange(old);
  listener_->FollowAnchor(links);
}

void TextView::OnRButtonDown(UINT, CPoint point) {
  if (!ready() || buttonDown_) return;
  SetFocus();
  std::unique_ptr<Position> hit;
  {
    WindowPass pass(*this);
    LayoutPoint p = documentPoint(point);
    hit.reset(document_->PositionAtPoint(this, p.x, p.y));
  }
  const PositionRange& s = document_->Selection();
  if (hit && (hit->Less(s.Lower()) || s.Upper().Less(*hit))) {
    PositionRange old = s;
    document_->SetCaret(*hit);
    scrollIntoView(false, true);
    repaintSelectionChange(old);
  }
  buttonDown_ = rightButton_ = true;
  SetCapture();
}

void TextView::OnRButtonUp(UINT, CPoint point) {
  if (!buttonDown_) return;
  ReleaseCapture();
  buttonDown_ = false;
  if (rightButton_ && listener_ && document_) {
    POINT screen = point;
    ClientToScreen(&screen);
    listener_->ContextMenu(document_->GetLinksOfSelection(), 1, screen.x, screen.y);
  }
  rightButton_ = false;
}

void TextView::OnMouseMove(UINT flags, CPoint point) {
  if (!ready()) return;
  cursor_ = arrowCursor_;
  CString links;
  {
    PointProbe found;
    std::unique_ptr<Position> hit = probeAt(point, found);
    if (found.target) cursor_ = linkCursor_;
    if (hit && document_->FindAnchorAt(*hit)) {
      cursor_ = linkCursor_;
      if (listener_) links = document_->GetLinksAt(*hit);
    }
  }
  if (listener_ && links != lastLinkText_) {
    lastLinkText_ = links;
    listener_->ShowLinkText(links);
  }
  if (buttonDown_ && !rightButton_ && (point.x != downPoint_.x || point.y != downPoint_.y)) {
    dragged_ = true;
    selectAt(flags | MK_SHIFT, point);
  }
}

BOOL TextView::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if (document_ && wnd == this && hitTest == HTCLIENT && extent_.IsComputed()) {
    SetCursor(cursor_);
    return TRUE;
  }
  return CWnd::OnSetCursor(wnd, hitTest, message);
}

void TextView::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  if (!ready()) {
    CWnd::OnKeyDown(key, repeat, flags);
    return;
  }
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const int unit = ctrl ? 0 : 1;
  RECT rc;
  GetClientRect(&rc);
  PositionRange old = document_->Selection();
  int direction = -1, stepUnit = unit;
  LONG distance = 0;
  switch (key) {
    case VK_TAB: {
      AnchorRange* next = document_->NextAnchor(!shift);
      if (next) {
        document_->SelectRange(*next);
        scrollIntoView(false, true);
        repaintSelectionChange(old);
      }
      return;
    }
    case VK_RETURN: {
      CString links = document_->GetLinksOfSelection();
      if (listener_ && !links.IsEmpty()) listener_->FollowAnchor(links);
      return;
    }
    case 'C':
    case VK_INSERT:
      if (ctrl) {
        CopySelection();
        return;
      }
      CWnd::OnKeyDown(key, repeat, flags);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      direction = key == VK_PRIOR ? 0 : 1;
      distance = std::max<LONG>(rc.bottom - 10, rc.bottom * 5 / 6);
      break;
    case VK_END: direction = 1, stepUnit = 2; break;
    case VK_HOME: direction = 0, stepUnit = 2; break;
    case VK_LEFT: direction = 2; break;
    case VK_UP: direction = 0; break;
    case VK_RIGHT: direction = 3; break;
    case VK_DOWN: direction = 1; break;
    default: CWnd::OnKeyDown(key, repeat, flags); return;
  }
  std::unique_ptr<Position> moved;
  {
    WindowPass pass(*this);
    moved.reset(document_->MoveCaret(direction, stepUnit, this, distance));
  }
  if (!moved) return;
  if (shift)
    document_->SetSelectionEnd(*moved);
  else
    document_->SetCaret(*moved);
  const bool paging = key == VK_PRIOR || key == VK_NEXT;
  scrollIntoView(paging, key == VK_PRIOR);
  repaintSelectionChange(old);
}

void TextView::OnSetFocus(CWnd*) {
  hasFocus_ = true;
  updateCaret();
}

void TextView::OnKillFocus(CWnd*) {
  hasFocus_ = false;
  updateCaret();
}

void TextView::OnSize(UINT, int cx, int cy) { Reformat(cx, cy); }

// ---- Pictures that arrive later -----------------------------------------------

void TextView::pictureArrived(NamedObject* picture) {
  if (!document_ || !m_hWnd || relayoutPosted_) return;
  Atom* root = document_->GetRoot();
  bool ours = document_->Viewer().Colors().GetPicture() == picture;
  if (!ours && root) ours = root->HoldsObject(0, picture, nullptr);
  if (!ours) return;
  // Several pictures arriving together cost one layout.
  relayoutPosted_ = PostMessage(kPictureArrivedMessage, 0, 0) != FALSE;
}

void TextView::OnPictureArrived() {
  relayoutPosted_ = false;
  if (!document_) return;
  RECT rc;
  GetClientRect(&rc);
  Reformat(rc.right, rc.bottom);
  Invalidate(TRUE);
}

// ---- Printing -----------------------------------------------------------------

bool TextView::BeginPrinting(CDC* dc, CPrintInfo* info) {
  if (!dc || !document_ || !document_->GetRoot()) return false;
  HDC screen = ::GetDC(nullptr);
  if (screen) {
    screenDpi_ = SIZE{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ::ReleaseDC(nullptr, screen);
  }
  printerDpi_ = SIZE{dc->GetDeviceCaps(LOGPIXELSX), dc->GetDeviceCaps(LOGPIXELSY)};
  surface_.SetResolutions(screenDpi_, printerDpi_);
  Atom* root = document_->GetRoot();
  const PositionRange& s = document_->Selection();
  if (info && info->m_pPD && (info->m_pPD->m_pd.Flags & PD_SELECTION))
    printCopy_.reset(root->CloneRange(s.Lower(), s.Upper()));
  else
    printCopy_.reset(root->CloneRange(FirstPosition(), LastPosition()));
  if (!printCopy_) return false;
  int saved = dc->SaveDC();
  ++deviceChanges_;
  surface_.BeginDevice(dc->GetSafeHdc(), &document_->Viewer().Colors(), true);
  const LONG bodyWidth = dc->GetDeviceCaps(HORZRES) * 8 / 10;
  printCopy_->Reset(2);
  Position* continuation = nullptr;
  printCopy_->Format(this, LayoutRect::Of(0, bodyWidth, 0, kUnboundedHeight), continuation, FirstPosition(), 0);
  delete continuation;
  LayoutRect e;
  if (printCopy_->Extent(e, this, FirstPosition(), LastPosition(), 1) != 0 || !e.IsComputed())
    e = LayoutRect::Of(0, 0, 0, 0);
  // The selection's highlight is not printed.
  printCopy_->ClearMarks(FirstPosition(), LastPosition(), 0xFF);
  surface_.End();
  dc->RestoreDC(saved);
  const LONG bodyHeight = std::max<LONG>(1, dc->GetDeviceCaps(VERTRES) * 8 / 10);
  if (info) {
    info->m_nCurPage = 1;
    info->SetMaxPage(static_cast<UINT>(std::max<LONG>(1, (bodyHeight + e.Height() - 1) / bodyHeight)));
  }
  return true;
}

void TextView::PrintPage(CDC* dc, CPrintInfo* info, const CString& leftFooter, const CString& rightFooter) {
  if (!dc || !printCopy_ || !document_) return;
  const LONG wp = dc->GetDeviceCaps(HORZRES), hp = dc->GetDeviceCaps(VERTRES);
  const LONG bw = wp * 8 / 10, bh = hp * 8 / 10;
  const LONG n = info ? static_cast<LONG>(info->m_nCurPage) : 1;
  int saved = dc->SaveDC();
  ++deviceChanges_;
  surface_.BeginDevice(dc->GetSafeHdc(), &document_->Viewer().Colors(), true);
  LayoutRect e;
  if (printCopy_->Extent(e, this, FirstPosition(), LastPosition(), 1) != 0 || !e.IsComputed())
    e = LayoutRect::Of(0, 0, 0, 0);
  LayoutRect band = LayoutRect::Of(e.left, e.left + bw, e.top + (n - 1) * bh, e.top + n * bh);
  LayoutPoint offset{-e.left + wp / 10, (1 - n) * bh - e.top + hp / 10};
  printCopy_->Draw(this, offset, band, FirstPosition(), LastPosition(), 1, &WholeDocument());
  HDC h = dc->GetSafeHdc();
  // Lines that cross the band's edges are cut by white margins.
  auto white = [&](LONG x, LONG y, LONG w, LONG hh) {
    RECT r{x, y, x + w, y + hh};
    ::FillRect(h, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  };
  white(wp / 10, 0, 9 * wp / 10, hp / 10);
  white(wp / 10, 9 * hp / 10, 9 * wp / 10, hp);
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(h, pen);
  MoveToEx(h, wp / 10, 9 * hp / 10, nullptr);
  LineTo(h, 9 * wp / 10, 9 * hp / 10);
  SelectObject(h, oldPen);
  DeleteObject(pen);
  surface_.SetFont(FontDescriptor(0, 0, 100, 0));
  SetTextColor(h, RGB(0, 0, 0));
  SetBkMode(h, TRANSPARENT);
  SetTextAlign(h, TA_LEFT | TA_TOP);
  TextOut(h, wp / 10, 91 * hp / 100, leftFooter, leftFooter.GetLength());
  SetTextAlign(h, TA_RIGHT | TA_TOP);
  TextOut(h, 9 * wp / 10, 91 * hp / 100, rightFooter, rightFooter.GetLength());
  surface_.End();
  dc->RestoreDC(saved);
}

void TextView::EndPrinting() {
  printCopy_.reset();
  ++deviceChanges_;
}

// ---- Output ---------------------------------------------------------------------

bool TextView::DrawText(const LayoutPoint& b, const char* t, LONG n, const FontDescriptor& d) {
  return surface_.DrawText(b, t, n, d);
}
bool TextView::TextExtent(LayoutRect& box, const char* t, LONG n, const FontDescriptor& d) {
  return surface_.TextExtent(box, t, n, d);
}
bool TextView::BlankExtent(LayoutRect& box, LONG count, const FontDescriptor& d) {
  return surface_.BlankExtent(box, count, d);
}
bool TextView::FillRect(const LayoutRect& rect, const FontDescriptor& d) { return surface_.FillRect(rect, d); }
bool TextView::Polygon(const LayoutPoint* p, int count, const FontDescriptor& d) { return surface_.Polygon(p, count, d); }
bool TextView::Ellipse(const LayoutRect& rect, const FontDescriptor& d) { return surface_.Ellipse(rect, d); }
bool TextView::Line(const LayoutPoint& a, const LayoutPoint& b, const FontDescriptor& d) { return surface_.Line(a, b, d); }
LONG TextView::FontSize(const FontDescriptor& d) { return surface_.FontSize(d); }
void TextView::PictureSize(LayoutSize& out, NamedObject* picture) { surface_.PictureSize(out, picture); }
void TextView::ScaleToDevice(LayoutSize& size) { surface_.ScaleToDevice(size); }
bool TextView::StretchPicture(const LayoutPoint& at, const LayoutSize& size, NamedObject* picture) {
  return surface_.StretchPicture(at, size, picture);
}
bool TextView::DrawPicture(const LayoutPoint& at, const LayoutRect& source, NamedObject* picture) {
  return surface_.DrawPicture(at, source, picture);
}

void TextView::ForwardRequest(const CString& action, const CString& query) {
  if (listener_) listener_->ForwardRequest(action, query);
}
