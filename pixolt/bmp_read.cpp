// Reading BMP files and BMP file images in memory into DIB handles.
#include "bmp_info.h"
#include "byte_source.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"

using namespace pixolt;

namespace {

// Closes the file on every path out.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(LPCSTR name) : file_(_lopen(name, OF_READ)) {}
  ~ReadOnlyFile() {
    if (file_ != HFILE_ERROR) _lclose(file_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  bool ok() const { return file_ != HFILE_ERROR; }
  HFILE get() const { return file_; }

 private:
  HFILE file_;
};

HGLOBAL ReadFromMemory(const void* image, std::uint64_t size, HGLOBAL block) {
  if (!image) {
    Report("ReadDIBInfo", "Keine G\xfc" "ltige Dateihandle vorhanden!");
    return nullptr;
  }
  MemorySource source(image, size);
  BmpLayout layout;
  HGLOBAL info = ReadDibInfo(source, block, layout);
  if (!info) return nullptr;
  return ReadDibBits("ReadDIB", source, info, layout);
}

}  // namespace

BOOL IsBMPFile(LPCSTR fileName) {
  if (!fileName) return FALSE;
  ReadOnlyFile file(fileName);
  if (!file.ok()) return FALSE;
  FileSource source(file.get());
  return LooksLikeBmp(source);
}

HGLOBAL ReadDIB(LPCSTR fileName, HGLOBAL block) {
  if (!fileName) {
    Report("ReadDIB", kNoFileName);
    return nullptr;
  }
  ReadOnlyFile file(fileName);
  if (!file.ok()) {
    Report("ReadDIB", "Fehler beim \xd6" "ffnen der Datei!");
    return nullptr;
  }
  FileSource source(file.get());
  BmpLayout layout;
  HGLOBAL info = ReadDibInfo(source, block, layout);
  if (!info) {
    Report("ReadDIB", "Fehler beim Lesen der BMP-Datei!");
    return nullptr;
  }
  return ReadDibBits("ReadDIB", source, info, layout);
}

// The image's length is not passed; when it is the start of a global block
// the block's size bounds it.
HGLOBAL ReadMemDIB(const void* image, HGLOBAL block) {
  std::uint64_t size = MemorySource::kUnbounded;
  if (image) {
    if (HGLOBAL owner = GlobalHandle(image)) size = GlobalSize(owner);
  }
  return ReadFromMemory(image, size, block);
}

HGLOBAL ReadMemDIBEx(const void* image, DWORD size, HGLOBAL block) {
  return ReadFromMemory(image, size, block);
}
