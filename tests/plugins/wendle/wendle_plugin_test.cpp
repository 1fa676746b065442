// The GIF plug-in as the client meets it: loaded by the name format.dat
// gives, bound by ordinal, called once and freed.
#include <gtest/gtest.h>

#include <string>

#include "plugins/common/support/picture_oracle.h"
#include "plugins/common/support/plugin_fixture.h"
#include "support/temp_dir.h"
#include "wendle/gif_writer.h"
#include "wendle/wendle.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/user.h"

namespace {

class WendlePlugin : public plugin_test::PluginTest {
 protected:
  WendlePlugin() : PluginTest("WENDLE.DLL", "Wendle.DLL") {}
};

TEST_F(WendlePlugin, ExportsEveryOrdinalButTheDialogs) {
  const std::pair<WORD, const char*> exports[] = {
      {1, "WEP"}, {2, "ConvertGIFtoDIB"}, {4, "ConvertDIBtoGIF"}, {6, "ConvertDIBtoGIFEx"},
      {8, "ConvertIsGIFFile"}, {10, "ConvertGIFGetVersion"}, {20, "ConvertGIFMemtoDIB"}};
  for (const auto& [ordinal, name] : exports) {
    FARPROC byOrdinal = GetProcAddress(lib_, MAKEINTRESOURCE(ordinal));
    EXPECT_NE(byOrdinal, nullptr) << name;
    EXPECT_EQ(byOrdinal, GetProcAddress(lib_, name)) << name;
  }
  EXPECT_EQ(GetProcAddress(lib_, MAKEINTRESOURCE(14)), nullptr);
  EXPECT_EQ(GetProcAddress(lib_, MAKEINTRESOURCE(16)), nullptr);
  EXPECT_EQ(Bind<int (*)(int)>(1)(0), 1);
  EXPECT_EQ(Bind<wendle::ConvertGIFGetVersionFn>(10)(), 0x0100);
}

TEST_F(WendlePlugin, ReadersFollowTheCallingContract) {
  auto readFile = Bind<wendle::ConvertGIFtoDIBFn>(2);
  auto readMemory = Bind<wendle::ConvertGIFMemtoDIBFn>(20);
  const std::string name = plugin_test::DataPath("gif/c11-transparent.gif");
  plugin_test::Rgb expected = plugin_test::ReadPnmFile(plugin_test::DataPath("gif/c11-transparent.ppm"));

  // The file reader takes the colour argument into the transparent entry.
  HGLOBAL block = plugin_test::NewReaderBlock();
  int transparent = 99;
  HGLOBAL dib = readFile(name.c_str(), 0, nullptr, block, 0x80000000 | 0x0000FF, &transparent);
  ASSERT_EQ(dib, block);
  ASSERT_GE(transparent, 0);
  auto* table = static_cast<const std::uint8_t*>(GlobalLock(dib)) + 40;
  EXPECT_EQ(table[4 * transparent + 2], 0xFF);
  EXPECT_EQ(table[4 * transparent + 1], 0);
  EXPECT_EQ(table[4 * transparent + 0], 0);
  GlobalUnlock(dib);
  GlobalFree(dib);

  auto bytes = plugin_test::ReadBytes(name);
  block = plugin_test::NewReaderBlock();
  int memoryTransparent = 99;
  dib = readMemory(bytes.data(), static_cast<DWORD>(bytes.size()), block, &memoryTransparent);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(memoryTransparent, transparent);
  EXPECT_EQ(plugin_test::DibToRgb(dib), expected);
  GlobalFree(dib);
  EXPECT_TRUE(Messages().empty());

  block = plugin_test::NewReaderBlock();
  EXPECT_EQ(readFile(plugin_test::DataPath("gif/none.gif").c_str(), 0, nullptr, block, 0, &transparent), nullptr);
  EXPECT_EQ(transparent, -1);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error on opening file"});
  EXPECT_EQ(readMemory(bytes.data(), 20, block, &transparent), nullptr);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Error converting image, reading memory"});
  EXPECT_EQ(GlobalSize(block), 44u);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST_F(WendlePlugin, FormatTestAndWriters) {
  auto isGif = Bind<wendle::ConvertIsGIFFileFn>(8);
  EXPECT_TRUE(isGif(plugin_test::DataPath("gif/c2.gif").c_str()));
  EXPECT_TRUE(isGif(plugin_test::DataPath("gif/c11-transparent.gif").c_str()));
  EXPECT_FALSE(isGif(plugin_test::DataPath("tiff/g8-none-le.tif").c_str()));
  EXPECT_FALSE(isGif(plugin_test::DataPath("gif/none.gif").c_str()));

  auto write = Bind<wendle::ConvertDIBtoGIFFn>(4);
  auto writeEx = Bind<wendle::ConvertDIBtoGIFExFn>(6);
  testing_support::TempDir dir;
  std::string file = dir.file("out.gif");
  EXPECT_FALSE(write(file.c_str(), nullptr));
  EXPECT_FALSE(writeEx(file.c_str(), nullptr, nullptr));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"No DIB abailable", "No DIB available"}));

  HGLOBAL dib = plugin_test::MakeDib(5, 3, 4, {0x112233, 0x445566, 0x778899}, [](int x, int y) {
    return static_cast<std::uint32_t>((x + y) % 3);
  });
  // No options dialog template: ConvertDIBtoGIF writes nothing.
  EXPECT_FALSE(write(file.c_str(), dib));
  wendle::GifWriteOptions options{0x0100, 89, 0, 1, 0};
  ASSERT_TRUE(writeEx(file.c_str(), dib, &options));
  EXPECT_TRUE(Messages().empty());
  HGLOBAL back = Bind<wendle::ConvertGIFtoDIBFn>(2)(file.c_str(), 0, nullptr, plugin_test::NewReaderBlock(), 0, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(plugin_test::DibToRgb(back), plugin_test::DibToRgb(dib));
  GlobalFree(back);
  GlobalFree(dib);
}

}  // namespace
