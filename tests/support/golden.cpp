#include "support/golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gdi/png_writer.h"
#include "gdi/text/font_text_engine.h"
#include "win/gdi.h"

namespace testing_support {

namespace {

bool Updating() {
  const char* update = std::getenv("ZEMRA_UPDATE_GOLDEN");
  return update && *update && std::strcmp(update, "0") != 0;
}

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    most = std::max(most, d < 0 ? -d : d);
  }
  return most;
}

}  // namespace

void ExpectGolden(const win::gdi::Surface& drawn, const std::string& golden) {
  const std::string path = std::string(ZEMRA_SOURCE_DIR) + "/" + golden;
  std::string error;
  if (Updating()) {
    ASSERT_TRUE(win::gdi::WritePng(drawn, path, &error)) << error;
    return;
  }
  auto expected = win::gdi::ReadPng(path, &error);
  ASSERT_NE(expected, nullptr) << path << ": " << error << " (ZEMRA_UPDATE_GOLDEN=1 makes it)";
  ASSERT_EQ(expected->width(), drawn.width()) << path;
  ASSERT_EQ(expected->height(), drawn.height()) << path;
  int off = 0, worst = 0;
  std::string first;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const std::uint32_t want = expected->At(x, y) & 0xFFFFFF, got = drawn.At(x, y) & 0xFFFFFF;
      if (want == got) continue;
      worst = std::max(worst, ChannelDistance(want, got));
      if (off++ == 0) {
        char text[96];
        std::snprintf(text, sizeof text, "(%d, %d) is 0x%06X, not 0x%06X", x, y, static_cast<unsigned>(got),
                      static_cast<unsigned>(want));
        first = text;
      }
    }
  if (off) {
    std::string saved = golden;
    std::replace(saved.begin(), saved.end(), '/', '-');
    saved = std::string(ZEMRA_BINARY_DIR) + "/drawn-" + saved;
    win::gdi::WritePng(drawn, saved);
    ADD_FAILURE() << off << " pixels differ from " << path << " (a channel by up to " << worst << "); first "
                  << first << "; drawn: " << saved;
  }
}

std::string ArialFontFile() {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT f = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, f);
  std::string file = win::gdi::text::SelectedFontFile(dc);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteDC(dc);
  return file;
}

}  // namespace testing_support
