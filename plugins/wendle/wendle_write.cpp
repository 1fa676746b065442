// The writers of the GIF plug-in.
#include "common/dib_block.h"
#include "common/plugin_box.h"
#include "wendle/gif_writer.h"
#include "wendle/wendle.h"
#include "wendle/wendle_dialogs.h"
#include "wendle/wendle_texts.h"

namespace wendle {

BOOL ConvertDIBtoGIFEx(LPCSTR fileName, HGLOBAL dib, void* options) {
  if (!dib) {
    plugins::ShowWarning(kCaption, text::kNoDib);
    return FALSE;
  }
  GifWriteOptions chosen;
  if (options) chosen = *static_cast<const GifWriteOptions*>(options);
  return WriteGif(fileName, dib, chosen, nullptr) ? TRUE : FALSE;
}

BOOL ConvertDIBtoGIF(LPCSTR fileName, HGLOBAL dib) {
  if (!dib) {
    plugins::ShowWarning(kCaption, text::kNoDibDialog);
    return FALSE;
  }
  static GifWriteOptions options;
  options = GifWriteOptions{};
  {
    plugins::BlockLock lock(dib);
    if (lock && lock.size() >= sizeof(BITMAPINFOHEADER))
      options.reduction = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data())->biBitCount == 24 ? 1 : 0;
  }
  if (!RunOptionsDialog(options, options.reduction != 0)) return FALSE;
  return ConvertDIBtoGIFEx(fileName, dib, &options);
}

}  // namespace wendle
