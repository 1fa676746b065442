// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes away.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of a file inside the directory, as a string.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Writes bytes to a file inside the directory (creating parent folders).
  std::string write(const std::string& name, const std::string& bytes) const;
  static std::string read(const std::string& path);

 private:
  std::filesystem::path path_;
};

// The lines of a text file, without their line feeds (none when it cannot
// be read).
std::vector<std::string> FileLines(const std::string& path);
// The whole of a file, bytes as they are ("" when it cannot be read).
std::string FileText(const std::string& path);

// The user's own directory under the temporary path the environment names
// now (TMPDIR, TMP, TEMP), where the client keeps its temporary files and
// its logbook; made when missing.
std::filesystem::path PrivateTempDir();

}  // namespace testing_support
