// The image cache: hits, the count and byte limits, eviction order, and
// the pictures of the shown page kept while it is shown.
#include <gtest/gtest.h>

#include "pages/page/page_parts.h"
#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/support/picture_fixture.h"
#include "support/packed_dib.h"

namespace pages_test {
namespace {

class ImageCacheTest : public PictureTest {
 protected:
  // An 8-bit picture of 20 x rows: 20 bytes a row, so rows x 20 bytes.
  std::string Picture(const std::string& name, int rows) {
    return WriteBmp(name, testing_support::PackDib(20, rows, 8, {0x000000, 0x00FF00}, false,
                                                   [](int x, int) { return static_cast<std::uint32_t>(x & 1); }));
  }
  ImageCache cache_;
};

TEST_F(ImageCacheTest, ASecondLoadIsAHit) {
  const CString a = Picture("a.bmp", 5).c_str();
  CDib* first = cache_.Load(a, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache_.UseCount(a), 2u);
  EXPECT_EQ(cache_.Load(a, 0), first);
  EXPECT_EQ(cache_.UseCount(a), 3u);
  EXPECT_EQ(cache_.Decodes(), 1);
  EXPECT_EQ(cache_.Find(""), nullptr);
  EXPECT_EQ(cache_.TotalBytes(), 100);
}

TEST_F(ImageCacheTest, TheByteBudgetEvictsTheLeastUsedLargestPicture) {
  cache_.SetMaxBytes(1000);
  const CString a = Picture("a.bmp", 30).c_str(), b = Picture("b.bmp", 30).c_str();
  ASSERT_NE(cache_.Load(a, 0), nullptr);
  EXPECT_EQ(cache_.TotalBytes(), 600);
  ASSERT_NE(cache_.Load(b, 0), nullptr);
  EXPECT_EQ(cache_.SlotOf(a), -1);
  EXPECT_EQ(cache_.SlotOf(b), ImageCache::kSlots - 1);
  EXPECT_EQ(cache_.ImageCount(), 1);

  // Too large for the budget: cached with use count 1, nothing evicted for
  // it, and the first to go next time.
  const CString big = Picture("big.bmp", 60).c_str();
  ASSERT_NE(cache_.Load(big, 0), nullptr);
  EXPECT_EQ(cache_.UseCount(big), 1u);
  EXPECT_NE(cache_.SlotOf(b), -1);
  ASSERT_NE(cache_.Load(Picture("c.bmp", 10).c_str(), 0), nullptr);
  EXPECT_EQ(cache_.SlotOf(big), -1);
}

TEST_F(ImageCacheTest, TheCountLimitIsAtLeastFiftyAndEvictsOne) {
  cache_.SetMaxCount(10);
  EXPECT_EQ(cache_.MaxCount(), 50);
  for (int i = 0; i < 51; ++i) ASSERT_NE(cache_.Load(Picture("p" + std::to_string(i) + ".bmp", 1).c_str(), 0), nullptr);
  EXPECT_EQ(cache_.ImageCount(), 50);
}

TEST_F(ImageCacheTest, APagesPicturesStayWhileItIsShownEvenBeyondTheBudget) {
  cache_.SetMaxBytes(1000);
  int page = 0, otherPage = 0;
  std::vector<CString> names;
  for (int i = 0; i < 4; ++i) names.push_back(Picture("p" + std::to_string(i) + ".bmp", 30).c_str());
  // Ten paints of a page of four 600-byte pictures: each decoded once.
  for (int paint = 0; paint < 10; ++paint)
    for (const CString& name : names) ASSERT_NE(cache_.Load(name, 1, &page), nullptr);
  EXPECT_EQ(cache_.Decodes(), 4);
  EXPECT_EQ(cache_.TotalBytes(), 2400);
  // Another page's pictures make room as the budget says.
  ASSERT_NE(cache_.Load(Picture("q.bmp", 30).c_str(), 1, &otherPage), nullptr);
  EXPECT_EQ(cache_.ImageCount(), 1);
}

TEST_F(ImageCacheTest, FailuresGiveNullAndALogLine) {
  EXPECT_EQ(cache_.Load(tmp_.file("missing.bmp").c_str(), 0), nullptr);
  EXPECT_EQ(cache_.Load(tmp_.write("bad.bmp", "BM broken").c_str(), 0), nullptr);
  EXPECT_EQ(cache_.Load("", 0), nullptr);
  const auto lines = LogLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "image " + tmp_.file("missing.bmp") + " not available");
  EXPECT_EQ(lines.back(), "cannot load image " + tmp_.file("bad.bmp"));
  EXPECT_EQ(cache_.ImageCount(), 0);
}

TEST_F(ImageCacheTest, LargestPaletteImageHasTheMostColours) {
  EXPECT_EQ(cache_.LargestPaletteImage(), nullptr);
  CDib* two = cache_.Load(Picture("two.bmp", 2).c_str(), 0);
  auto sixteen = testing_support::PackDib(4, 4, 8, std::vector<std::uint32_t>(16, 0x112233), false,
                                          [](int x, int) { return static_cast<std::uint32_t>(x); });
  CDib* many = cache_.Load(WriteBmp("many.bmp", sixteen).c_str(), 0);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(cache_.LargestPaletteImage(), many);
}

TEST_F(ImageCacheTest, OnAPaletteDisplayThePagePaletteIsTheDisplaysOwn) {
  UseDisplay(8);
  EXPECT_EQ(LargestCachedPalette(), nullptr);
  ASSERT_NE(TheImageCache().Load(Picture("pal.bmp", 4).c_str(), 0), nullptr);
  HPALETTE palette = LargestCachedPalette();
  ASSERT_NE(palette, nullptr);
  // The dither palette: the system colours, then the colour cube.
  PALETTEENTRY entries[236];
  ASSERT_EQ(GetPaletteEntries(palette, 0, 236, entries), 236u);
  EXPECT_EQ(RGB(entries[235].peRed, entries[235].peGreen, entries[235].peBlue), RGB(255, 255, 255));
  EXPECT_EQ(RGB(entries[20 + 1].peRed, entries[20 + 1].peGreen, entries[20 + 1].peBlue), RGB(51, 0, 0));
}

}  // namespace
}  // namespace pages_test
