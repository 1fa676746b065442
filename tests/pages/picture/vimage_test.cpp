// VImage: layout by mode, drawing, scrolling, anchors and clicks, and the
// sample pictures of every format on a page at each display depth.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "pages/page/vpage.h"
#include "pages/picture/cdib.h"
#include "pages/picture/image_cache.h"
#include "pages/picture/vimage.h"
#include "pages/picture/support/picture_fixture.h"
#include "support/golden.h"
#include "support/packed_dib.h"
#include "support/temp_dir.h"

namespace pages_test {
namespace {

using testing_support::PackDib;

// A parent that records what its children tell it.
class Recorder : public VGroup {
 public:
  Recorder() : VGroup(0, 0, 640, 480) {}
  void Notify(int code, VObject* sender) override {
    codes.push_back(code);
    senders.push_back(sender);
  }
  std::vector<int> codes;
  std::vector<VObject*> senders;
};

class VImageTest : public PictureTest {
 protected:
  // A 24-bit picture: red left half, blue right half, a green top row.
  std::string Picture(const std::string& name, int w, int h) {
    return WriteBmp(name, PackDib(w, h, 24, {}, true, [w](int x, int y) -> std::uint32_t {
      if (y == 0) return 0x00FF00;
      return x < w / 2 ? 0xFF0000 : 0x0000FF;
    }));
  }
  // A picture whose every pixel tells its place: red = x, green = y.
  std::string Coordinates(const std::string& name, int w, int h) {
    return WriteBmp(name, PackDib(w, h, 24, {}, true, [](int x, int y) {
      return static_cast<std::uint32_t>(x << 16 | y << 8);
    }));
  }
};

TEST_F(VImageTest, LayoutPlacesThePictureByMode) {
  const std::string wide = Picture("wide.bmp", 200, 100), small = Picture("small.bmp", 50, 50);
  struct Case {
    const std::string* file;
    char mode;
    RECT expected;
  } cases[] = {
      {&wide, VImage::kAspectRatio, {0, 25, 100, 75}}, {&wide, VImage::kAspectLimit, {0, 25, 100, 75}},
      {&small, VImage::kAspectLimit, {25, 25, 75, 75}}, {&small, VImage::kAspectRatio, {0, 0, 100, 100}},
      {&wide, VImage::kCenter, {0, 0, 100, 100}},       {&small, VImage::kScroll, {25, 25, 75, 75}},
      {&small, VImage::kZoom, {0, 0, 100, 100}},        {&small, VImage::kTile, {0, 0, 100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << *c.file << " " << c.mode);
    VImage image(0, 0, 100, 100, nullptr);
    image.SetMode(c.mode);
    image.SetFileName(c.file->c_str(), 0);
    const RECT& r = image.Rect();
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    EXPECT_FALSE(image.IsEmpty());
  }
  VImage none(0, 0, 100, 100, tmp_.file("missing.bmp").c_str());
  EXPECT_TRUE(none.IsEmpty());
}

TEST_F(VImageTest, CenterShowsTheMiddleUnscaledAndZoomStretches) {
  const std::string file = Coordinates("xy.bmp", 40, 40);
  Canvas canvas(60, 60);
  VImage center(0, 0, 20, 20, file.c_str());
  center.SetMode(VImage::kCenter);
  center.Draw(canvas.dc(), RECT{0, 0, 20, 20});
  EXPECT_EQ(canvas.At(0, 0), 10u << 16 | 10u << 8);
  EXPECT_EQ(canvas.At(19, 19), 29u << 16 | 29u << 8);
  VImage zoom(20, 20, 40, 40, file.c_str());
  zoom.Draw(canvas.dc(), RECT{20, 20, 40, 40});
  EXPECT_NEAR(static_cast<double>(canvas.At(39, 39) >> 16), 38.5, 1.0);  // every second column
}

TEST_F(VImageTest, ScrollingIsClampedToThePicture) {
  VImage image(0, 0, 50, 50, Coordinates("s.bmp", 200, 100).c_str());
  image.SetMode(VImage::kScroll);
  struct Case {
    int x, y, ex, ey;
  } cases[] = {{1000, 1000, 150, 50}, {-5, -5, 0, 0}, {20, 30, 20, 30}};
  for (const Case& c : cases) {
    image.SetScroll(c.x, c.y);
    EXPECT_EQ(image.ScrollX(), c.ex);
    EXPECT_EQ(image.ScrollY(), c.ey);
  }
  Canvas canvas(50, 50);
  image.Draw(canvas.dc(), image.Rect());
  EXPECT_EQ(canvas.At(0, 0), 20u << 16 | 30u << 8);
  // A small drag moves the picture with the mouse; a jump does nothing.
  image.OnMouseDown(10, 10);
  image.OnMouseUp(15, 13);
  EXPECT_EQ(image.ScrollX(), 15);
  EXPECT_EQ(image.ScrollY(), 27);
  image.OnMouseDown(10, 10);
  image.OnMouseUp(30, 10);
  EXPECT_EQ(image.ScrollX(), 15);
}

TEST_F(VImageTest, AnchorsParseAndLieOverThePicture) {
  VImage image(0, 0, 200, 100, Picture("a.bmp", 200, 100).c_str());
  ImageAnchor circle("CIRCLE 0.5 0.5 0.1", 0, 1);
  EXPECT_EQ(circle.shape, 'c');
  const RECT r = image.AnchorRect(circle);
  EXPECT_EQ(r.left, 80);
  EXPECT_EQ(r.right, 120);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, 70);
  ImageAnchor whole("RECT\t0 0 1 1", 1, 1);
  const RECT w = image.AnchorRect(whole);
  EXPECT_EQ(w.left, 0);
  EXPECT_EQ(w.bottom, 100);
  ImageAnchor odd("POLYGON 0 0 1 1", 2, 1);
  EXPECT_EQ(odd.shape, 0);
  ImageAnchor empty("   ", 3, 1);
  EXPECT_EQ(empty.shape, 0);
  const auto lines = LogLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "unknown anchor position POLYGON 0 0 1 1"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "invalid image anchor position    "), lines.end());
}

TEST_F(VImageTest, ClicksReportTheAnchorOrThePicture) {
  auto* parent = new Recorder;
  auto* image = new VImage(0, 0, 200, 100, Picture("c.bmp", 200, 100).c_str());
  parent->AppendChild(image);
  image->AddAnchor(ImageAnchor("RECT 0 0 0.5 1", 0, 1));
  image->AddAnchor(ImageAnchor("RECT 0.5 0 1 1", 1, 0));  // destination: inactive
  image->AddAnchor(ImageAnchor("CIRCLE 0.25 0.5 0.1", 2, 1));
  struct Case {
    int x, y, code, selected;
  } cases[] = {{10, 10, VImage::kClickedAnchor, 0},
               {50, 50, VImage::kClickedAnchor, 2},  // the later anchor lies on top
               {150, 50, VImage::kClickedPicture, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    parent->codes.clear();
    image->OnMouseUp(c.x, c.y);
    ASSERT_EQ(parent->codes.size(), 1u);
    EXPECT_EQ(parent->codes[0], c.code);
    EXPECT_EQ(parent->senders[0], image);
    EXPECT_EQ(image->SelectedAnchor(), c.selected);
  }
  image->ClearAnchors();
  EXPECT_EQ(image->AnchorCount(), 0);
  delete parent;
}

TEST_F(VImageTest, HighlightingAnAnchorScrollsToItsTopLeftCorner) {
  VImage image(0, 0, 50, 50, Coordinates("h.bmp", 200, 100).c_str());
  image.SetMode(VImage::kScroll);
  image.AddAnchor(ImageAnchor("RECT 0.5 0.2 0.7 0.6", 0, 0));
  image.SetHighlightAnchor(0);
  EXPECT_EQ(image.HighlightedAnchor(), 0);
  EXPECT_EQ(image.ScrollX(), 100);
  EXPECT_EQ(image.ScrollY(), 40);
  // On the screen the anchor now starts at the object's corner.
  ImageAnchor copy("RECT 0.5 0.2 0.7 0.6", 0, 0);
  const RECT r = image.AnchorRect(copy);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST_F(VImageTest, TransparentColourIsLeftOutOnlyWhenItIsInTheTable) {
  auto dib = PackDib(4, 1, 8, {0xFF0000, 0x00FF00}, true, [](int x, int) -> std::uint32_t { return x & 1; });
  const std::string file = WriteBmp("t.bmp", dib);
  CDib* picture = TheImageCache().Load(file.c_str(), 1);
  ASSERT_NE(picture, nullptr);
  for (int index : {1, 7}) {
    SCOPED_TRACE(index);
    picture->SetTransparentIndex(index);
    Canvas canvas(4, 1);
    FillRectWithColor(canvas.dc(), RECT{0, 0, 4, 1}, RGB(0, 0, 255));
    VImage::DrawDib(picture, canvas.dc(), RECT{0, 0, 4, 1}, RECT{0, 0, 4, 1});
    EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.At(1, 0), index == 1 ? 0x0000FFu : 0x00FF00u);
  }
}

TEST_F(VImageTest, StyleAndScriptAttributesSetTheObject) {
  VImage image(0, 0, 100, 100, nullptr);
  const std::string file = Picture("attr.bmp", 20, 10);
  EXPECT_TRUE(image.SetStringAttribute("filename", file.c_str()));
  EXPECT_EQ(image.FileName(), file.c_str());
  EXPECT_TRUE(image.SetStringAttribute("mode", "SCROLL"));
  EXPECT_EQ(image.Mode(), VImage::kScroll);
  image.SetStringAttribute("mode", "sideways");
  EXPECT_EQ(image.Mode(), VImage::kScroll);
  EXPECT_TRUE(image.SetRectAttribute("pos", 10, 10, 20, 20));
  EXPECT_EQ(image.Box().left, 10);
  image.SetBgColor(VImage::kTransparentColor);
  EXPECT_TRUE(image.TransparentBackground());
  image.SetColorAttribute("bgcolor", RGB(1, 2, 3));
  EXPECT_FALSE(image.TransparentBackground());
  EXPECT_EQ(image.BgColor(), RGB(1, 2, 3));
  EXPECT_EQ(VImage::ParseMode("ASPECTLIMIT", 'x'), VImage::kAspectLimit);
  EXPECT_EQ(VImage::ParseMode("zoom", 'x'), 'x');
}

TEST_F(VImageTest, APageOfTenPicturesIsDecodedOnceWhateverTheBudget) {
  TheImageCache().SetMaxBytes(3000);  // room for about two of the pictures
  const int before = TheImageCache().Decodes();
  VPage page;
  std::vector<VImage*> images;
  for (int i = 0; i < 10; ++i) {
    auto* image = new VImage(i * 30, 0, i * 30 + 30, 30, nullptr);
    page.AppendChild(image);
    image->SetFileName(Picture("ten" + std::to_string(i) + ".bmp", 20, 20).c_str(), 0);
    images.push_back(image);
  }
  Canvas canvas(300, 30);
  for (int paint = 0; paint < 5; ++paint)
    for (VImage* image : images) image->Draw(canvas.dc(), image->Rect());
  EXPECT_EQ(TheImageCache().Decodes() - before, 10);
  EXPECT_EQ(canvas.At(295, 10), 0x0000FFu);
  TheImageCache().SetMaxBytes(ImageCache::kDefaultMaxBytes);
}

// Every picture format of the sample gallery shown by picture objects, at
// the true-colour display and the two palette displays.
TEST_F(VImageTest, SamplePicturesOnAPageAtEachDisplayDepth) {
  const char* names[] = {"saturn.bmp", "star.xbm", "jupiter.gif", "moon.gif", "nebula.tif", "comet.pcx", "orbit.eps"};
  std::vector<std::string> files;
  for (const char* name : names) files.push_back(Sample(name));
  for (int bits : {24, 8, 4}) {
    SCOPED_TRACE(bits);
    UseDisplay(bits);
    TheImageCache().FreeAll();
    Canvas canvas(4 * 80, 2 * 80);
    FillRectWithColor(canvas.dc(), RECT{0, 0, 320, 160}, RGB(255, 255, 255));
    for (size_t i = 0; i < files.size(); ++i) {
      const int x = static_cast<int>(i % 4) * 80, y = static_cast<int>(i / 4) * 80;
      VImage image(x + 2, y + 2, x + 78, y + 78, files[i].c_str());
      image.SetMode(VImage::kAspectRatio);
      ASSERT_FALSE(image.IsEmpty()) << names[i];
      image.SetBgColor(RGB(255, 255, 255));
      image.Draw(canvas.dc(), RECT{x, y, x + 80, y + 80});
    }
    testing_support::ExpectGolden(*canvas.Shot(),
                                  "tests/pages/picture/golden/gallery" + std::to_string(bits) + ".png");
  }
}

// Whatever picture the sample web holds, now or later, opens through the
// image library or its converter plug-in and covers its place on the page:
// a sample file that no reader takes fails here by name.
TEST_F(VImageTest, EveryPictureOfTheSampleWebIsDrawnOnItsPage) {
  std::vector<std::pair<std::string, std::filesystem::path>> pictures;  // name, content
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(std::string(ZEMRA_SOURCE_DIR) + "/data/sample")) {
    if (entry.path().extension() != ".rec") continue;
    const std::string record = testing_support::TempDir::read(entry.path().string());
    if (record.find("\nDocumentType=Image\n") == std::string::npos) continue;
    std::filesystem::path body = entry.path();
    body.replace_extension(".body");
    ASSERT_TRUE(std::filesystem::exists(body)) << entry.path();
    pictures.emplace_back(entry.path().stem().string(), body);
  }
  ASSERT_GE(pictures.size(), 7u);
  constexpr COLORREF kPaper = RGB(255, 0, 255);  // in none of the pictures
  for (const auto& [name, body] : pictures) {
    SCOPED_TRACE(name);
    const std::string file = tmp_.file(name);
    std::filesystem::copy_file(body, file, std::filesystem::copy_options::overwrite_existing);
    CDib picture;
    ASSERT_EQ(picture.Load(file.c_str()), 1);
    ASSERT_GT(picture.Width(), 0);
    ASSERT_GT(picture.Height(), 0);
    Canvas canvas(picture.Width() + 20, picture.Height() + 20);
    FillRectWithColor(canvas.dc(), RECT{0, 0, picture.Width() + 20, picture.Height() + 20}, kPaper);
    VImage image(10, 10, 10 + picture.Width(), 10 + picture.Height(), file.c_str());
    image.SetMode(VImage::kCenter);
    ASSERT_FALSE(image.IsEmpty());
    image.Draw(canvas.dc(), RECT{0, 0, picture.Width() + 20, picture.Height() + 20});
    int covered = 0;
    for (int y = 10; y < 10 + picture.Height(); ++y)
      for (int x = 10; x < 10 + picture.Width(); ++x) covered += canvas.At(x, y) != 0xFF00FFu;
    EXPECT_EQ(covered, picture.Width() * picture.Height());
  }
}

}  // namespace
}  // namespace pages_test
