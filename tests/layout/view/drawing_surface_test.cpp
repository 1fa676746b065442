// The drawing surface: measuring in a descriptor's font, the document
// background that is never printed, pictures with a transparent colour, and
// the caches of drawing objects.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_factory_impl.h"
#include "layout/view/drawing_surface.h"
#include "layout/view/support/view_fixture.h"
#include "pixolt.h"
#include "text/style/color_table.h"
#include "win/gdi.h"
#include "win/print.h"

namespace view_test {
namespace {

// A white 24-bit memory DC.
class MemoryDc {
 public:
  MemoryDc(int w, int h) : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(w, h, 1, 24, nullptr)) {
    old_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, w, h, WHITENESS);
  }
  ~MemoryDc() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

class SurfaceTest : public ViewTest {
 protected:
  ColorTable colors_{true};
  DrawingSurface surface_;
};

TEST_F(SurfaceTest, TextAndBlanksAreMeasuredInTheDescriptorsFont) {
  MemoryDc m(100, 50);
  ASSERT_TRUE(surface_.BeginDevice(m.dc(), &colors_));
  FontDescriptor d(0, 0, 100, 0);
  LayoutRect blank, empty, three, none, word;
  surface_.BlankExtent(blank, 1, d);
  surface_.BlankExtent(three, 3, d);
  surface_.BlankExtent(none, 0, d);
  surface_.TextExtent(empty, "", 0, d);
  surface_.TextExtent(word, "harbour", 7, d);
  surface_.End();
  ASSERT_GT(blank.Width(), 0);
  EXPECT_EQ(three.Width(), 3 * blank.Width());
  EXPECT_EQ(none.Width(), 0);
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(empty.Height(), blank.Height());
  EXPECT_LT(empty.top, 0);  // above the baseline
  EXPECT_GT(word.Width(), 4 * blank.Width());
  // A larger scale measures larger.
  FontDescriptor big(0, 0, 200, 0);
  LayoutRect bigWord;
  ASSERT_TRUE(surface_.BeginDevice(m.dc(), &colors_));
  surface_.TextExtent(bigWord, "harbour", 7, big);
  surface_.End();
  EXPECT_GT(bigWord.Width(), word.Width() * 3 / 2);
}

TEST_F(SurfaceTest, TheDocumentBackgroundIsFilledOnTheScreenOnly) {
  MemoryDc screen(20, 20);
  FontDescriptor background(8, 0, 100, 0);  // stored style number 9
  background.color = ColorRecord::Rgb(10, 200, 30);
  ASSERT_TRUE(surface_.BeginDevice(screen.dc(), &colors_));
  surface_.FillRect(LayoutRect::Of(0, 10, 0, 10), background);
  surface_.End();
  EXPECT_EQ(screen.At(5, 5), RGB(10, 200, 30));
  EXPECT_EQ(screen.At(15, 15), RGB(255, 255, 255));

  win::print::InstallPdfPrinter();
  HDC printer = CreateDC(win::print::kPrinterDriver, win::print::kPrinterName, nullptr, nullptr);
  ASSERT_NE(printer, nullptr);
  ASSERT_NE(GetDeviceCaps(printer, TECHNOLOGY), DT_RASDISPLAY);
  DOCINFO doc{sizeof(DOCINFO), "d", nullptr, nullptr, 0};
  ASSERT_GT(StartDoc(printer, &doc), 0);
  StartPage(printer);
  ASSERT_TRUE(surface_.BeginDevice(printer, &colors_, true));
  surface_.FillRect(LayoutRect::Of(0, 10, 0, 10), background);
  surface_.End();
  EXPECT_EQ(GetPixel(printer, 5, 5) & 0xFFFFFF, RGB(255, 255, 255));
  EndPage(printer);
  AbortDoc(printer);
  DeleteDC(printer);
}

TEST_F(SurfaceTest, PictureSizesScaleToThePrintersResolution) {
  win::print::InstallPdfPrinter();
  HDC printer = CreateDC(win::print::kPrinterDriver, win::print::kPrinterName, nullptr, nullptr);
  ASSERT_NE(printer, nullptr);
  surface_.SetResolutions(SIZE{96, 96}, SIZE{600, 600});
  LayoutSize size{97, 10};
  ASSERT_TRUE(surface_.BeginDevice(printer, &colors_, true));
  surface_.ScaleToDevice(size);
  surface_.End();
  EXPECT_EQ(size.cx, 606);  // 606.25
  EXPECT_EQ(size.cy, 63);
  MemoryDc screen(4, 4);
  LayoutSize same{97, 10};
  ASSERT_TRUE(surface_.BeginDevice(screen.dc(), &colors_));
  surface_.ScaleToDevice(same);
  surface_.End();
  EXPECT_EQ(same.cx, 97);
  DeleteDC(printer);
}

TEST_F(SurfaceTest, ATransparentColourLeavesTheBackgroundAndThePictureUntouched) {
  // 2 x 1 pixels: index 5 (transparent) on the left, index 1 (red) on the right.
  std::vector<unsigned> palette(8, 0x000000);
  palette[1] = 0xFF0000;
  palette[5] = 0x00FF00;
  std::string bmp = IndexedBmp(2, 1, palette, {5, 1});
  DibPicture* picture = CreatePictureFromBytes(bmp.data(), static_cast<LONG>(bmp.size()));
  ASSERT_NE(picture, nullptr);
  picture->acquire();
  // On a 24-bit screen the 8-bit picture is kept as it is; the transparent
  // index is set by hand as a reader that reports one would set it.
  DibPicture transparent(CopyDIB(picture->Dib()), CreateDIBPalette(picture->Dib()), 5);
  const std::vector<BYTE> before(static_cast<const BYTE*>(GlobalLock(transparent.Dib())),
                                 static_cast<const BYTE*>(GlobalLock(transparent.Dib())) + GlobalSize(transparent.Dib()));
  GlobalUnlock(transparent.Dib());
  GlobalUnlock(transparent.Dib());

  MemoryDc m(20, 10);
  RECT blue{0, 0, 20, 10};
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(m.dc(), &blue, brush);
  DeleteObject(brush);
  ASSERT_TRUE(surface_.BeginDevice(m.dc(), &colors_));
  surface_.StretchPicture(LayoutPoint{0, 0}, LayoutSize{20, 10}, &transparent);
  surface_.End();
  EXPECT_EQ(m.At(3, 5), RGB(0, 0, 255));  // the background shows through
  EXPECT_EQ(m.At(15, 5), RGB(255, 0, 0));
  const BYTE* after = static_cast<const BYTE*>(GlobalLock(transparent.Dib()));
  EXPECT_EQ(std::memcmp(before.data(), after, before.size()), 0);
  GlobalUnlock(transparent.Dib());
  picture->release();
}

TEST_F(SurfaceTest, AFontDroppedFromTheCacheIsNeverLeftSelected) {
  // The outer context keeps the first font selected while an inner pass
  // (an erase inside a paint) uses ten others and pushes it out.
  MemoryDc outer(100, 50), inner(100, 50);
  ASSERT_TRUE(surface_.BeginDevice(outer.dc(), &colors_));
  FontDescriptor first(0, 0, 100, 0);
  surface_.SelectFont(first);
  ASSERT_TRUE(surface_.BeginDevice(inner.dc(), &colors_));
  for (int scale = 101; scale <= 110; ++scale) {
    LayoutRect box;
    surface_.BlankExtent(box, 1, FontDescriptor(0, 0, static_cast<WORD>(scale), 0));
  }
  surface_.End();
  // Whatever the outer context holds now is a live font.
  LOGFONT lf;
  EXPECT_NE(GetObject(GetCurrentObject(outer.dc(), OBJ_FONT), sizeof lf, &lf), 0);
  // And it measures again with the first font once asked.
  LayoutRect again;
  EXPECT_TRUE(surface_.TextExtent(again, "x", 1, first));
  EXPECT_GT(again.Width(), 0);
  surface_.End();
}

}  // namespace
}  // namespace view_test
