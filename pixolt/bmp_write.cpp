// Writing a DIB handle as a BMP file: the file header, then the block as it
// lies in memory.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "dib_block.h"
#include "pixolt.h"
#include "reasons.h"
#include "report.h"
#include "win/path_map.h"

using namespace pixolt;

namespace {

void PutU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool WriteAll(HFILE file, const std::uint8_t* data, std::size_t bytes) {
  while (bytes > 0) {
    UINT piece = static_cast<UINT>(bytes < (1u << 30) ? bytes : (1u << 30));
    UINT written = _lwrite(file, reinterpret_cast<LPCSTR>(data), piece);
    if (written != piece) return false;
    data += piece;
    bytes -= piece;
  }
  return true;
}

}  // namespace

BOOL WriteDIB(LPCSTR fileName, HGLOBAL dib) {
  LockedDib d(dib);
  if (d.null()) {
    Report("WriteDIB", kNoDib);
    return FALSE;
  }
  if (!fileName) {
    Report("WriteDIB", kNoFileName);
    return FALSE;
  }
  // The file header is made from the DIB's header: a block that does not
  // hold what its header says would give a file that lies about itself.
  if (d.os2()) {
    Report("WriteDIB", kNoOs2);
    return FALSE;
  }
  if (!d.Valid()) {
    Report("WriteDIB", kUnknownFormat);
    return FALSE;
  }
  HFILE file = _lcreat(fileName, 0);
  if (file == HFILE_ERROR) {
    Report("WriteDIB", "Fehler beim Erzeugen der Datei!");
    return FALSE;
  }
  std::uint8_t header[14];
  PutU16(header, 0x4D42);
  PutU32(header + 2, static_cast<std::uint32_t>(d.size() + sizeof header));
  PutU16(header + 6, 0);
  PutU16(header + 8, 0);
  PutU32(header + 10, 14 + kInfoHeaderSize + 4 * d.colors());
  bool ok = WriteAll(file, header, sizeof header) && WriteAll(file, d.data(), d.size());
  // A close can fail too (the last bytes may only be written then).
  ok = _lclose(file) != HFILE_ERROR && ok;
  if (!ok) {
    // No picture cut short stays behind under the name; only a plain file
    // is removed, never a device the name may stand for.
    struct stat st{};
    const std::string host = win::HostPath(fileName);
    if (::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(host.c_str());
    Report("WriteDIB", "Fehler beim Schreiben in die Datei!");
    return FALSE;
  }
  return TRUE;
}
