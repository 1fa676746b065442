// fuzz-libs: zemra_pages
//
// Input: a whole SyncScript, played on a script page without a window on a
// clock the target moves to each entry's time. What must hold: every entry
// runs (made, changed, shown, moved, removed objects, out-of-range ids,
// references to members that are not there, navigation, the cursor), the
// script reaches its end in at most one tick per entry, and the objects it
// made go with the player. No file is fetched: the file cache refuses all.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/logbook.h"
#include "pages/page/vpage.h"
#include "pages/page/vsyncpage.h"
#include "pages/script/sync_script.h"
#include "store/cache/file_cache.h"
#include "win/user.h"

namespace {

constexpr std::size_t kMaxInput = 16 * 1024;
DWORD g_ticks = 0;
char g_dir[] = "/tmp/zemra-fuzz-script-XXXXXX";

std::string Prepare() {
  setenv("ZEMRA_HEADLESS", "1", 1);
  setenv("ZEMRA_MCI_AUDIO", "null", 1);
  if (!mkdtemp(g_dir)) std::abort();
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(g_dir, ignored);
  });
  setenv("TMPDIR", g_dir, 1);
  Logbook::SetLogging(false);
  // Every reading moves the clock on a little, as a real one would: a wait
  // for a medium that never starts ends.
  SetPageTickSource([]() -> DWORD { return ++g_ticks; });
  TheFileCache().setDownloader([](const CString&, CString&) { return 0; });
  return std::string(g_dir) + "/show.syn";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = Prepare();
  if (size > kMaxInput) return 0;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const int cursor = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  {
    VSyncpage page;
    page.SetRect(0, 0, 640, 480);
    page.SetScript(std::make_unique<SyncScript>(path.c_str(), &page));
    SyncScript* script = page.Script();
    script->AddUrl(ScriptObject::Image, "#1", "korvex:picture");
    script->AddUrl(ScriptObject::Sound, "#1", "korvex:sound");
    script->Start();
    // Each tick runs at least the entry due, and reading ends with the text:
    // a script of n bytes has at most n + 1 entries.
    for (std::size_t tick = 0; !script->Ended(); ++tick) {
      if (tick > size + 2) std::abort();
      const std::uint32_t due = script->NextTime(), now = script->Elapsed();
      if (due > now) g_ticks += due - now;
      page.OnTimer(VSyncpage::kScriptTimer);
    }
    page.SetScript(nullptr);
  }
  // A cursor the script hid comes back with the player.
  const int after = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  if (after < 0 && cursor >= 0) std::abort();
  return 0;
}
