// The input of a fuzz target as a file of its own, for readers that take a
// file name: "/tmp/zemra_fuzz_<name>_<pid>.<extension>" (named after the
// process, so parallel runs do not meet), removed again when the object goes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzz_support {

class ScratchFile {
 public:
  ScratchFile(const char* name, const char* extension, const std::uint8_t* data, std::size_t size)
      : path_(std::string("/tmp/zemra_fuzz_") + name + "_" + std::to_string(getpid()) + "." + extension) {
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (!f) return;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    written_ = true;
  }
  ~ScratchFile() {
    if (written_) std::remove(path_.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  bool written() const { return written_; }
  const char* path() const { return path_.c_str(); }

 private:
  std::string path_;
  bool written_ = false;
};

}  // namespace fuzz_support
