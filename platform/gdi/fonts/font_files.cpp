#include "gdi/fonts/font_files.h"

#include <fontconfig/fontconfig.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define ZEMRA_LEAK_CHECKS 1
#endif
#endif
#if !defined(ZEMRA_LEAK_CHECKS) && defined(__SANITIZE_ADDRESS__)
#define ZEMRA_LEAK_CHECKS 1
#endif
#ifndef ZEMRA_LEAK_CHECKS
#define ZEMRA_LEAK_CHECKS 0
#endif
#if ZEMRA_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "gdi/fonts/face_names.h"

namespace win::gdi::fonts {

namespace {

// Where Debian's packages put the files we name. Listed first so that an
// older copy of a font elsewhere (fonts-liberation next to fonts-liberation2)
// does not win.
constexpr const char* kDebianDirs[] = {
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/dejavu",
    "/usr/share/fonts/opentype/ipafont-gothic",
    "/usr/share/fonts/truetype/nanum",
};

FcConfig* Config() {
  // FcInitLoadConfigAndFonts gives a configuration we own for the process.
  static FcConfig* config = [] {
#if ZEMRA_LEAK_CHECKS
    // fontconfig 2.14 loses a few hundred bytes while it parses its files,
    // once per process; leak checking would fail every program for it.
    __lsan::ScopedDisabler inside_fontconfig;
#endif
    return FcInitLoadConfigAndFonts();
  }();
  return config;
}

// Every font file fontconfig lists, by lower-cased file name (first wins).
const std::map<std::string, std::string>& FileIndex() {
  static const std::map<std::string, std::string> index = [] {
    std::map<std::string, std::string> out;
    FcConfig* config = Config();
    if (!config) return out;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
    std::vector<std::string> paths;
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file) {
        paths.emplace_back(reinterpret_cast<const char*>(file));
      }
    }
    if (set) FcFontSetDestroy(set);
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    std::sort(paths.begin(), paths.end());  // fontconfig's order is not stable
    for (const std::string& p : paths) {
      out.emplace(LowerAscii(std::filesystem::path(p).filename().string()), p);
    }
    return out;
  }();
  return index;
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::string PatternString(FcPattern* p, const char* object, int n) {
  FcChar8* s = nullptr;
  if (FcPatternGetString(p, object, n, &s) != FcResultMatch || !s) return {};
  return reinterpret_cast<const char*>(s);
}

bool PatternHasFamily(FcPattern* p, std::string_view family) {
  for (int n = 0;; ++n) {
    FcChar8* s = nullptr;
    if (FcPatternGetString(p, FC_FAMILY, n, &s) != FcResultMatch || !s) return false;
    if (EqualNoCase(reinterpret_cast<const char*>(s), family)) return true;
  }
}

}  // namespace

std::optional<std::string> FindFontFile(std::string_view fileName) {
  if (fileName.empty() || fileName.find('/') != std::string_view::npos) return std::nullopt;
  // Asked for every font realised: the answers are kept (a bounded set of
  // names, those of our family table).
  static std::map<std::string, std::optional<std::string>> found;
  std::string name(fileName);
  auto known = found.find(name);
  if (known != found.end()) return known->second;
  std::optional<std::string> result;
  for (const char* dir : kDebianDirs) {
    std::string path = std::string(dir) + "/" + name;
    if (IsRegularFile(path)) {
      result = path;
      break;
    }
  }
  if (!result) {
    const auto& index = FileIndex();
    auto it = index.find(LowerAscii(name));
    if (it != index.end() && IsRegularFile(it->second)) result = it->second;
  }
  if (found.size() < 256) found.emplace(name, result);
  return result;
}

std::optional<MatchedFile> MatchFamily(std::string_view family, bool bold, bool italic) {
  FcConfig* config = Config();
  if (!config || family.empty()) return std::nullopt;
  std::string name(family);
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;
  std::optional<MatchedFile> out;
  if (PatternHasFamily(match, family)) {
    MatchedFile m;
    m.path = PatternString(match, FC_FILE, 0);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) m.index = index;
    m.family = PatternString(match, FC_FAMILY, 0);
    if (!m.path.empty()) out = std::move(m);
  }
  FcPatternDestroy(match);
  return out;
}

std::vector<FamilyStyleFile> FamilyFiles(std::string_view family) {
  std::vector<FamilyStyleFile> out;
  FcConfig* config = Config();
  if (!config || family.empty()) return out;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects =
      FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, nullptr);
  FcFontSet* set = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    if (!PatternHasFamily(p, family)) continue;
    FamilyStyleFile f;
    f.style = PatternString(p, FC_STYLE, 0);
    f.path = PatternString(p, FC_FILE, 0);
    int v = 0;
    if (FcPatternGetInteger(p, FC_INDEX, 0, &v) == FcResultMatch) f.index = v;
    if (FcPatternGetInteger(p, FC_WEIGHT, 0, &v) == FcResultMatch) f.bold = v >= FC_WEIGHT_DEMIBOLD;
    if (FcPatternGetInteger(p, FC_SLANT, 0, &v) == FcResultMatch) f.italic = v != FC_SLANT_ROMAN;
    if (!f.path.empty()) out.push_back(std::move(f));
  }
  if (set) FcFontSetDestroy(set);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  std::sort(out.begin(), out.end(), [](const FamilyStyleFile& a, const FamilyStyleFile& b) {
    if (a.bold != b.bold) return !a.bold;
    if (a.italic != b.italic) return !a.italic;
    return a.path < b.path;
  });
  return out;
}

std::vector<std::string> InstalledFamilies() {
  std::set<std::string> names;
  FcConfig* config = Config();
  if (!config) return {};
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
  for (int i = 0; set && i < set->nfont; ++i) {
    std::string f = PatternString(set->fonts[i], FC_FAMILY, 0);
    // Face names are at most LF_FACESIZE - 1 bytes; longer ones cannot be asked for.
    if (!f.empty() && f.size() < 32) names.insert(f);
  }
  if (set) FcFontSetDestroy(set);
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  return {names.begin(), names.end()};
}

}  // namespace win::gdi::fonts
