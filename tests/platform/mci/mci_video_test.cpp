// Video files through the command strings: what FFmpeg's own tools say of
// the file, frames drawn into the window at the clock's moment and where
// "put" places them, frames written to a folder, and the video's sound.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gdi/png_writer.h"
#include "platform/mci/support/media_fixture.h"
#include "support/tools.h"
#include "win/gdi.h"

namespace mci_test {
namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;
// One solid colour per frame (0xRRGGBB), at 10 frames a second.
constexpr std::uint32_t kFrameColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
constexpr int kFrames = 5;

std::int16_t Level1000(std::size_t, int) { return 1000; }

std::string Probe(const std::string& what, const std::string& file) {
  const std::string command = "ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=" + what +
                              " -of csv=p=0 '" + file + "'";
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[128];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

class MciVideo : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    have_ = testing_support::HaveTool("ffmpeg") && testing_support::HaveTool("ffprobe");
    if (!have_) return;
    std::string rgb;
    for (std::uint32_t c : kFrameColours)
      for (int i = 0; i < kWidth * kHeight; ++i) {
        rgb.push_back(static_cast<char>(c >> 16));
        rgb.push_back(static_cast<char>(c >> 8));
        rgb.push_back(static_cast<char>(c));
      }
    const std::string frames = dir_.write("frames.rgb", rgb);
    const std::string sound = dir_.file("sound.wav");
    WriteWav(sound, MakePcm(44100, 2, 22050, Level1000));
    path_ = dir_.file("clip.avi");
    ok_ = RunQuiet("ffmpeg -nostdin -y -f rawvideo -pix_fmt rgb24 -s 32x24 -r 10 -i '" + frames + "' -i '" + sound +
                   "' -c:v rawvideo -pix_fmt bgr24 -c:a pcm_s16le '" + path_ + "'");
    top_ = CreateWindow("MediaListener", "page", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                        nullptr, nullptr, nullptr);
    child_ = CreateWindow("MediaListener", "VMCI", WS_CHILD | WS_VISIBLE, 20, 20, 100, 80, top_,
                          reinterpret_cast<HMENU>(0x4030), nullptr, nullptr);
    ASSERT_NE(child_, nullptr);
  }

  // A known background, to tell drawn pixels from the rest.
  void PaintGrey() {
    HDC dc = GetDC(child_);
    RECT all{0, 0, 100, 80};
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    ReleaseDC(child_, dc);
  }

  // The pixel of the child window, as 0xRRGGBB.
  std::uint32_t PixelAt(int x, int y) {
    HDC dc = GetDC(child_);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(child_, dc);
    return std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c);
  }
  void OpenWithWindow() {
    Send("open " + path_ + " type avivideo alias v wait");
    Send("window v handle " + std::to_string(reinterpret_cast<std::uintptr_t>(child_)) + " wait");
    Send("put v destination wait");
  }

  bool have_ = false;
  bool ok_ = false;
  std::string path_;
  HWND top_ = nullptr;
  HWND child_ = nullptr;
};

#define NEED_CLIP()                                                    \
  ZEMRA_SKIP_WITHOUT(have_, "ffmpeg and ffprobe are not installed"); \
  ASSERT_TRUE(ok_) << "ffmpeg could not make the test clip"

TEST_F(MciVideo, TellsWhatFfprobeSeesOfTheFile) {
  NEED_CLIP();
  Send("open " + path_ + " alias v");
  EXPECT_EQ(Send("status v time format"), "frames");
  EXPECT_EQ(Send("status v length"), Probe("nb_read_frames", path_));
  EXPECT_EQ(Send("status v length"), "5");
  EXPECT_EQ(Send("where v source wait"), "0 0 " + Probe("width", path_) + " " + Probe("height", path_));
  EXPECT_EQ(Send("status v frame rate"), "10000");
  Send("set v time format milliseconds wait");
  EXPECT_EQ(Send("status v length"), "500");
  // Without a window it shows nowhere but plays all the same.
  EXPECT_EQ(Send("where v destination"), "0 0 32 24");
  Send("window v handle 999999", MCIERR_NO_WINDOW);
}

TEST_F(MciVideo, DrawsTheFrameOfTheMomentIntoTheWindow) {
  NEED_CLIP();
  OpenWithWindow();
  EXPECT_EQ(Send("where v destination"), "0 0 100 80");
  // The still picture of one frame: play from and to the same frame.
  Send("play v from 2 to 2 wait");
  EXPECT_EQ(PixelAt(50, 40), kFrameColours[2]);
  EXPECT_EQ(Send("status v position"), "2");
  Send("play v from 0 notify");
  EXPECT_EQ(PixelAt(0, 0), kFrameColours[0]);
  EXPECT_EQ(PixelAt(99, 79), kFrameColours[0]);
  const std::pair<DWORD, int> steps[] = {{99, 0}, {1, 1}, {150, 2}, {50, 3}, {100, 4}};
  for (const auto& [ms, frame] : steps) {
    Advance(ms);
    Send("status v mode");  // brings the picture up to the clock
    EXPECT_EQ(PixelAt(50, 40), kFrameColours[frame]) << "frame " << frame;
    EXPECT_EQ(Send("status v position"), std::to_string(frame));
  }
  Advance(120);
  ASSERT_EQ(notifications().size(), 1u);
  EXPECT_EQ(notifications()[0].flag, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(Send("status v position"), "5");
  EXPECT_EQ(PixelAt(50, 40), kFrameColours[4]);  // the last frame stays
  Send("seek v to 1 wait");
  EXPECT_EQ(PixelAt(50, 40), kFrameColours[1]);
  // A window painted over gets its still frame again on asking.
  PaintGrey();
  Send("play v from 1 to 1 wait");
  EXPECT_EQ(PixelAt(50, 40), kFrameColours[1]);
}

TEST_F(MciVideo, TheMessageLoopAloneShowsEachFrameSoonAfterItsTime) {
  NEED_CLIP();
  OpenWithWindow();
  Send("play v from 0");
  // No commands: only the media's timer moves the picture. A millisecond at
  // a time, so that the timer runs when it is due and not at a coarser step.
  // Each frame is up within 15 ms of its time (frames every 100 ms); a
  // pump that ran only as often as sound needs would show some too late.
  DWORD at = 0;
  for (int frame = 1; frame < kFrames; ++frame) {
    for (const DWORD until = 100 * static_cast<DWORD>(frame) + 15; at < until; ++at) {
      clock_->Advance(1);
      RunMessages();
    }
    EXPECT_EQ(PixelAt(50, 40), kFrameColours[frame]) << "frame " << frame;
  }
}

TEST_F(MciVideo, PutPlacesThePictureAndWhereSaysWhere) {
  NEED_CLIP();
  OpenWithWindow();
  PaintGrey();
  Send("put v destination at 10 10 20 30 wait");
  EXPECT_EQ(Send("where v destination"), "10 10 20 30");
  EXPECT_EQ(PixelAt(10, 10), kFrameColours[0]);  // the frame shown moves at once
  PaintGrey();
  Send("seek v to 3 wait");
  EXPECT_EQ(PixelAt(10, 10), kFrameColours[3]);
  EXPECT_EQ(PixelAt(29, 39), kFrameColours[3]);
  EXPECT_EQ(PixelAt(9, 9), 0x808080u);
  EXPECT_EQ(PixelAt(30, 40), 0x808080u);
  Send("put v destination at 1 1 0 5", MCIERR_OUTOFRANGE);
  Send("put v destination wait");
  EXPECT_EQ(Send("where v destination"), "0 0 100 80");
}

TEST_F(MciVideo, ShownFramesGoToTheFolderTheEnvironmentNames) {
  NEED_CLIP();
  const std::string folder = dir_.file("shown");
  std::filesystem::create_directory(folder);
  setenv("ZEMRA_MCI_FRAMES", folder.c_str(), 1);
  const std::string id = Send("open " + path_ + " alias v");
  Send("play v");
  Advance(600);
  for (int f = 0; f < kFrames; ++f) {
    char name[32];
    std::snprintf(name, sizeof name, "/%04u-%06d.png", static_cast<unsigned>(std::stoul(id)), f);
    auto picture = win::gdi::ReadPng(folder + name);
    ASSERT_NE(picture, nullptr) << name;
    EXPECT_EQ(picture->width(), kWidth);
    EXPECT_EQ(picture->height(), kHeight);
    EXPECT_EQ(picture->At(5, 5) & 0xFFFFFF, kFrameColours[f]) << name;
  }
}

TEST_F(MciVideo, TheVideosSoundPlaysAlongAndCanBeSwitchedOff) {
  NEED_CLIP();
  Send("open " + path_ + " alias v");
  Send("play v");
  Advance(600);
  Pcm out = Mixed();
  EXPECT_EQ(out.frames(), 22050u);
  for (std::int16_t s : out.samples) ASSERT_EQ(s, 1000);

  std::remove(SinkPath().c_str());
  win::mci::ResetMedia();
  Send("open " + path_ + " alias v");
  Send("set v audio all off wait");
  Send("play v");
  Advance(600);
  out = Mixed();
  EXPECT_EQ(out.frames(), 0u);
  EXPECT_EQ(Send("status v mode"), "stopped");
}

}  // namespace
}  // namespace mci_test
