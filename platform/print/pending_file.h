// A file written under a temporary name beside its final one and renamed
// into place only when it is complete, so a reader never sees half a file
// and a failed or abandoned write leaves nothing behind (an older file of
// the final name stays as it was until the new one replaces it).
#pragma once

#include <cstdio>
#include <string>

namespace win::print {

class PendingFile {
 public:
  PendingFile() = default;
  ~PendingFile();  // an uncommitted file is discarded
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // `name` in Windows or host form. False (and `error`) when the name is
  // empty, names a directory, or the directory cannot take the file.
  bool Open(const std::string& name, std::string* error);
  std::FILE* stream() const { return stream_; }
  // The final file's host path (after Open).
  const std::string& finalPath() const { return finalPath_; }

  // Closes the file and renames it to its final name (replacing an existing
  // file). False (and `error`; nothing left behind) when that fails.
  bool Commit(std::string* error);
  // Closes and removes the temporary file.
  void Discard();

 private:
  std::FILE* stream_ = nullptr;
  std::string tempPath_;
  std::string finalPath_;
};

}  // namespace win::print
