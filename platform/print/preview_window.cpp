// Print preview: a child window over the frame's client area with a
// toolbar of its own drawing and the current page, shrunk to fit (or zoomed
// in with scroll bars). Pages are drawn on the printer DC the document was
// prepared for, so the preview shows what the printer would get.
#include "print/preview_window.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi/surface.h"
#include "print/pdf_printer.h"
#include "print/preview_render.h"
#include "win/gdi.h"
#include "win/user.h"

namespace win::print {
namespace {

constexpr int kToolbarHeight = 30;
constexpr int kButtonWidth = 78;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 4;
constexpr int kMargin = 12;  // grey around the page
constexpr int kMaxZoom = 2;  // each step doubles the whole-page size
constexpr int kScrollLine = 20;
constexpr COLORREF kAreaColor = RGB(128, 128, 128);

struct Button {
  UINT id;
  const char* text;
};
constexpr Button kButtons[] = {
    {AFX_ID_PREVIEW_PRINT, "&Print..."}, {AFX_ID_PREVIEW_NEXT, "&Next Page"},
    {AFX_ID_PREVIEW_PREV, "Pre&v Page"}, {AFX_ID_PREVIEW_ZOOMIN, "Zoom &In"},
    {AFX_ID_PREVIEW_ZOOMOUT, "Zoom &Out"}, {AFX_ID_PREVIEW_CLOSE, "&Close"},
};
constexpr int kButtonCount = static_cast<int>(sizeof kButtons / sizeof kButtons[0]);

struct Preview {
  PreviewOptions options;
  HDC dc = nullptr;
  bool ownDc = false;
  UINT page = 0;
  UINT lastPage = 0;  // 0: not known yet
  int zoom = 0;
  std::unique_ptr<gdi::Surface> picture;  // the page at printer resolution
  std::unique_ptr<gdi::Surface> shown;    // the page at the size shown
  RECT pageRect{0, 0, 0, 0};              // client coordinates
  int pressed = -1;                       // button held down
  bool closing = false;
  bool laying = false;                    // guards Layout against its own WM_SIZE
  std::vector<HWND> hidden;               // the frame's children hidden meanwhile
  HWND focusBefore = nullptr;             // gets the focus back at the end
};

Preview* StateOf(HWND wnd) {
  return reinterpret_cast<Preview*>(GetWindowLong(wnd, GWL_USERDATA));
}

RECT ButtonRect(int index) {
  const int x = kButtonGap + index * (kButtonWidth + kButtonGap);
  const int y = (kToolbarHeight - kButtonHeight) / 2;
  return RECT{x, y, x + kButtonWidth, y + kButtonHeight};
}

int ButtonIndex(UINT id) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtons[i].id == id) return i;
  }
  return -1;
}

int HitButton(POINT pt) {
  for (int i = 0; i < kButtonCount; ++i) {
    const RECT r = ButtonRect(i);
    if (PtInRect(&r, pt)) return i;
  }
  return -1;
}

bool Enabled(const Preview& p, UINT id) {
  switch (id) {
    case AFX_ID_PREVIEW_NEXT:
      return p.page < p.options.maxPage && (p.lastPage == 0 || p.page < p.lastPage);
    case AFX_ID_PREVIEW_PREV: return p.page > p.options.minPage;
    case AFX_ID_PREVIEW_ZOOMIN: return p.zoom < kMaxZoom;
    case AFX_ID_PREVIEW_ZOOMOUT: return p.zoom > 0;
    case AFX_ID_PREVIEW_PRINT: return static_cast<bool>(p.options.print);
    case AFX_ID_PREVIEW_CLOSE: return true;
    default: return false;
  }
}

// The page area as it would be without scroll bars: what the whole-page
// size is measured against, so that zoom steps stay exact doublings.
SIZE FullArea(HWND wnd) {
  RECT window{};
  GetWindowRect(wnd, &window);
  return SIZE{window.right - window.left,
              std::max(0, static_cast<int>(window.bottom - window.top) - kToolbarHeight)};
}

RECT PageArea(HWND wnd) {
  RECT client{};
  GetClientRect(wnd, &client);
  client.top = kToolbarHeight;
  if (client.bottom < client.top) client.bottom = client.top;
  return client;
}

// Scale, scroll ranges and the page's place for the current zoom and size.
void Layout(HWND wnd, Preview& p) {
  if (p.laying || !p.picture) return;
  p.laying = true;
  const int pw = p.picture->width();
  const int ph = p.picture->height();
  const SIZE full = FullArea(wnd);
  const double fit = std::min(static_cast<double>(full.cx - 2 * kMargin) / pw,
                              static_cast<double>(full.cy - 2 * kMargin) / ph);
  const double scale = std::max(fit, 0.01) * static_cast<double>(1 << p.zoom);
  const int w = std::max(1, static_cast<int>(pw * scale + 0.5));
  const int h = std::max(1, static_cast<int>(ph * scale + 0.5));
  for (int pass = 0; pass < 2; ++pass) {  // again when a scroll bar came or went
    const RECT area = PageArea(wnd);
    const int aw = area.right - area.left;
    const int ah = area.bottom - area.top;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, w + 2 * kMargin - 1,
                  static_cast<UINT>(std::max(aw, 0)), 0, 0};
    SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
    si.nMax = h + 2 * kMargin - 1;
    si.nPage = static_cast<UINT>(std::max(ah, 0));
    SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    const RECT now = PageArea(wnd);
    const int x = w + 2 * kMargin <= aw ? (aw - w) / 2 : kMargin - GetScrollPos(wnd, SB_HORZ);
    const int y = area.top +
                  (h + 2 * kMargin <= ah ? (ah - h) / 2 : kMargin - GetScrollPos(wnd, SB_VERT));
    p.pageRect = RECT{x, y, x + w, y + h};
    if (!p.shown || p.shown->width() != w || p.shown->height() != h) p.shown.reset();
    if (now.right == area.right && now.bottom == area.bottom) break;
  }
  p.laying = false;
}

bool GoToPage(HWND wnd, Preview& p, UINT page) {
  if (page < p.options.minPage || page > p.options.maxPage) return false;
  std::unique_ptr<gdi::Surface> picture = RenderPreviewPage(p.dc, page, p.options.render);
  if (!picture) {
    // The document ends before this page.
    if (page > p.page) p.lastPage = p.page;
    InvalidateRect(wnd, nullptr, FALSE);
    return false;
  }
  p.picture = std::move(picture);
  p.shown.reset();
  p.page = page;
  SetScrollPos(wnd, SB_HORZ, 0, FALSE);
  SetScrollPos(wnd, SB_VERT, 0, FALSE);
  Layout(wnd, p);
  InvalidateRect(wnd, nullptr, FALSE);
  return true;
}

void DrawToolbar(HDC dc, const Preview& p, const RECT& client) {
  RECT bar{client.left, client.top, client.right, kToolbarHeight};
  FillRect(dc, &bar, GetSysColorBrush(COLOR_3DFACE));
  RECT line{client.left, kToolbarHeight - 1, client.right, kToolbarHeight};
  FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < kButtonCount; ++i) {
    RECT r = ButtonRect(i);
    DrawEdge(dc, &r, p.pressed == i ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const bool on = Enabled(p, kButtons[i].id);
    SetTextColor(dc, GetSysColor(on ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (p.pressed == i) OffsetRect(&r, 1, 1);
    DrawText(dc, kButtons[i].text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  RECT label = ButtonRect(kButtonCount);
  label.right = client.right;
  const std::string text = "Page " + std::to_string(p.page);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawText(dc, text.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void DrawPage(HDC dc, Preview& p, const RECT& area) {
  HBRUSH grey = CreateSolidBrush(kAreaColor);
  FillRect(dc, &area, grey);
  DeleteObject(grey);
  if (!p.picture) return;
  const RECT& r = p.pageRect;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (!p.shown) p.shown = ScalePicture(*p.picture, w, h);
  if (!p.shown) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  RECT shadow{r.left + 4, r.top + 4, r.right + 4, r.bottom + 4};
  FillRect(dc, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down, as the surface's rows are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  StretchDIBits(dc, r.left, r.top, w, h, 0, 0, w, h, p.shown->pixels(), &info, DIB_RGB_COLORS,
                SRCCOPY);
  RECT frame{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, saved);
}

void Scroll(HWND wnd, Preview& p, int bar, int code) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(wnd, bar, &si)) return;
  const int page = static_cast<int>(si.nPage);
  int pos = si.nPos;
  switch (code) {
    case SB_LINEUP: pos -= kScrollLine; break;
    case SB_LINEDOWN: pos += kScrollLine; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  SetScrollPos(wnd, bar, pos, TRUE);
  Layout(wnd, p);
  InvalidateRect(wnd, nullptr, FALSE);
}

// The frame's children come back.
void ShowHidden(Preview& p) {
  for (HWND sibling : p.hidden) {
    if (IsWindow(sibling)) ShowWindow(sibling, SW_SHOWNA);
  }
  p.hidden.clear();
}

// Ends the preview: the frame's children and the focus come back, the
// window goes, then the owner hears of it.
void Close(HWND wnd, Preview& p, bool print) {
  if (p.closing) return;
  p.closing = true;
  ShowHidden(p);
  if (IsWindow(p.focusBefore) && IsWindowVisible(p.focusBefore)) SetFocus(p.focusBefore);
  std::function<void()> closed = std::move(p.options.closed);
  std::function<void()> printer = print ? std::move(p.options.print) : nullptr;
  DestroyWindow(wnd);  // `p` is gone after this
  if (closed) closed();
  if (printer) printer();
}

void Command(HWND wnd, Preview& p, UINT id) {
  if (!Enabled(p, id)) return;
  switch (id) {
    case AFX_ID_PREVIEW_NEXT: GoToPage(wnd, p, p.page + 1); break;
    case AFX_ID_PREVIEW_PREV: GoToPage(wnd, p, p.page - 1); break;
    case AFX_ID_PREVIEW_ZOOMIN:
    case AFX_ID_PREVIEW_ZOOMOUT:
      p.zoom += id == AFX_ID_PREVIEW_ZOOMIN ? 1 : -1;
      SetScrollPos(wnd, SB_HORZ, 0, FALSE);
      SetScrollPos(wnd, SB_VERT, 0, FALSE);
      Layout(wnd, p);
      InvalidateRect(wnd, nullptr, FALSE);
      break;
    case AFX_ID_PREVIEW_CLOSE: Close(wnd, p, false); break;
    case AFX_ID_PREVIEW_PRINT: Close(wnd, p, true); break;
    default: break;
  }
}

LRESULT PreviewProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  Preview* p = StateOf(wnd);
  if (!p) return DefWindowProc(wnd, msg, wp, lp);
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(wnd, &ps);
      RECT client{};
      GetClientRect(wnd, &client);
      DrawToolbar(dc, *p, client);
      DrawPage(dc, *p, PageArea(wnd));
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_SIZE:
      Layout(wnd, *p);
      InvalidateRect(wnd, nullptr, FALSE);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(wnd, *p, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
      return 0;
    case WM_LBUTTONDOWN: {
      SetFocus(wnd);
      const int hit = HitButton(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      if (hit >= 0 && Enabled(*p, kButtons[hit].id)) {
        p->pressed = hit;
        SetCapture(wnd);
        const RECT r = ButtonRect(hit);
        InvalidateRect(wnd, &r, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (p->pressed < 0) return 0;
      const int was = p->pressed;
      p->pressed = -1;
      ReleaseCapture();
      const RECT r = ButtonRect(was);
      InvalidateRect(wnd, &r, FALSE);
      if (HitButton(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}) == was) {
        SendMessage(wnd, WM_COMMAND, kButtons[was].id, 0);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (p->pressed >= 0) {
        const RECT r = ButtonRect(p->pressed);
        p->pressed = -1;
        InvalidateRect(wnd, &r, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      switch (wp) {
        case VK_NEXT: Command(wnd, *p, AFX_ID_PREVIEW_NEXT); return 0;
        case VK_PRIOR: Command(wnd, *p, AFX_ID_PREVIEW_PREV); return 0;
        case VK_ESCAPE: Command(wnd, *p, AFX_ID_PREVIEW_CLOSE); return 0;
        default: break;
      }
      break;
    case WM_COMMAND:
      Command(wnd, *p, LOWORD(wp));
      return 0;
    case WM_DESTROY: {
      ShowHidden(*p);
      if (!p->closing) {
        // The frame went away under the preview.
        p->closing = true;
        std::function<void()> closed = std::move(p->options.closed);
        if (closed) closed();
      }
      return 0;
    }
    case WM_NCDESTROY: {
      SetWindowLong(wnd, GWL_USERDATA, 0);
      if (p->ownDc && p->dc) DeleteDC(p->dc);
      delete p;
      return DefWindowProc(wnd, msg, wp, lp);
    }
    default:
      break;
  }
  return DefWindowProc(wnd, msg, wp, lp);
}

bool RegisterPreviewClass() {
  WNDCLASS existing{};
  if (GetClassInfo(nullptr, kPreviewClass, &existing)) return true;
  WNDCLASS wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = PreviewProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPreviewClass;
  return RegisterClass(&wc) != 0;
}

}  // namespace

HWND ShowPrintPreview(HWND frame, PreviewOptions options) {
  if (!frame || !IsWindow(frame) || !options.render || !RegisterPreviewClass()) return nullptr;
  if (options.minPage < 1) options.minPage = 1;
  if (options.maxPage < options.minPage) return nullptr;
  if (options.firstPage < options.minPage || options.firstPage > options.maxPage) {
    options.firstPage = options.minPage;
  }
  auto p = std::make_unique<Preview>();
  p->dc = options.printerDc;
  if (!p->dc) {
    EnsurePrinterInstalled();
    p->dc = CreateDC(kPrinterDriver, kPrinterName, nullptr, nullptr);
    p->ownDc = true;
  }
  p->picture = RenderPreviewPage(p->dc, options.firstPage, options.render);
  if (!p->picture) {
    if (p->ownDc && p->dc) DeleteDC(p->dc);
    return nullptr;
  }
  p->page = options.firstPage;
  p->options = std::move(options);

  p->focusBefore = GetFocus();
  // The frame's own children stand aside while the preview shows.
  for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) p->hidden.push_back(child);
  }
  for (HWND child : p->hidden) ShowWindow(child, SW_HIDE);

  RECT client{};
  GetClientRect(frame, &client);
  HWND wnd = CreateWindowEx(0, kPreviewClass, "Print Preview",
                            WS_CHILD | WS_CLIPSIBLINGS, 0, 0, client.right, client.bottom,
                            frame, nullptr, nullptr, nullptr);
  if (!wnd) {
    for (HWND child : p->hidden) ShowWindow(child, SW_SHOWNA);
    if (p->ownDc && p->dc) DeleteDC(p->dc);
    return nullptr;
  }
  Preview* state = p.release();
  SetWindowLong(wnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(state));
  Layout(wnd, *state);
  SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetFocus(wnd);
  return wnd;
}

UINT PreviewPage(HWND preview) {
  const Preview* p = IsWindow(preview) ? StateOf(preview) : nullptr;
  return p ? p->page : 0;
}

int PreviewZoom(HWND preview) {
  const Preview* p = IsWindow(preview) ? StateOf(preview) : nullptr;
  return p ? p->zoom : 0;
}

RECT PreviewButtonRect(HWND preview, UINT id) {
  const int i = ButtonIndex(id);
  if (i < 0 || !IsWindow(preview) || !StateOf(preview)) return RECT{0, 0, 0, 0};
  return ButtonRect(i);
}

RECT PreviewPageRect(HWND preview) {
  const Preview* p = IsWindow(preview) ? StateOf(preview) : nullptr;
  return p ? p->pageRect : RECT{0, 0, 0, 0};
}

bool PreviewButtonEnabled(HWND preview, UINT id) {
  const Preview* p = IsWindow(preview) ? StateOf(preview) : nullptr;
  return p && Enabled(*p, id);
}

}  // namespace win::print
