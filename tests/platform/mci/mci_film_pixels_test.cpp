// Films whose pictures FFmpeg decodes to YUV: every frame a play shows,
// both drawn into the window and written to the frames folder, holds the
// very pixels FFmpeg's own tool converts that frame to.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "platform/mci/support/media_fixture.h"
#include "support/tools.h"
#include "win/gdi.h"

namespace mci_test {
namespace {

struct Film {
  const char* name;
  int width;
  int height;
  int frames;            // at 10 frames a second
  bool everyChroma;      // made from raw frames holding every chroma pair; else a test pattern
  const char* encoding;  // ffmpeg's output options
  const char* file = "film.avi";
};

constexpr const char* kBt709 = "-c:v mpeg4 -q:v 4 -colorspace bt709 -color_primaries bt709 -color_trc bt709";

// Sizes off the decoders' 16-pixel blocks, both ranges of luma and chroma
// levels, and chroma layouts other than 4:2:0 take other paths through the
// conversion; the raw frames hold each of the 65536 chroma pairs once.
constexpr Film kFilms[] = {
    {"mpeg4", 64, 48, 6, false, "-c:v mpeg4 -q:v 4"},
    {"mpeg4_odd_size", 54, 38, 6, false, "-c:v mpeg4 -q:v 4"},
    {"mjpeg_420_full_range", 70, 40, 6, false, "-c:v mjpeg -pix_fmt yuvj420p -q:v 3"},
    {"mjpeg_420_odd_rows", 70, 41, 6, false, "-c:v mjpeg -pix_fmt yuvj420p -q:v 3"},
    {"mjpeg_420_odd_columns", 71, 40, 6, false, "-c:v mjpeg -pix_fmt yuvj420p -q:v 3"},
    {"mjpeg_422", 48, 32, 6, false, "-c:v mjpeg -pix_fmt yuvj422p -q:v 3"},
    {"raw_every_chroma_pair", 512, 512, 2, true, "-c:v rawvideo -pix_fmt yuv420p"},
    // Tagged with the high-definition colour matrix, which FFmpeg's tool
    // converts by (the tag lives in the QuickTime file's colour atom).
    {"mpeg4_bt709", 64, 48, 6, false, kBt709, "film.mov"},
    {"mpeg4_bt709_odd_size", 54, 38, 6, false, kBt709, "film.mov"},
};

void PrintTo(const Film& film, std::ostream* out) { *out << film.name; }

// Raw 4:2:0 frames: chroma sample (x, y) is the pair (x, y), its four luma
// samples spread over the levels differently in each frame.
std::string EveryChromaPair(int frames) {
  std::string out;
  for (int f = 0; f < frames; ++f) {
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 512; ++x)
        out.push_back(static_cast<char>((x / 2) * 4 + (y / 2) * 3 + ((y % 2) * 2 + x % 2) * 64 + f * 17));
    for (int plane = 0; plane < 2; ++plane)
      for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) out.push_back(static_cast<char>(plane == 0 ? x : y));
  }
  return out;
}

// Pixels 0xRRGGBB, frame after frame, rows top-down.
using Frames = std::vector<std::uint32_t>;

class MciFilmPixels : public MediaTest, public ::testing::WithParamInterface<Film> {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    have_ = testing_support::HaveTool("ffmpeg");
    if (!have_) return;
    const Film& film = GetParam();
    clip_ = dir_.file(film.file);
    const std::string size = std::to_string(film.width) + "x" + std::to_string(film.height);
    const std::string source =
        film.everyChroma ? "-f rawvideo -pix_fmt yuv420p -s " + size + " -r 10 -i '" +
                               dir_.write("frames.yuv", EveryChromaPair(film.frames)) + "'"
                         : "-f lavfi -i testsrc=s=" + size + ":r=10:d=" + std::to_string(film.frames / 10.0);
    ok_ = RunQuiet("ffmpeg -nostdin -y " + source + " " + film.encoding + " '" + clip_ + "'");
    const std::string raw = dir_.file("film.bgr0");
    ok_ = ok_ && RunQuiet("ffmpeg -nostdin -y -i '" + clip_ + "' -sws_flags bilinear -f rawvideo -pix_fmt bgr0 '" +
                          raw + "'");
    const std::string bytes = testing_support::FileText(raw);
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
      expected_.push_back(std::uint32_t{static_cast<unsigned char>(bytes[i + 2])} << 16 |
                          std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8 |
                          static_cast<unsigned char>(bytes[i]));
    // Room for the whole film in the page's client area.
    top_ = CreateWindow("MediaListener", "page", WS_POPUP | WS_VISIBLE, 0, 0, film.width + 20, film.height + 20,
                        nullptr, nullptr, nullptr, nullptr);
    child_ = CreateWindow("MediaListener", "VMCI", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, film.width,
                          film.height, top_, reinterpret_cast<HMENU>(0x4030), nullptr, nullptr);
    ASSERT_NE(child_, nullptr);
  }

  // The window's pixels, 0xRRGGBB.
  Frames WindowPixels() {
    const Film& film = GetParam();
    Frames out;
    HDC dc = GetDC(child_);
    for (int y = 0; y < film.height; ++y)
      for (int x = 0; x < film.width; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        out.push_back(std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c));
      }
    ReleaseDC(child_, dc);
    return out;
  }

  Frames Expected(int frame) const {
    const std::size_t n = static_cast<std::size_t>(GetParam().width) * GetParam().height;
    return Frames(expected_.begin() + static_cast<std::ptrdiff_t>(n * frame),
                  expected_.begin() + static_cast<std::ptrdiff_t>(n * (frame + 1)));
  }

  bool have_ = false;
  bool ok_ = false;
  std::string clip_;
  Frames expected_;
  HWND top_ = nullptr;
  HWND child_ = nullptr;
};

// The first pixel that differs, for a readable failure.
std::string FirstDifference(const Frames& got, const Frames& want, int width) {
  if (got.size() != want.size()) return std::to_string(got.size()) + " pixels, not " + std::to_string(want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i]) {
      char text[96];
      std::snprintf(text, sizeof text, "at (%zu, %zu): %06X, not %06X", i % width, i / width, got[i], want[i]);
      return text;
    }
  return "";
}

TEST_P(MciFilmPixels, EveryFrameShownHoldsFfmpegsPixels) {
  ZEMRA_SKIP_WITHOUT(have_, "ffmpeg is not installed");
  ASSERT_TRUE(ok_) << "ffmpeg could not make the film";
  const Film& film = GetParam();
  ASSERT_EQ(expected_.size(), static_cast<std::size_t>(film.width) * film.height * film.frames);
  const std::string folder = dir_.file("shown");
  std::filesystem::create_directory(folder);
  setenv("ZEMRA_MCI_FRAMES", folder.c_str(), 1);
  const std::string id = Send("open \"" + clip_ + "\" type avivideo alias v");
  Send("window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(child_)));
  Send("play v");
  for (int f = 0; f < film.frames; ++f) {
    Send("status v mode");  // brings the picture up to the clock
    EXPECT_EQ(FirstDifference(WindowPixels(), Expected(f), film.width), "") << "window, frame " << f;
    char name[32];
    std::snprintf(name, sizeof name, "/%04u-%06d.png", static_cast<unsigned>(std::stoul(id)), f);
    const auto png = win::gdi::ReadPng(folder + name);
    ASSERT_NE(png, nullptr) << name;
    ASSERT_EQ(png->width(), film.width);
    ASSERT_EQ(png->height(), film.height);
    Frames dumped;
    for (int y = 0; y < film.height; ++y)
      for (int x = 0; x < film.width; ++x) dumped.push_back(png->At(x, y) & 0xFFFFFFu);
    EXPECT_EQ(FirstDifference(dumped, Expected(f), film.width), "") << name;
    Advance(100);
  }
}

using MciFilmCovered = MciFilmPixels;

// A window laid over part of the film keeps its own pixels: frames go only
// where the film's window shows, and there they are FFmpeg's.
TEST_P(MciFilmCovered, AWindowOverThePictureKeepsItsPixels) {
  ZEMRA_SKIP_WITHOUT(have_, "ffmpeg is not installed");
  ASSERT_TRUE(ok_) << "ffmpeg could not make the film";
  const Film& film = GetParam();
  const RECT over{20, 8, 36, 20};  // in the film window's coordinates
  HWND cover = CreateWindow("MediaListener", "cover", WS_CHILD | WS_VISIBLE, 10 + over.left, 10 + over.top,
                            over.right - over.left, over.bottom - over.top, top_, nullptr, nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RunMessages();  // its own painting first
  HDC dc = GetDC(cover);
  const RECT all{0, 0, over.right - over.left, over.bottom - over.top};
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  ReleaseDC(cover, dc);
  Send("open \"" + clip_ + "\" type avivideo alias v");
  Send("window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(child_)));
  Send("play v");
  for (int f = 0; f < film.frames; ++f) {
    Send("status v mode");
    Frames shown = WindowPixels(), want = Expected(f);
    HDC coverDc = GetDC(cover);
    for (int y = over.top; y < over.bottom; ++y)
      for (int x = over.left; x < over.right; ++x) {
        EXPECT_EQ(GetPixel(coverDc, x - over.left, y - over.top), RGB(1, 2, 3))
            << "covered (" << x << ", " << y << "), frame " << f;
        // The film's window cannot read there; the rest is compared below.
        shown[static_cast<std::size_t>(y) * film.width + x] = want[static_cast<std::size_t>(y) * film.width + x];
      }
    ReleaseDC(cover, coverDc);
    EXPECT_EQ(FirstDifference(shown, want, film.width), "") << "frame " << f;
    Advance(100);
  }
}

INSTANTIATE_TEST_SUITE_P(Film, MciFilmCovered, ::testing::Values(kFilms[0]),
                         [](const ::testing::TestParamInfo<Film>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Films, MciFilmPixels, ::testing::ValuesIn(kFilms),
                         [](const ::testing::TestParamInfo<Film>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mci_test
