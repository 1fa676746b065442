// CreateEmptyDib: the header, the colour table and the zeroed rows, with
// the block and biSizeImage in agreement; bad requests refused.
#include "core/empty_dib.h"

#include "dib_fixture.h"

namespace {

using pictures_testing::Owned;
using pictures_testing::PictureTest;
using pictures_testing::RowBytes;

class EmptyDib : public PictureTest {};

TEST_F(EmptyDib, HeaderTableAndSize) {
  struct Case {
    int bits, width, height;
    DWORD colors;
  };
  const Case cases[] = {{1, 17, 3, 2}, {4, 5, 2, 16}, {8, 3, 3, 256}, {24, 7, 5, 0}, {24, 1, 1, 0}};
  for (const Case& c : cases) {
    Owned dib(CreateEmptyDib(c.bits, c.width, c.height));
    ASSERT_TRUE(dib) << c.bits;
    const BITMAPINFOHEADER h = dib.Header();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, c.width);
    EXPECT_EQ(h.biHeight, c.height);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, c.bits);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biClrUsed, c.colors);
    EXPECT_EQ(h.biClrImportant, c.colors);
    // The 24-bit row length for every bit count, never below the real one.
    const DWORD row = (3 * c.width + 3) / 4 * 4;
    ASSERT_GE(row, RowBytes(c.width, c.bits));
    EXPECT_EQ(h.biSizeImage, row * c.height) << c.bits;
    EXPECT_EQ(GlobalSize(dib.get()), 40 + 4 * c.colors + h.biSizeImage) << c.bits;

    const BYTE* p = static_cast<const BYTE*>(GlobalLock(dib.get()));
    for (DWORD i = 40; i < GlobalSize(dib.get()); ++i)
      ASSERT_EQ(p[i], 0) << c.bits << " byte " << i;
    GlobalUnlock(dib.get());
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(EmptyDib, BadRequestsGiveNull) {
  struct Case {
    int bits, width, height;
  };
  const Case cases[] = {{0, 4, 4}, {2, 4, 4},  {16, 4, 4}, {32, 4, 4},    {8, 0, 4},
                        {8, 4, 0}, {8, -1, 4}, {8, 4, -4}, {8, 32768, 1}, {8, 1, 32768}};
  for (const Case& c : cases) {
    EXPECT_EQ(CreateEmptyDib(c.bits, c.width, c.height), nullptr)
        << c.bits << " " << c.width << "x" << c.height;
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(EmptyDib, MemoryFailureIsReported) {
  // 32767 x 32767 at the 24-bit row length is about 3 GB: more than the
  // global heap gives.
  EXPECT_EQ(CreateEmptyDib(24, kMaxDibDimension, kMaxDibDimension), nullptr);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "AFX_ERR_OUT_OF_MEM");
}

}  // namespace
