// WriteDIB: the file header it makes, round trips through ReadDIB, and the
// files decoded by ImageMagick and netpbm showing the DIB's picture.
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace pixolt_test {
namespace {

class BmpWriteTest : public PixoltTest {
 protected:
  testing_support::TempDir dir_;

  // One DIB of each depth the library makes, with odd widths for padding.
  std::vector<std::pair<std::string, HGLOBAL>> Samples() {
    auto pattern = [](int x, int y) { return static_cast<std::uint32_t>(x * 7 + y * 3); };
    std::vector<Rgb> two = {{10, 20, 30}, {240, 230, 220}};
    std::vector<Rgb> sixteen, five, many;
    for (int i = 0; i < 16; ++i) sixteen.push_back(Rgb{std::uint8_t(i * 16), std::uint8_t(255 - i * 9), std::uint8_t(i * 5)});
    five.assign(sixteen.begin(), sixteen.begin() + 5);
    for (int i = 0; i < 256; ++i) many.push_back(Rgb{std::uint8_t(i), std::uint8_t(i * 3), std::uint8_t(255 - i)});
    return {
        {"mono", Keep(MakeDib(33, 7, 1, two, pattern))},
        {"c16", Keep(MakeDib(13, 5, 4, sixteen, [](int x, int y) { return std::uint32_t((x + y) % 16); }))},
        {"c5", Keep(MakeDib(9, 4, 4, five, [](int x, int y) { return std::uint32_t((x * y) % 5); }))},
        {"c256", Keep(MakeDib(17, 6, 8, many, pattern))},
        {"rgb", Keep(MakeDib(11, 9, 24, {}, [](int x, int y) { return std::uint32_t(x * 0x170503 + y * 0x030911); }))},
    };
  }
};

TEST_F(BmpWriteTest, FileHeaderAndRoundTrip) {
  for (auto& [name, dib] : Samples()) {
    std::string path = dir_.file(name + ".bmp");
    ASSERT_EQ(WriteDIB(path.c_str(), dib), TRUE) << name;
    std::string file = ReadFile(path);
    std::string block = BlockBytes(dib);
    ASSERT_EQ(file.size(), block.size() + 14) << name;
    EXPECT_EQ(file.substr(0, 2), "BM");
    DWORD size, offset;
    std::memcpy(&size, file.data() + 2, 4);
    std::memcpy(&offset, file.data() + 10, 4);
    EXPECT_EQ(size, block.size() + 14) << name;
    EXPECT_EQ(offset, 54 + 4 * TableOf(dib).size()) << name;
    EXPECT_EQ(file.substr(14), block) << name;
    HGLOBAL back = Keep(ReadDIB(path.c_str(), Keep(EmptyBlock())));
    ASSERT_NE(back, nullptr) << name;
    EXPECT_EQ(BlockBytes(back), block) << name;
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(BmpWriteTest, ExternalDecodersSeeTheSamePicture) {
  bool haveConvert = HaveTool("convert"), haveNetpbm = HaveTool("bmptopnm");
  ZEMRA_SKIP_WITHOUT(haveConvert || haveNetpbm, "neither ImageMagick nor netpbm is installed");
  for (auto& [name, dib] : Samples()) {
    std::string path = dir_.file(name + ".bmp");
    ASSERT_EQ(WriteDIB(path.c_str(), dib), TRUE);
    Picture expected = Render(dib);
    std::vector<std::string> commands;
    if (haveConvert) commands.push_back("convert " + path + " -depth 8 ppm:-");
    if (haveNetpbm) commands.push_back("bmptopnm " + path + " 2>/dev/null | pnmtopnm 2>/dev/null || bmptopnm " + path + " 2>/dev/null");
    for (const std::string& command : commands) {
      bool ok = false;
      std::string pnm = RunTool(command, &ok);
      Picture decoded;
      ASSERT_TRUE(ok && ParsePnm(pnm, decoded)) << command;
      EXPECT_EQ(FirstDifference(decoded, expected), "") << command;
    }
  }
}

TEST_F(BmpWriteTest, FailuresAreReported) {
  HGLOBAL good = Keep(MakeDib(2, 2, 24, {}, [](int, int) { return 0u; }));
  // A header that claims more rows than the block holds.
  HGLOBAL lying = Keep(MakeDib(2, 2, 24, {}, [](int, int) { return 0u; }));
  static_cast<BITMAPINFOHEADER*>(GlobalLock(lying))->biHeight = 5000;
  GlobalUnlock(lying);
  HGLOBAL os2 = Keep(BlockOf(std::string("\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0", 12)));
  struct Case {
    const char* what;
    std::string name;
    HGLOBAL dib;
    const char* message;
  } cases[] = {
      {"no DIB", dir_.file("a.bmp"), nullptr, "WriteDIB: Keine DIB vorhanden!"},
      {"a directory", dir_.path().string(), good, "WriteDIB: Fehler beim Erzeugen der Datei!"},
      {"a full disk", "/dev/full", good, "WriteDIB: Fehler beim Schreiben in die Datei!"},
      {"an OS/2 header", dir_.file("b.bmp"), os2, "WriteDIB: Keine Unterst\xfc" "tzung f\xfc" "r OS/2-Bitmaps!"},
      {"a header the block does not hold", dir_.file("c.bmp"), lying, "WriteDIB: Unbekanntes DIB-Format!"},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    EXPECT_EQ(WriteDIB(c.name.c_str(), c.dib), FALSE) << c.what;
    EXPECT_EQ(Messages(), (std::vector<std::string>{c.message})) << c.what;
  }
  win::ClearMessageBoxLog();
  EXPECT_EQ(WriteDIB(nullptr, good), FALSE);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"WriteDIB: Keine Dateiname vorhanden!"}));
  // Nothing was created for a DIB that was refused.
  EXPECT_FALSE(std::filesystem::exists(dir_.file("c.bmp")));
  // The device that failed the write is still there.
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST_F(BmpWriteTest, AWriteCutShortLeavesNoFileBehind) {
  // Files may grow to 1000 bytes only (as a full disk would stop them); the
  // limit is the process's, so it is put back before anything else runs.
  HGLOBAL big = Keep(MakeDib(64, 64, 24, {}, [](int x, int y) { return std::uint32_t(x * y); }));
  const std::string path = dir_.file("cut.bmp");
  dir_.write("cut.bmp", "an earlier picture");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  win::ClearMessageBoxLog();
  const BOOL written = WriteDIB(path.c_str(), big);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(written, FALSE);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"WriteDIB: Fehler beim Schreiben in die Datei!"}));
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace pixolt_test
