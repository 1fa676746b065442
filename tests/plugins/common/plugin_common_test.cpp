// The shared plug-in contract: DIB sizes computed from file values, checked
// views of a caller's DIB, bounded reads, the warning box and progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/byte_span.h"
#include "common/dib_block.h"
#include "common/file_io.h"
#include "common/plugin_box.h"
#include "common/plugin_dialogs.h"
#include "common/progress.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

using plugins::DibLayout;
using plugins::MakeDibLayout;

TEST(PluginDibLayout, SizesFromFileValues) {
  struct Case {
    std::int64_t width, height;
    unsigned bits;
    std::uint32_t colors;
    bool ok;
    std::uint32_t rowBytes, total;
  } cases[] = {
      {1, 1, 1, 2, true, 4, 40 + 8 + 4},
      {33, 2, 1, 2, true, 8, 40 + 8 + 16},
      {3, 1, 24, 0, true, 12, 40 + 12},
      {5, 3, 4, 16, true, 4, 40 + 64 + 12},
      {0, 5, 8, 256, false, 0, 0},
      {5, 0, 8, 256, false, 0, 0},
      {-1, 5, 8, 256, false, 0, 0},
      {5, 5, 2, 4, false, 0, 0},            // no such DIB depth
      {5, 5, 8, 257, false, 0, 0},          // more colours than a table holds
      {65535, 65535, 24, 0, false, 0, 0},   // more than a global block
      {0x7FFFFFFF, 0x7FFFFFFF, 24, 0, false, 0, 0},  // products past 64 bits stay out
      {0x100000000LL, 1, 1, 2, false, 0, 0},
  };
  for (const Case& c : cases) {
    DibLayout l;
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
    ASSERT_EQ(MakeDibLayout(c.width, c.height, c.bits, c.colors, l), c.ok);
    if (c.ok) {
      EXPECT_EQ(l.rowBytes, c.rowBytes);
      EXPECT_EQ(l.totalBytes, c.total);
      EXPECT_EQ(l.bitsOffset, 40 + 4 * c.colors);
    }
  }
}

std::vector<std::uint8_t> Dib(LONG width, LONG height, WORD bits, DWORD clrUsed, std::size_t extra) {
  std::uint64_t colors = clrUsed ? clrUsed : (bits <= 8 ? 1u << bits : 0);
  std::vector<std::uint8_t> b(40 + 4 * colors + plugins::DibRowBytes(width, bits) *
                                                   static_cast<std::uint64_t>(height < 0 ? -height : height) +
                              extra);
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = bits;
  h.biClrUsed = clrUsed;
  std::memcpy(b.data(), &h, sizeof h);
  return b;
}

TEST(PluginDibView, ChecksTheCallersBlock) {
  plugins::DibSource s;
  auto ok = Dib(10, 3, 8, 0, 0);
  ASSERT_EQ(plugins::ViewDib(ok.data(), ok.size(), s), plugins::DibCheck::kOk);
  EXPECT_EQ(s.colorCount, 256u);
  EXPECT_EQ(s.rowBytes, 12u);
  EXPECT_EQ(s.Row(0), ok.data() + 40 + 1024 + 2 * 12);  // the top row is stored last

  // One byte short of the last row: refused, never read past the block.
  EXPECT_EQ(plugins::ViewDib(ok.data(), ok.size() - 1, s), plugins::DibCheck::kBadShape);
  EXPECT_EQ(plugins::ViewDib(ok.data(), 39, s), plugins::DibCheck::kNoDib);

  auto used = Dib(4, 2, 4, 3, 0);  // biClrUsed decides where the rows start
  ASSERT_EQ(plugins::ViewDib(used.data(), used.size(), s), plugins::DibCheck::kOk);
  EXPECT_EQ(s.bits, used.data() + 40 + 12);

  auto topDown = Dib(4, -2, 24, 0, 0);
  ASSERT_EQ(plugins::ViewDib(topDown.data(), topDown.size(), s), plugins::DibCheck::kOk);
  EXPECT_EQ(s.height, 2);
  EXPECT_EQ(s.Row(0), topDown.data() + 40);

  auto huge = Dib(4, 2, 8, 0, 0);
  reinterpret_cast<BITMAPINFOHEADER*>(huge.data())->biClrUsed = 0xFFFFFFFF;
  EXPECT_EQ(plugins::ViewDib(huge.data(), huge.size(), s), plugins::DibCheck::kBadShape);
  auto os2 = Dib(4, 2, 8, 0, 0);
  reinterpret_cast<BITMAPINFOHEADER*>(os2.data())->biSize = 12;
  EXPECT_EQ(plugins::ViewDib(os2.data(), os2.size(), s), plugins::DibCheck::kNotWindows);
  auto rle = Dib(4, 2, 8, 0, 0);
  reinterpret_cast<BITMAPINFOHEADER*>(rle.data())->biCompression = 1;
  EXPECT_EQ(plugins::ViewDib(rle.data(), rle.size(), s), plugins::DibCheck::kCompressed);
  auto depth = Dib(4, 2, 8, 0, 0);
  reinterpret_cast<BITMAPINFOHEADER*>(depth.data())->biBitCount = 16;
  EXPECT_EQ(plugins::ViewDib(depth.data(), depth.size(), s), plugins::DibCheck::kBadShape);
}

TEST(PluginDibBlock, GrownBlockIsAllZero) {
  // The caller's block may hold anything; the grown DIB starts from zeros.
  for (DWORD_PTR start : {44u, 5000u}) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, start);
    std::memset(GlobalLock(block), 0xAB, start);
    GlobalUnlock(block);
    HGLOBAL grown = plugins::GrowDibBlock(block, 3000);
    ASSERT_NE(grown, nullptr);
    ASSERT_EQ(GlobalSize(grown), 3000u);
    auto* p = static_cast<const std::uint8_t*>(GlobalLock(grown));
    EXPECT_EQ(std::count(p, p + 3000, 0), 3000);
    GlobalUnlock(grown);
    GlobalFree(grown);
  }
  EXPECT_EQ(plugins::GrowDibBlock(nullptr, 10), nullptr);
}

TEST(PluginBytes, ReadsStayInsideTheData) {
  const std::uint8_t bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A};
  plugins::ByteSpan span(bytes, sizeof bytes);
  std::uint16_t v16 = 0;
  std::uint32_t v32 = 0;
  EXPECT_TRUE(span.U16(0, false, v16));
  EXPECT_EQ(v16, 0x3412);
  EXPECT_TRUE(span.U16(0, true, v16));
  EXPECT_EQ(v16, 0x1234);
  EXPECT_TRUE(span.U32(1, true, v32));
  EXPECT_EQ(v32, 0x3456789Au);
  EXPECT_FALSE(span.U32(2, false, v32));
  EXPECT_FALSE(span.U16(0xFFFFFFFFFFFFFFFFull, false, v16));
  EXPECT_FALSE(span.Has(1, 0xFFFFFFFFFFFFFFFFull));
  EXPECT_TRUE(span.Has(5, 0));

  plugins::ByteCursor c(bytes, sizeof bytes);
  std::uint8_t b[8];
  EXPECT_TRUE(c.Skip(2));
  EXPECT_FALSE(c.Read(b, 4));
  EXPECT_EQ(c.position(), 2u);
  EXPECT_TRUE(c.Read(b, 3));
  EXPECT_TRUE(c.AtEnd());
  EXPECT_FALSE(c.U8(b[0]));
}

TEST(PluginFiles, WholeFileAndCheckedWrites) {
  testing_support::TempDir dir;
  std::string name = dir.write("pic.bin", std::string("\x01\x02\x03", 3));
  plugins::FileImage image;
  ASSERT_EQ(image.Load(name.c_str()), plugins::FileReadStatus::kOk);
  ASSERT_EQ(image.size(), 3u);
  EXPECT_EQ(image.data()[2], 3);
  EXPECT_EQ(image.Load(dir.file("missing.bin").c_str()), plugins::FileReadStatus::kCannotOpen);
  std::string empty = dir.write("empty.bin", "");
  EXPECT_EQ(image.Load(empty.c_str()), plugins::FileReadStatus::kOk);
  EXPECT_EQ(image.size(), 0u);

  plugins::FileWriter w;
  ASSERT_TRUE(w.Create(dir.file("out.bin").c_str()));
  EXPECT_TRUE(w.WriteU32(0x01020304));
  EXPECT_TRUE(w.WriteU16(0x0506));
  EXPECT_TRUE(w.Seek(0));
  EXPECT_TRUE(w.WriteU8(9));
  EXPECT_TRUE(w.Close());
  EXPECT_EQ(testing_support::TempDir::read(dir.file("out.bin")), std::string("\x09\x03\x02\x01\x06\x05", 6));
}

TEST(PluginBox, WarningIsTaskModalWithoutOwner) {
  win::ClearMessageBoxLog();
  plugins::ShowWarningF("Tevrin.DLL", "Ungültiger LZW-Code %d!", 4095);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  const auto& box = win::MessageBoxLog()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, "Tevrin.DLL");
  EXPECT_EQ(box.text, "Ungültiger LZW-Code 4095!");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_TASKMODAL | MB_ICONWARNING));
  win::ClearMessageBoxLog();
}

TEST(PluginProgress, PercentIsBounded) {
  EXPECT_EQ(plugins::Percent(0, 0), 100);
  EXPECT_EQ(plugins::Percent(1, 3), 33);
  EXPECT_EQ(plugins::Percent(5, 3), 100);
  EXPECT_EQ(plugins::Percent(-1, 3), 0);
  EXPECT_EQ(plugins::Percent(0x7FFFFFFF, 0x7FFFFFFF), 100);
}

TEST(PluginDialogs, ProgressDialogShowsVersionAndPercent) {
  const std::string script =
      "200 DIALOG 0, 0, 120, 40\nSTYLE WS_POPUP | WS_CAPTION\nBEGIN\n"
      "    LTEXT \"\", 101, 5, 5, 40, 8\n    LTEXT \"\", 201, 5, 20, 40, 8\nEND\n";
  HINSTANCE module = plugins::PluginResources("PluginCommonTest", script.data(), script.size());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(plugins::PluginResources("PluginCommonTest", "broken", 6), module);  // there already
  HWND window;
  {
    plugins::ProgressDialog progress(module, plugins::ConversionDialogProc);
    window = progress.window();
    ASSERT_NE(window, nullptr);
    char text[16] = {};
    GetDlgItemText(window, 101, text, sizeof text);
    EXPECT_STREQ(text, "1.0");
    GetDlgItemText(window, 201, text, sizeof text);
    EXPECT_STREQ(text, "0");
    progress.Set(42);
    GetDlgItemText(window, 201, text, sizeof text);
    EXPECT_STREQ(text, "42");
  }
  EXPECT_FALSE(IsWindow(window));
  // Without resources the write goes on without a window.
  plugins::ProgressDialog none(nullptr, plugins::ConversionDialogProc);
  EXPECT_EQ(none.window(), nullptr);
  none.Set(10);
}

}  // namespace
