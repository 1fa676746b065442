// The library's own modules (the X11 display, the font engine, PNG files,
// the media decoders): each loads from beside the library and offers its
// table; without them, what needed them fails with an error that names the
// missing module, and the program goes on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "display/display.h"
#include "display/x11_module.h"
#include "gdi/png_module.h"
#include "gdi/png_writer.h"
#include "gdi/surface.h"
#include "gdi/text/font_module.h"
#include "gdi/text/font_text_engine.h"
#include "kernel/lazy_module.h"
#include "mci/media_module.h"
#include "win/gdi.h"

namespace {

template <typename Table>
std::function<bool(std::string*)> Loads(const char* file, const char* entry) {
  return [file, entry](std::string* error) {
    return win::kernel::LoadLazyModule<Table>(file, entry, error) != nullptr;
  };
}

TEST(LazyModules, LoadFromBesideTheLibraryOrSayWhyNot) {
  struct Case {
    const char* what;
    std::function<bool(std::string*)> load;
    bool loads;
    const char* errorNames;  // what the error must name when it does not load
  } cases[] = {
      {"the X11 display", Loads<win::display::X11Module>("libzemrax11.so", "ZemraX11Module"), true, ""},
      {"the font engine", Loads<win::gdi::text::FontModule>("libzemrafonts.so", "ZemraFontModule"), true, ""},
      {"PNG files", Loads<win::gdi::PngModule>("libzemrapng.so", "ZemraPngModule"), true, ""},
      {"the media decoders", Loads<win::mci::MediaModule>("libzemramedia.so", "ZemraMediaModule"), true, ""},
      {"a module that is not there", Loads<win::gdi::PngModule>("libzemranothing.so", "ZemraPngModule"), false,
       "libzemranothing.so"},
      {"an entry the module lacks", Loads<win::gdi::PngModule>("libzemrapng.so", "ZemraNoSuchModule"), false,
       "ZemraNoSuchModule"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(c.load(&error), c.loads) << c.what << ": " << error;
    if (c.loads) {
      EXPECT_EQ(error, "") << c.what;
    } else {
      EXPECT_NE(error.find(c.errorNames), std::string::npos) << c.what << ": " << error;
    }
  }
}

// What a program gets when a module cannot be had. Each case runs in a
// process of its own, where no module has been loaded yet, with the modules
// looked for where there are none.
struct Missing {
  const char* what;
  const char* module;  // the error names it
  // Uses what needs the module; false when that did not fail as it should.
  bool (*use)(std::string* error);
};

bool OpenDisplay(std::string* error) {
  if (win::display::MakeX11(":0", error)) return false;
  // Chosen as a program chooses: the display is headless, with a word why.
  ::setenv("DISPLAY", ":0", 1);
  ::unsetenv("ZEMRA_HEADLESS");
  return win::display::Active().IsHeadless();
}

bool DrawText(std::string* error) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(64, 16, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  SIZE size{1, 1};
  const bool failed = !TextOut(dc, 0, 0, "Harbour", 7) && !GetTextExtentPoint32(dc, "Harbour", 7, &size) &&
                      size.cx == 0 && !win::gdi::text::FontsAvailable(error);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return failed;
}

bool SavePicture(std::string* error) {
  auto surface = win::gdi::Surface::Create(4, 4, win::gdi::PixelFormat::Color, 0);
  std::string readError;
  return surface && !win::gdi::WritePng(*surface, "/dev/null", error) &&
         !win::gdi::ReadPng("/dev/null", &readError) && readError == *error;
}

// In the process of its own: exits with 0 when what needed the module
// failed as it should, printing the error.
[[noreturn]] void UseWithoutModules(const Missing& c) {
  ::setenv("ZEMRA_HEADLESS", "1", 1);
  // A directory no module can be in.
  win::kernel::SetLazyModuleDir("/dev/null/none");
  std::string error;
  const bool ok = c.use(&error);
  std::fprintf(stderr, "error: %s\n", error.c_str());
  std::_Exit(ok ? 0 : 1);
}

TEST(LazyModules, AMissingModuleIsAnErrorThatNamesIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const Missing cases[] = {
      {"a display opened", "libzemrax11[.]so", &OpenDisplay},
      {"text drawn", "libzemrafonts[.]so", &DrawText},
      {"a picture saved", "libzemrapng[.]so", &SavePicture},
  };
  for (const Missing& c : cases) {
    EXPECT_EXIT(UseWithoutModules(c), ::testing::ExitedWithCode(0), std::string("error: .*") + c.module)
        << c.what;
  }
}

}  // namespace
