// The shipped format.dat names each picture and media format from a few
// first bytes of a sample file, and IdentifyFileFormat finds it in the home
// directory.
#include <filesystem>
#include <string>

#include "framework/viewer_app.h"
#include "magic_fixture.h"
#include "support/temp_dir.h"
#include "win/kernel.h"

namespace {

using magic_testing::MagicTest;

const std::string kFormatDat = std::string(ZEMRA_SOURCE_DIR) + "/data/format.dat";

std::string Le32(unsigned v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
  return s;
}

struct Sample {
  const char* name;
  std::string bytes;
  const char* result;  // null: no format
};

std::vector<Sample> Samples() {
  const std::string riff = "RIFF" + Le32(1000);
  return {
      {"bmp", "BM" + Le32(70) + std::string(8, '\0') + Le32(40), "BMP"},
      {"xbm", "#define dot_width 1\n#define dot_height 1\nstatic char dot_bits[] = {0x01};\n",
       "XBM"},
      {"tiff intel", std::string("II*\0\x08\0\0\0", 8), "TEVRIN.DLL"},
      {"tiff motorola", std::string("MM\0*\0\0\0\x08", 8), "TEVRIN.DLL"},
      {"gif87a", "GIF87a\x01\x00\x01\x00", "WENDLE.DLL"},
      {"gif89a", "GIF89a\x01\x00\x01\x00", "WENDLE.DLL"},
      {"pcx v0", std::string("\x0a\x00\x01\x08", 4), "MURVIK.DLL"},
      {"pcx v5", std::string("\x0a\x05\x01\x08", 4), "MURVIK.DLL"},
      {"pcx v3", std::string("\x0a\x03\x01\x01", 4), "MURVIK.DLL"},
      {"eps text", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n", "OSPRAY.DLL"},
      {"eps dos", Le32(0xC6D3D0C5) + Le32(32) + Le32(100) + std::string(20, '\0'), "OSPRAY.DLL"},
      {"avi", riff + "AVI LIST", "AVI"},
      {"wave", riff + "WAVEfmt ", "WAV"},
      {"midi", std::string("MThd\0\0\0\x06\0\x01", 10), "MID"},
      {"pcx v1 (no such version)", std::string("\x0a\x01\x01\x08", 4), nullptr},
      {"riff of another form", riff + "CDR ", nullptr},
      {"png", "\x89PNG\r\n\x1a\n", nullptr},
      {"text", "plain text", nullptr},
      {"one byte", "B", nullptr},
  };
}

class FormatDat : public MagicTest {};

TEST_F(FormatDat, LoadsCleanly) {
  EXPECT_TRUE(LoadMagic(kFormatDat.c_str()));
  EXPECT_GT(MagicEntryCount(), 10);
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(FormatDat, NamesEachSampleFormat) {
  for (const Sample& s : Samples()) {
    char out[kMagicResultSize] = "untouched";
    bool found = MatchMagic(kFormatDat.c_str(), s.bytes.data(), static_cast<int>(s.bytes.size()),
                            out, sizeof out);
    if (s.result) {
      EXPECT_TRUE(found) << s.name;
      EXPECT_STREQ(out, s.result) << s.name;
    } else {
      EXPECT_FALSE(found) << s.name << " gave " << out;
    }
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

// IdentifyFileFormat without an application looks in the current directory.
class IdentifyFile : public MagicTest {
 protected:
  void SetUp() override {
    MagicTest::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::copy_file(kFormatDat, dir_.path() / "format.dat");
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    MagicTest::TearDown();
  }
  testing_support::TempDir dir_;
  std::filesystem::path previous_;
};

TEST_F(IdentifyFile, SampleFiles) {
  for (const Sample& s : Samples()) {
    const std::string path = dir_.write("sample.bin", s.bytes);
    char out[kMagicResultSize] = "untouched";
    EXPECT_EQ(IdentifyFileFormat(path.c_str(), out), s.result != nullptr) << s.name;
    EXPECT_STREQ(out, s.result ? s.result : "") << s.name;
  }
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(IdentifyFile, OnlyTheFirst512BytesCount) {
  ASSERT_TRUE(dir_.write("format.dat", "511 byte 0x41 at511\n512 byte 0x41 at512\n").size());
  std::string bytes(600, '\0');
  bytes[512] = 'A';
  const std::string path = dir_.write("long.bin", bytes);
  char out[kMagicResultSize];
  EXPECT_FALSE(IdentifyFileFormat(path.c_str(), out));
  bytes[511] = 'A';
  dir_.write("long.bin", bytes);
  EXPECT_TRUE(IdentifyFileFormat(path.c_str(), out));
  EXPECT_STREQ(out, "at511");
}

TEST_F(IdentifyFile, ResultIsCutToTheCallersRoom) {
  dir_.write("format.dat", "0 byte 0x41 0123456789\n");
  const std::string path = dir_.write("a.bin", "A");
  char out[5];
  EXPECT_TRUE(IdentifyFileFormat(path.c_str(), out, sizeof out));
  EXPECT_STREQ(out, "0123");
}

TEST_F(IdentifyFile, MissingFilesAreReported) {
  char out[kMagicResultSize] = "untouched";
  EXPECT_FALSE(IdentifyFileFormat(dir_.file("absent.gif").c_str(), out));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to open file"});
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "Error !");

  win::ClearMessageBoxLog();
  std::filesystem::remove(dir_.path() / "format.dat");
  const std::string path = dir_.write("a.gif", "GIF89a");
  EXPECT_FALSE(IdentifyFileFormat(path.c_str(), out));
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0].rfind("Can't read magic file ", 0), 0u) << BoxTexts()[0];
  EXPECT_NE(BoxTexts()[0].find("format.dat"), std::string::npos);
}

TEST_F(IdentifyFile, UsesTheApplicationsHomeDirectory) {
  std::filesystem::create_directory(dir_.path() / "home");
  dir_.write("home/format.dat", "0 string GIF8 FROM-HOME\n");
  dir_.write("format.dat", "0 string GIF8 FROM-CURRENT\n");
  dir_.write("Tolm.ini", "[Tolm]\nHomeDir=" + (dir_.path() / "home").string() + "\n");
  ViewerApp app("Tolm");
  app.SetIniPath("Tolm");
  ASSERT_TRUE(app.InitInstance());
  std::filesystem::current_path(dir_.path());  // away from the home directory again

  const std::string path = dir_.write("a.gif", "GIF89a");
  char out[kMagicResultSize];
  EXPECT_TRUE(IdentifyFileFormat(path.c_str(), out));
  EXPECT_STREQ(out, "FROM-HOME");
  app.ExitInstance();
}

}  // namespace
