// The readers and the format test of the TIFF plug-in.
#include "common/file_io.h"
#include "common/plugin_box.h"
#include "tevrin/tevrin.h"
#include "tevrin/tevrin_texts.h"
#include "tevrin/tiff_reader.h"

namespace tevrin {

int WEP(int) { return 1; }

WORD ConvertTIFGetVersion() { return kVersion; }

HGLOBAL ConvertTIFtoDIB(LPCSTR fileName, int, HWND progress, HGLOBAL block, DWORD, int*) {
  plugins::FileImage image;
  switch (image.Load(fileName)) {
    case plugins::FileReadStatus::kOk:
      return ReadTiff(image.data(), image.size(), block, progress);
    case plugins::FileReadStatus::kCannotOpen:
      plugins::ShowWarning(kCaption, text::kCannotOpen);
      return nullptr;
    case plugins::FileReadStatus::kCannotRead:
      plugins::ShowWarning(kCaption, text::kReadError);
      return nullptr;
    case plugins::FileReadStatus::kNoMemory:
      plugins::ShowWarning(kCaption, text::kNoMemoryFile);
      return nullptr;
  }
  return nullptr;
}

HGLOBAL ConvertTIFMemtoDIB(const void* image, DWORD size, HGLOBAL block, int*) {
  return ReadTiff(static_cast<const std::uint8_t*>(image), image ? size : 0, block, nullptr);
}

BOOL ConvertIsTIFFile(LPCSTR fileName) {
  std::uint8_t head[8];
  return plugins::ReadFileStart(fileName, head, sizeof head) && IsTiffSignature(head, sizeof head);
}

}  // namespace tevrin
