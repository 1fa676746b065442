// The DC and GDI-object wrappers drawing through GDI: objects selected and
// the old ones given back as objects of their kind, shapes and fills in the
// right pixels, window DCs taken and given back, objects deleted with their
// wrappers, and temporary wrappers for handles.
#include <gtest/gtest.h>

#include <vector>

#include "mfc/afx.h"
#include "support/mfc_fixture.h"

namespace {

using mfc_test::MfcTest;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class DcTest : public MfcTest {
 protected:
  // A memory DC with a white 40 x 30 picture selected.
  void MakeCanvas(CDC& dc, CBitmap& bitmap) {
    CClientDC screen(nullptr);
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 40, 30));
    CBitmap* old = dc.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);  // the DC's own 1 x 1 bitmap, as a temporary object
    EXPECT_NE(old, &bitmap);
    dc.FillSolidRect(0, 0, 40, 30, kWhite);
  }
};

TEST_F(DcTest, SelectObjectAnswersTheOldObjectOfItsKind) {
  CDC dc;
  CBitmap bitmap;
  MakeCanvas(dc, bitmap);
  CPen red(PS_SOLID, 1, kRed);
  CBrush green(kGreen);
  CPen* oldPen = dc.SelectObject(&red);
  CBrush* oldBrush = dc.SelectObject(&green);
  ASSERT_NE(oldPen, nullptr);
  ASSERT_NE(oldBrush, nullptr);
  EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
  EXPECT_EQ(oldBrush->m_hObject, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(oldPen->IsKindOf(RUNTIME_CLASS(CPen)));
  // Objects the program made come back as themselves.
  EXPECT_EQ(dc.SelectObject(oldPen), &red);
  EXPECT_EQ(dc.SelectObject(&red), oldPen);
  EXPECT_EQ(dc.GetCurrentBrush(), &green);
  // The generic form looks the kind up from the handle.
  CGdiObject* generic = CGdiObject::FromHandle(GetStockObject(DKGRAY_BRUSH));
  EXPECT_TRUE(generic->IsKindOf(RUNTIME_CLASS(CBrush)));
  EXPECT_EQ(dc.SelectObject(oldBrush), &green);
  dc.SelectObject(oldPen);
}

TEST_F(DcTest, ShapesAndFillsLandOnTheRightPixels) {
  CDC dc;
  CBitmap bitmap;
  MakeCanvas(dc, bitmap);
  CPen blue(PS_SOLID, 1, kBlue);
  CBrush green(kGreen);
  CPen* oldPen = dc.SelectObject(&blue);
  CBrush* oldBrush = dc.SelectObject(&green);
  dc.Rectangle(2, 2, 12, 10);  // outline blue, inside green, right and bottom outside
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
  dc.Draw3dRect(20, 2, 10, 8, kRed, kBlack);
  CBrush red(kRed);
  dc.FillRect(CRect(2, 20, 6, 24), &red);
  dc.MoveTo(30, 20);
  dc.LineTo(35, 20);

  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe probes[] = {
      {2, 2, kBlue},     {11, 9, kBlue},   {5, 5, kGreen},    {12, 10, kWhite},  // rectangle
      {20, 2, kRed},     {20, 8, kRed},    {29, 2, kBlack},   {29, 9, kBlack},   // 3-D frame
      {21, 9, kBlack},   {24, 5, kWhite},                                          // its inside
      {2, 20, kRed},     {5, 23, kRed},    {6, 23, kWhite},                        // fill
      {30, 20, kBlack},  {34, 20, kBlack}, {35, 20, kWhite},                       // line
  };
  for (const Probe& p : probes) EXPECT_EQ(dc.GetPixel(p.x, p.y), p.expected) << p.x << "," << p.y;
}

TEST_F(DcTest, TextAndClipping) {
  CDC dc;
  CBitmap bitmap;
  MakeCanvas(dc, bitmap);
  CFont font;
  ASSERT_TRUE(font.CreatePointFont(100, "Arial", &dc));
  LOGFONT lf{};
  ASSERT_GT(font.GetLogFont(&lf), 0);
  EXPECT_EQ(lf.lfHeight, -13);  // 10 points at 96 dots per inch
  CFont* old = dc.SelectObject(&font);
  const CSize size = dc.GetTextExtent(CString("Wide text"));
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  // Only the clip rectangle is drawn on.
  dc.IntersectClipRect(0, 0, 10, 30);
  dc.FillSolidRect(0, 0, 40, 30, kRed);
  EXPECT_EQ(dc.GetPixel(5, 5), kRed);
  EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION);
  EXPECT_EQ(dc.GetPixel(15, 5), kWhite);
  dc.SelectObject(old);
}

TEST_F(DcTest, WrappersDeleteWhatTheyOwnAndLeaveWhatTheyBorrow) {
  HGDIOBJ handle = nullptr;
  {
    CPen pen(PS_SOLID, 2, kRed);
    handle = pen.m_hObject;
    EXPECT_EQ(CGdiObject::FromHandle(handle), &pen);  // permanent while it lives
  }
  EXPECT_EQ(GetObjectType(handle), 0u);  // deleted with the wrapper
  // A detached handle stays.
  HGDIOBJ kept = nullptr;
  {
    CBrush brush(kBlue);
    kept = brush.Detach();
  }
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
  // A temporary wrapper never deletes its handle.
  CBrush* temp = CBrush::FromHandle(static_cast<HBRUSH>(kept));
  ASSERT_NE(temp, nullptr);
  CWinApp app("Idle");
  app.OnIdle(1);  // temporaries go
  EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_TRUE(DeleteObject(kept));
  // A DC made by a wrapper is deleted by it; a borrowed one is not.
  HDC made = nullptr;
  {
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    made = dc.m_hDC;
    EXPECT_EQ(CDC::FromHandle(made), &dc);
  }
  EXPECT_EQ(GetObjectType(made), 0u);
}

class Painter : public CWnd {
 public:
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    paintRect = dc.m_ps.rcPaint;
    dc.FillSolidRect(&dc.m_ps.rcPaint, kBlue);
    ++paints;
  }
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  CRect paintRect;
  int paints = 0;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Painter, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TEST_F(DcTest, WindowDCsPaintTheUpdateAreaAndTheClientArea) {
  Painter w;
  ASSERT_TRUE(w.CreateEx(0, AfxRegisterWndClass(0), "paint", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                         nullptr, nullptr));
  w.UpdateWindow();
  EXPECT_EQ(w.paints, 1);
  EXPECT_EQ(w.paintRect, CRect(0, 0, 60, 40));
  {
    CClientDC dc(&w);
    EXPECT_EQ(dc.GetPixel(30, 20), kBlue);
    dc.FillSolidRect(0, 0, 60, 40, kWhite);
  }
  // Only the invalid part is painted again.
  w.InvalidateRect(CRect(10, 10, 20, 20), FALSE);
  w.UpdateWindow();
  EXPECT_EQ(w.paints, 2);
  EXPECT_EQ(w.paintRect, CRect(10, 10, 20, 20));
  CClientDC dc(&w);
  EXPECT_EQ(dc.GetPixel(15, 15), kBlue);
  EXPECT_EQ(dc.GetPixel(25, 25), kWhite);
  {
    CWindowDC whole(&w);
    EXPECT_NE(whole.m_hDC, nullptr);
  }
  // A DC from the window object is a temporary, given back with ReleaseDC.
  CDC* temp = w.GetDC();
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->GetPixel(15, 15), kBlue);
  EXPECT_EQ(w.ReleaseDC(temp), 1);
  w.DestroyWindow();
}

}  // namespace
