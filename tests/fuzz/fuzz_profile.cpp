// fuzz-libs: zemra_platform
// Arbitrary bytes as a settings file: section and key lists, values and
// integers with small and large buffers, and the edits of a write, which
// must keep the rest of the file byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "win/profile_parser.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Copies through caller buffers of several sizes, checking the NUL rules and
// that nothing is written past the given size.
void CopyEverySize(std::string_view text, bool list) {
  for (DWORD size : {0u, 1u, 2u, 3u, 7u, 64u, 4096u}) {
    std::string buf(size + 1, '\x7f');
    DWORD n = list ? win::profile::CopyList(text, buf.data(), size)
                   : win::profile::CopyValue(text, buf.data(), size);
    Check(buf[size] == '\x7f');
    if (size == 0) continue;
    Check(n < size);
    Check(buf[n] == '\0');
    if (list && size >= 2) Check(buf[n + 1] == '\0' || n + 1 == size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  win::profile::Document doc = win::profile::Parse(bytes);
  Check(win::profile::Serialize(doc) == bytes);  // parsing loses nothing

  std::string sections = win::profile::SectionNames(doc);
  CopyEverySize(sections, true);
  std::string_view first(sections.c_str());
  std::string keys = win::profile::KeyNames(doc, first);
  CopyEverySize(keys, true);
  CopyEverySize(win::profile::SectionEntries(doc, first), true);

  std::string_view firstKey(keys.c_str());
  for (std::string_view key : {firstKey, std::string_view("Server"), std::string_view("")}) {
    auto value = win::profile::FindValue(doc, first, key);
    if (value) {
      CopyEverySize(*value, false);
      (void)win::profile::ParseInt(*value);
    }
  }

  // A write then a read gives the value back.
  win::profile::Document edited = win::profile::Parse(bytes);
  win::profile::SetValue(edited, "Fuzz Section", "Key", "value");
  auto back = win::profile::FindValue(win::profile::Parse(win::profile::Serialize(edited)),
                                      "fuzz section", "KEY");
  Check(back && *back == "value");
  if (!first.empty() && !firstKey.empty()) {
    win::profile::DeleteKey(edited, first, firstKey);
    win::profile::DeleteSection(edited, first);
    Check(win::profile::FindSection(win::profile::Parse(win::profile::Serialize(edited)), first) < 0);
  }
  return 0;
}
