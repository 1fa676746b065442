// The TIFF plug-in as the client meets it: loaded by the name format.dat
// gives, bound by ordinal, called once and freed.
#include <gtest/gtest.h>

#include <string>

#include "plugins/common/support/picture_oracle.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "tevrin/tevrin.h"
#include "tevrin/tiff_writer.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

class TevrinPlugin : public plugin_test::PluginTest {
 protected:
  TevrinPlugin() : PluginTest("TEVRIN.DLL", "Tevrin.DLL") {}
};

TEST_F(TevrinPlugin, ExportsEveryOrdinalUnderItsName) {
  const std::pair<WORD, const char*> exports[] = {
      {1, "WEP"}, {2, "ConvertTIFtoDIB"}, {4, "ConvertDIBtoTIF"}, {6, "ConvertDIBtoTIFEx"},
      {8, "ConvertIsTIFFile"}, {10, "ConvertTIFGetVersion"}, {14, "DlgTIF"}, {16, "DlgConversion"},
      {20, "ConvertTIFMemtoDIB"}};
  for (const auto& [ordinal, name] : exports) {
    FARPROC byOrdinal = GetProcAddress(lib_, MAKEINTRESOURCE(ordinal));
    EXPECT_NE(byOrdinal, nullptr) << name;
    EXPECT_EQ(byOrdinal, GetProcAddress(lib_, name)) << name;
  }
  EXPECT_EQ(GetProcAddress(lib_, MAKEINTRESOURCE(12)), nullptr);
  EXPECT_EQ(Bind<int (*)(int)>(1)(0), 1);
  EXPECT_EQ(Bind<tevrin::ConvertTIFGetVersionFn>(10)(), 0x0100);
}

TEST_F(TevrinPlugin, ReadersFollowTheCallingContract) {
  auto readFile = Bind<tevrin::ConvertTIFtoDIBFn>(2);
  auto readMemory = Bind<tevrin::ConvertTIFMemtoDIBFn>(20);
  const std::string name = plugin_test::DataPath("tiff/p8-lzw-le-r7.tif");
  const plugin_test::Rgb expected = plugin_test::ReadPnmFile(plugin_test::DataPath("tiff/p8-lzw-le-r7.ppm"));

  // File: the caller's 44-byte block grows into the DIB; the transparent
  // index stays as the caller set it; progress reaches the window.
  plugin_test::ProgressRecorder recorder;
  HGLOBAL block = plugin_test::NewReaderBlock();
  int transparent = -1;
  HGLOBAL dib = readFile(name.c_str(), 0, recorder.window(), block, 0x80FFFFFF, &transparent);
  ASSERT_EQ(dib, block);
  EXPECT_EQ(plugin_test::DibToRgb(dib), expected);
  EXPECT_EQ(transparent, -1);
  ASSERT_FALSE(recorder.percents().empty());
  EXPECT_EQ(recorder.percents().back(), 100);
  EXPECT_TRUE(Messages().empty());
  GlobalFree(dib);

  auto bytes = plugin_test::ReadBytes(name);
  block = plugin_test::NewReaderBlock();
  dib = readMemory(bytes.data(), static_cast<DWORD>(bytes.size()), block, &transparent);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(plugin_test::DibToRgb(dib), expected);
  GlobalFree(dib);

  // Failures leave the block to the caller, still valid.
  block = plugin_test::NewReaderBlock();
  EXPECT_EQ(readFile(plugin_test::DataPath("tiff/none.tif").c_str(), 0, nullptr, block, 0, &transparent), nullptr);
  EXPECT_EQ(Messages(), std::vector<std::string>{"TIFF-Datei nicht lesbar!"});
  EXPECT_EQ(readMemory(bytes.data(), 7, block, &transparent), nullptr);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Fehler beim Lesen der TIFF-Datei!"});
  EXPECT_EQ(readMemory(nullptr, 100, block, &transparent), nullptr);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Falsche Byte-Reihenfolge!\nKeine TIFF-Datei!"});
  EXPECT_EQ(GlobalSize(block), 44u);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(TevrinPlugin, FormatTestTakesBothByteOrders) {
  auto isTiff = Bind<tevrin::ConvertIsTIFFileFn>(8);
  EXPECT_TRUE(isTiff(plugin_test::DataPath("tiff/g8-none-le.tif").c_str()));
  EXPECT_TRUE(isTiff(plugin_test::DataPath("tiff/g8-none-be-r5.tif").c_str()));
  EXPECT_FALSE(isTiff(plugin_test::DataPath("gif/c2.gif").c_str()));
  EXPECT_FALSE(isTiff(plugin_test::DataPath("tiff/none.tif").c_str()));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(TevrinPlugin, WritersTakeTheCallersDibAndOptions) {
  auto writeEx = Bind<tevrin::ConvertDIBtoTIFExFn>(6);
  auto write = Bind<tevrin::ConvertDIBtoTIFFn>(4);
  testing_support::TempDir dir;
  std::string file = dir.file("out.tif");
  EXPECT_FALSE(writeEx(file.c_str(), nullptr, nullptr));
  EXPECT_FALSE(write(file.c_str(), nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Keine DIB vorhanden!", "Keine DIB vorhanden!"}));

  HGLOBAL dib = plugin_test::MakeDib(9, 4, 4, {0x102030, 0x405060, 0x708090}, [](int x, int y) {
    return static_cast<std::uint32_t>((x + y) % 3);
  });
  tevrin::TiffWriteOptions lzw{0x0100, 4, 5, 1};
  ASSERT_TRUE(writeEx(file.c_str(), dib, &lzw));
  EXPECT_TRUE(Messages().empty());
  // The caller's DIB is untouched and still the caller's.
  EXPECT_EQ(plugin_test::DibToRgb(dib).pixels[3], 0x40);
  auto readFile = Bind<tevrin::ConvertTIFtoDIBFn>(2);
  HGLOBAL back = readFile(file.c_str(), 0, nullptr, plugin_test::NewReaderBlock(), 0, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(plugin_test::DibToRgb(back), plugin_test::DibToRgb(dib));
  GlobalFree(back);
  GlobalFree(dib);
}

}  // namespace
