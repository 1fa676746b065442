// The writers of the TIFF plug-in.
#include "common/dib_block.h"
#include "common/plugin_box.h"
#include "common/plugin_dialogs.h"
#include "tevrin/tevrin.h"
#include "tevrin/tevrin_dialogs.h"
#include "tevrin/tevrin_texts.h"
#include "tevrin/tiff_writer.h"

namespace tevrin {

BOOL ConvertDIBtoTIFEx(LPCSTR fileName, HGLOBAL dib, void* options) {
  if (!dib) {
    plugins::ShowWarning(kCaption, text::kNoDib);
    return FALSE;
  }
  TiffWriteOptions chosen;
  if (options) chosen = *static_cast<const TiffWriteOptions*>(options);
  plugins::ProgressDialog progress(TevrinResources(), DlgConversion);
  return WriteTiff(fileName, dib, chosen, [&](int percent) { progress.Set(percent); }) ? TRUE : FALSE;
}

BOOL ConvertDIBtoTIF(LPCSTR fileName, HGLOBAL dib) {
  if (!dib) {
    plugins::ShowWarning(kCaption, text::kNoDib);
    return FALSE;
  }
  // The plug-in's options record, set to its defaults for every call.
  static TiffWriteOptions options;
  options = TiffWriteOptions{};
  {
    plugins::BlockLock lock(dib);
    if (lock && lock.size() >= sizeof(BITMAPINFOHEADER))
      options.bitsPerPixel = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data())->biBitCount;
  }
  if (!RunOptionsDialog(options)) return FALSE;
  return ConvertDIBtoTIFEx(fileName, dib, &options);
}

}  // namespace tevrin
