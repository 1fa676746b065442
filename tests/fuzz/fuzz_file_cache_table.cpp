// fuzz-libs: zemra_store
// The file cache's table reader: any bytes split into lines as the cache
// reads its table, each line parsed, and every parsed line written back and
// parsed again unchanged. (Loading entries is left out: a table names files
// that the cache would delete.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/cache/file_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    if (const auto line = ParseFileCacheTableLine(text.substr(pos, end - pos))) {
      if (const auto written = FormatFileCacheTableLine(*line)) {
        const auto again = ParseFileCacheTableLine(*written);
        if (!again || again->key != line->key || again->file != line->file) std::abort();
      }
    }
    pos = end + 1;
  }
  return 0;
}
