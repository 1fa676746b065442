// Finding font files. The faces we map Windows names to are named by their
// file names (LiberationSans-Regular.ttf, ipag.ttf, ...) and looked up in the
// Debian font directories first, then in fontconfig's list of every font
// file, so what else is installed never changes which file draws "Arial".
// Only faces we do not know go through fontconfig's matching.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win::gdi::fonts {

struct MatchedFile {
  std::string path;
  int index = 0;        // face index inside the file (collections)
  std::string family;   // the family fontconfig gave
};

// The full path of a font file by its file name (compared without regard to
// case); nothing when it is not installed.
std::optional<std::string> FindFontFile(std::string_view fileName);

// fontconfig's choice for a family it knows under exactly that name (any of
// its names, compared without regard to case). Nothing when fontconfig
// would only substitute another family.
std::optional<MatchedFile> MatchFamily(std::string_view family, bool bold, bool italic);

struct FamilyStyleFile {
  std::string style;  // fontconfig's style name ("Regular", "Bold", ...)
  bool bold = false;
  bool italic = false;
  std::string path;
  int index = 0;
};

// The files of an installed family (fontconfig), for enumeration.
std::vector<FamilyStyleFile> FamilyFiles(std::string_view family);

// Every family fontconfig knows, sorted, each once.
std::vector<std::string> InstalledFamilies();

}  // namespace win::gdi::fonts
