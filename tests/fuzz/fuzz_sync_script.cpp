// fuzz-libs: zemra_pages
//
// Input: a whole SyncScript. What must hold: reading ends (every entry takes
// at least one byte, so a script of n bytes has at most n + 1 entries), an
// error entry always carries its message, and line numbers never run past
// the lines the script has.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pages/script/sync_script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 16)) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  std::uint32_t lines = 1 + static_cast<std::uint32_t>(std::count(text.begin(), text.end(), '\n'));
  SyncScriptReader reader(text);
  for (std::size_t entries = 0;; ++entries) {
    if (entries > size + 1) std::abort();
    ScriptCommand command = reader.ReadEntry();
    if (command == ScriptCommand::End) break;
    const ScriptEntry& e = reader.Entry();
    if (command == ScriptCommand::Error && e.errorText.empty()) std::abort();
    if (e.line < 1 || e.line > lines) std::abort();
  }
  return 0;
}
