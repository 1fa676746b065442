// The BMP readers: what they take from a file's headers is checked before
// it is used, whether the image comes from a file or from memory.
#include <cstring>
#include <string>
#include <vector>

#include "pixolt/support/pixolt_fixture.h"
#include "support/temp_dir.h"

namespace pixolt_test {
namespace {

struct Fields {
  DWORD size = 40;
  LONG width = 4;
  LONG height = 2;
  WORD bits = 8;
  DWORD compression = 0;
  DWORD sizeImage = 0;
  DWORD clrUsed = 2;
};

// A BMP file: header fields, a colour table of `tableEntries`, then `pixels`.
std::string BmpBytes(const Fields& f, std::size_t tableEntries, const std::string& pixels,
                     DWORD offBits = 0xFFFFFFFF) {
  std::string info(40, '\0');
  BITMAPINFOHEADER h{};
  h.biSize = f.size;
  h.biWidth = f.width;
  h.biHeight = f.height;
  h.biPlanes = 1;
  h.biBitCount = f.bits;
  h.biCompression = f.compression;
  h.biSizeImage = f.sizeImage;
  h.biClrUsed = f.clrUsed;
  std::memcpy(info.data(), &h, 40);
  std::string table(4 * tableEntries, '\0');
  for (std::size_t i = 0; i < tableEntries; ++i) table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = char(i * 40);
  std::string body = info + table + pixels;
  if (offBits == 0xFFFFFFFF) offBits = static_cast<DWORD>(14 + 40 + table.size());
  std::string file = "BM";
  DWORD total = static_cast<DWORD>(14 + body.size());
  file.append(reinterpret_cast<const char*>(&total), 4);
  file.append(4, '\0');
  file.append(reinterpret_cast<const char*>(&offBits), 4);
  return file + body;
}

std::string Fourteen(const std::string& type) {
  std::string s = type;
  s.resize(14, '\0');
  return s;
}

class BmpReadTest : public PixoltTest {
 protected:
  testing_support::TempDir dir_;

  // Reads `bytes` from a file and from memory; answers the messages of the
  // file reader, and checks the memory reader failed with the same reason.
  std::vector<std::string> ReadBoth(const std::string& bytes, HGLOBAL* fromFile = nullptr) {
    std::string path = dir_.write("case.bmp", bytes);
    win::ClearMessageBoxLog();
    HGLOBAL file = Keep(ReadDIB(path.c_str(), Keep(EmptyBlock())));
    std::vector<std::string> fileMessages = Messages();
    win::ClearMessageBoxLog();
    HGLOBAL mem = Keep(ReadMemDIBEx(bytes.data(), static_cast<DWORD>(bytes.size()), Keep(EmptyBlock())));
    std::vector<std::string> memMessages = Messages();
    EXPECT_EQ(file == nullptr, mem == nullptr);
    if (!memMessages.empty()) {
      EXPECT_FALSE(fileMessages.empty());
      if (!fileMessages.empty()) EXPECT_EQ(memMessages.front(), fileMessages.front());
    }
    if (fromFile) *fromFile = file;
    return fileMessages;
  }
};

TEST_F(BmpReadTest, HeadersThatLieAreRefusedWithTheirReason) {
  const std::string unknown = "ReadDIBInfo: Unbekanntes DIB-Format!";
  const std::string follow = "ReadDIB: Fehler beim Lesen der BMP-Datei!";
  auto with = [](auto change) {
    Fields f;
    change(f);
    return BmpBytes(f, 2, std::string(16, '\x01'));
  };
  struct Case {
    const char* what;
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"ten bytes", "BM12345678", "ReadDIBInfo: Fehler beim Lesen des BMP-Dateikopfs!"},
      {"not BM", Fourteen("XM") + std::string(40, '\0'), "ReadDIBInfo: Keine g\xfc" "ltige BMP-Datei!"},
      {"short header", Fourteen("BM") + std::string("\x28\0\0\0", 4) + std::string(20, '\0'),
       "ReadDIBInfo: Fehler beim Lesen des DIB-Informationsblocks!"},
      {"version 4 header", with([](Fields& f) { f.size = 108; }), unknown},
      {"16 bits", with([](Fields& f) { f.bits = 16; f.clrUsed = 0; }), unknown},
      {"32 bits", with([](Fields& f) { f.bits = 32; f.clrUsed = 0; }), unknown},
      {"bit fields", with([](Fields& f) { f.compression = 3; }), unknown},
      {"RLE8 at 4 bits", with([](Fields& f) { f.bits = 4; f.compression = 1; }), unknown},
      {"RLE4 at 8 bits", with([](Fields& f) { f.compression = 2; }), unknown},
      {"negative width", with([](Fields& f) { f.width = -4; }), unknown},
      {"no width", with([](Fields& f) { f.width = 0; }), unknown},
      {"no height", with([](Fields& f) { f.height = 0; }), unknown},
      {"huge width", with([](Fields& f) { f.width = 100000; }), unknown},
      {"most negative height", with([](Fields& f) { f.height = INT32_MIN; }), unknown},
      {"top-down RLE", with([](Fields& f) { f.height = -2; f.compression = 1; }), unknown},
      {"more colours than 8 bits have", with([](Fields& f) { f.clrUsed = 300; }), unknown},
      {"colour count that overflows", with([](Fields& f) { f.clrUsed = 0xFFFFFFFF; }), unknown},
      {"sides whose product is too big", with([](Fields& f) { f.width = 30000; f.height = 30000; f.bits = 24; f.clrUsed = 0; }),
       "ReadDIB: Out of memory!"},
      {"huge stored RLE size", with([](Fields& f) { f.compression = 1; f.sizeImage = 0xFFFFFFF0; }),
       "ReadDIB: Out of memory!"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> messages = ReadBoth(c.bytes);
    ASSERT_FALSE(messages.empty()) << c.what;
    EXPECT_EQ(messages.front(), c.reason) << c.what;
    // An info failure of the file reader is followed by its own summary.
    if (c.reason.rfind("ReadDIBInfo", 0) == 0) {
      EXPECT_EQ(messages, (std::vector<std::string>{c.reason, follow})) << c.what;
    }
  }
}

TEST_F(BmpReadTest, ShortPixelDataReadsAsZerosAndSizesAreComputed) {
  Fields f;
  f.sizeImage = 12345;  // wrong: uncompressed sizes are computed
  std::string bytes = BmpBytes(f, 2, "\x01\x01");  // 2 of 8 pixel bytes
  // A block of garbage the reader must not leave in the picture.
  HGLOBAL block = Keep(BlockOf(std::string(500, '\x7f')));
  std::string path = dir_.write("short.bmp", bytes);
  HGLOBAL dib = Keep(ReadDIB(path.c_str(), block));
  ASSERT_NE(dib, nullptr);
  EXPECT_TRUE(Messages().empty());
  BITMAPINFOHEADER h = HeaderOf(dib);
  EXPECT_EQ(h.biSizeImage, 8u);
  EXPECT_EQ(GlobalSize(dib), 40u + 8 + 8);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(dib, x, y), (y == 0 && x < 2) ? 1u : 0u) << x << "," << y;
}

TEST_F(BmpReadTest, CompressedFilesKeepTheirStoredSize) {
  Fields f;
  f.compression = 1;
  f.sizeImage = 6;
  HGLOBAL dib = nullptr;
  EXPECT_TRUE(ReadBoth(BmpBytes(f, 2, std::string("\x04\x01\x00\x00\x00\x01", 6)), &dib).empty());
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(HeaderOf(dib).biSizeImage, 6u);
  EXPECT_EQ(HeaderOf(dib).biCompression, 1u);
  // A stored size of 0 becomes the uncompressed size.
  f.sizeImage = 0;
  EXPECT_TRUE(ReadBoth(BmpBytes(f, 2, std::string("\x04\x01\x00\x01", 4)), &dib).empty());
  EXPECT_EQ(HeaderOf(dib).biSizeImage, 8u);
}

TEST_F(BmpReadTest, Os2HeaderBecomesTheFortyByteForm) {
  std::string path = DataPath("bmp/os2_8.bmp");
  std::string file = ReadFile(path);
  HGLOBAL dib = Keep(ReadDIB(path.c_str(), Keep(EmptyBlock())));
  ASSERT_NE(dib, nullptr);
  BITMAPINFOHEADER h = HeaderOf(dib);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biClrUsed, 256u);
  EXPECT_EQ(h.biXPelsPerMeter, 2953);
  EXPECT_EQ(h.biYPelsPerMeter, 2953);
  EXPECT_EQ(h.biCompression, 0u);
  // Entries widened in their order: (blue, green, red) -> (blue, green, red, 0).
  std::vector<Rgb> table = TableOf(dib);
  ASSERT_EQ(table.size(), 256u);
  for (std::size_t i = 0; i < 256; ++i) {
    const char* e = file.data() + 26 + 3 * i;
    EXPECT_EQ(table[i], (Rgb{std::uint8_t(e[2]), std::uint8_t(e[1]), std::uint8_t(e[0])})) << i;
  }
}

TEST_F(BmpReadTest, MemoryReaderStaysInsideItsImage) {
  Fields f;
  f.width = 64;
  f.height = 64;
  std::string bytes = BmpBytes(f, 2, std::string(10, '\x01'));
  // Bounded by the global block the image lies in, with no size passed.
  HGLOBAL image = Keep(BlockOf(bytes));
  HGLOBAL dib = Keep(ReadMemDIB(GlobalLock(image), Keep(EmptyBlock())));
  GlobalUnlock(image);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(PixelAt(dib, 9, 0), 1u);
  EXPECT_EQ(PixelAt(dib, 10, 0), 0u);
  EXPECT_EQ(PixelAt(dib, 63, 63), 0u);
  // A header cut short by the block.
  HGLOBAL cut = Keep(BlockOf(bytes.substr(0, 30)));
  EXPECT_EQ(ReadMemDIB(GlobalLock(cut), Keep(EmptyBlock())), nullptr);
  GlobalUnlock(cut);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"ReadDIBInfo: Fehler beim Lesen des DIB-Informationsblocks!"}));
  win::ClearMessageBoxLog();
  EXPECT_EQ(ReadMemDIB(nullptr, Keep(EmptyBlock())), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"ReadDIBInfo: Keine G\xfc" "ltige Dateihandle vorhanden!"}));
}

TEST_F(BmpReadTest, BitsOffsetIsFollowedOrReadsNothing) {
  Fields f;
  f.width = 1;
  f.height = 1;
  // Offset past the end: the pixels stay 0.
  HGLOBAL dib = nullptr;
  EXPECT_TRUE(ReadBoth(BmpBytes(f, 2, std::string(4, '\x01'), 5000), &dib).empty());
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(PixelAt(dib, 0, 0), 0u);
  // Offset beyond what a seek can reach.
  EXPECT_TRUE(ReadBoth(BmpBytes(f, 2, std::string(4, '\x01'), 0xF0000000), &dib).empty());
  EXPECT_EQ(PixelAt(dib, 0, 0), 0u);
}

TEST_F(BmpReadTest, FileNamesAndOpenFailures) {
  EXPECT_EQ(ReadDIB(nullptr, Keep(EmptyBlock())), nullptr);
  EXPECT_EQ(ReadDIB(dir_.file("missing.bmp").c_str(), Keep(EmptyBlock())), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"ReadDIB: Keine Dateiname vorhanden!",
                                                  "ReadDIB: Fehler beim \xd6" "ffnen der Datei!"}));
  // The Windows form of the name, in another case.
  dir_.write("Picture.bmp", ReadFile(DataPath("bmp/b4_5.bmp")));
  std::string windowsName = "C:" + dir_.file("PICTURE.BMP");
  for (char& c : windowsName)
    if (c == '/') c = '\\';
  EXPECT_NE(Keep(ReadDIB(windowsName.c_str(), Keep(EmptyBlock()))), nullptr);
}

TEST_F(BmpReadTest, IsBmpFile) {
  struct Case {
    const char* what;
    std::string bytes;
    BOOL result;
    std::vector<std::string> messages;
  } cases[] = {
      {"ten bytes of text", "plain text", FALSE, {"IsBMPFile: Fehler beim Lesen des BMP-Dateikopfs!"}},
      {"not BM", Fourteen("GI") + std::string(40, '\0'), FALSE, {}},
      {"short header", Fourteen("BM") + std::string("\x28\0\0\0", 4), FALSE,
       {"ReadDIBInfo: Fehler beim Lesen des DIB-Informationsblocks!"}},
      {"version 4 header", BmpBytes(Fields{108}, 0, std::string(60, '\0')), FALSE, {}},
      {"Windows header", BmpBytes(Fields{}, 2, std::string(8, '\0')), TRUE, {}},
      {"tiny OS/2 file", ReadFile(DataPath("bmp/os2_1x1.bmp")), TRUE, {}},
  };
  for (const Case& c : cases) {
    win::ClearMessageBoxLog();
    std::string path = dir_.write("is.bmp", c.bytes);
    EXPECT_EQ(IsBMPFile(path.c_str()), c.result) << c.what;
    EXPECT_EQ(Messages(), c.messages) << c.what;
  }
  win::ClearMessageBoxLog();
  EXPECT_EQ(IsBMPFile(dir_.file("missing.bmp").c_str()), FALSE);
  EXPECT_EQ(IsBMPFile(nullptr), FALSE);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace pixolt_test
