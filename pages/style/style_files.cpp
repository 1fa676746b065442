#include "pages/style/style_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/logbook.h"
#include "mfc/cstring.h"
#include "pages/style/property_table.h"
#include "win/kernel.h"

namespace {

constexpr char kMainStyle[] = "MAIN.STY";

// The whole file with a NUL after it; empty when it cannot be read.
bool ReadWholeFile(const char* name, std::string& text) {
  FILE* f = win_fopen(name, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(f) : -1;
  ok = ok && length >= 0 && length <= kMaxStyleFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    text.assign(static_cast<std::size_t>(length), '\0');
    const std::size_t got = length ? std::fread(text.data(), 1, text.size(), f) : 0;
    text.resize(got);
  }
  std::fclose(f);
  return ok;
}

}  // namespace

void LoadStyleFile(const char* fileName) {
  const CString name(fileName);
  std::string text;
  if (!ReadWholeFile(name, text)) {
    TheLogbook().Write("cannot load style " + name);
    return;
  }
  if (text.empty()) return;
  PropertyTable& table = StyleTable();
  table.SetFileName(name);
  table.ParseStyleText(text.c_str());
  table.SetFileName(CString());
}

void LoadStyles() {
  LoadStyleFile(kMainStyle);
  WIN32_FIND_DATA found;
  HANDLE search = FindFirstFile("*.sty", &found);
  if (search == INVALID_HANDLE_VALUE) {
    TheLogbook().Write("main style not found");
    return;
  }
  std::vector<CString> names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFile(search, &found));
  FindClose(search);
  // In the order of their names without regard to case, as a user sees
  // them listed.
  std::vector<std::pair<CString, CString>> files;
  for (const CString& name : names) {
    CString upper = name;
    upper.MakeUpper();
    if (upper != kMainStyle) files.emplace_back(upper, name);
  }
  std::stable_sort(files.begin(), files.end(),
                   [](const auto& a, const auto& b) { return a.first.str() < b.first.str(); });
  for (const auto& file : files) LoadStyleFile(file.second);
}
