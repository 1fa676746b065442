// Pending files: mkstemp beside the final name, rename(2) to commit.
#include "print/pending_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "win/path_map.h"

namespace win::print {
namespace {

std::string Reason(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// The permission bits a newly created file would get (mkstemp makes 0600).
mode_t CreationMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

PendingFile::~PendingFile() { Discard(); }

bool PendingFile::Open(const std::string& name, std::string* error) {
  Discard();
  std::string why;
  finalPath_ = HostPath(name);
  if (finalPath_.empty() || finalPath_.back() == '/') {
    why = "no file name";
  } else {
    struct stat st{};
    if (stat(finalPath_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      why = finalPath_ + " is a directory";
    } else {
      std::string pattern = finalPath_ + ".XXXXXX";
      std::vector<char> buf(pattern.begin(), pattern.end());
      buf.push_back('\0');
      const int fd = mkstemp(buf.data());
      if (fd < 0) {
        why = Reason(finalPath_, errno);
      } else {
        tempPath_ = buf.data();
        fchmod(fd, CreationMode());
        stream_ = fdopen(fd, "wb");
        if (!stream_) {
          why = Reason(finalPath_, errno);
          close(fd);
          unlink(tempPath_.c_str());
          tempPath_.clear();
        }
      }
    }
  }
  if (!why.empty()) {
    if (error) *error = why;
    return false;
  }
  return true;
}

bool PendingFile::Commit(std::string* error) {
  if (!stream_) {
    if (error) *error = "no file is open";
    return false;
  }
  std::FILE* f = stream_;
  stream_ = nullptr;
  std::string why;
  if (std::fflush(f) != 0) why = Reason(finalPath_, errno);
  if (std::fclose(f) != 0 && why.empty()) why = Reason(finalPath_, errno);
  if (why.empty() && std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
    why = Reason(finalPath_, errno);
  }
  if (!why.empty()) {
    unlink(tempPath_.c_str());
    tempPath_.clear();
    if (error) *error = why;
    return false;
  }
  tempPath_.clear();
  return true;
}

void PendingFile::Discard() {
  if (stream_) {
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!tempPath_.empty()) {
    unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

}  // namespace win::print
