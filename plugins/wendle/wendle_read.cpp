// The readers and the format test of the GIF plug-in.
#include "common/file_io.h"
#include "common/plugin_box.h"
#include "wendle/gif_reader.h"
#include "wendle/wendle.h"
#include "wendle/wendle_texts.h"

namespace wendle {

int WEP(int) { return 1; }

WORD ConvertGIFGetVersion() { return kVersion; }

HGLOBAL ConvertGIFtoDIB(LPCSTR fileName, int, HWND, HGLOBAL block, DWORD color, int* transparent) {
  if (transparent) *transparent = -1;
  plugins::FileImage image;
  switch (image.Load(fileName)) {
    case plugins::FileReadStatus::kOk:
      return ReadGif(image.data(), image.size(), GifSource::kFile, block, color, transparent);
    case plugins::FileReadStatus::kCannotOpen:
      plugins::ShowWarning(kCaption, text::kOpenError);
      return nullptr;
    case plugins::FileReadStatus::kCannotRead:
      plugins::ShowWarning(kCaption, text::kFileReadError);
      return nullptr;
    case plugins::FileReadStatus::kNoMemory:
      plugins::ShowWarning(kCaption, text::kNoMemoryDib);
      return nullptr;
  }
  return nullptr;
}

HGLOBAL ConvertGIFMemtoDIB(const void* image, DWORD size, HGLOBAL block, int* transparent) {
  return ReadGif(static_cast<const std::uint8_t*>(image), image ? size : 0, GifSource::kMemory, block, 0,
                 transparent);
}

BOOL ConvertIsGIFFile(LPCSTR fileName) {
  std::uint8_t head[6];
  return plugins::ReadFileStart(fileName, head, sizeof head) && IsGifSignature(head, sizeof head);
}

}  // namespace wendle
