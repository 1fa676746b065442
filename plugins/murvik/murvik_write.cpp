// The writers: a DIB into a PCX file, with or without the options dialog.
#include <vector>

#include "common/file_io.h"
#include "common/plugin_box.h"
#include "common/plugin_dialogs.h"
#include "murvik.h"
#include "murvik_dialogs.h"
#include "murvik_messages.h"
#include "pcx_writer.h"

namespace murvik {
namespace {

BOOL Fail(const char* text) {
  plugins::ShowWarning(kCaption, text);
  return FALSE;
}

const char* CheckText(plugins::DibCheck check, const plugins::BlockLock& lock) {
  switch (check) {
    case plugins::DibCheck::kOk: return nullptr;
    case plugins::DibCheck::kNotWindows: return msg::kOs2Bitmap;
    case plugins::DibCheck::kCompressed: return msg::kRleBitmap;
    case plugins::DibCheck::kBadShape: {
      WORD bits = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data())->biBitCount;
      if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return msg::kUnknownDibFormat;
      // A block that cannot hold the picture its header claims holds no DIB.
      return msg::kNoDib;
    }
    case plugins::DibCheck::kNoDib: break;
  }
  return msg::kNoDib;
}

// The options record as ConvertDIBtoPCX fills it before its dialog.
PcxWriteOptions g_options;

}  // namespace

BOOL ConvertDIBtoPCXEx(LPCSTR fileName, HGLOBAL dib, void* options) {
  if (!dib) return Fail(msg::kNoDib);
  PcxWriteOptions chosen;
  if (options) chosen = *static_cast<const PcxWriteOptions*>(options);
  plugins::ProgressDialog progress(MurvikResources(), DlgConversion);
  plugins::FileWriter file;
  if (!file.Create(fileName)) return Fail(msg::kCannotCreate);
  std::vector<std::uint8_t> bytes;
  {
    plugins::BlockLock lock(dib);
    plugins::DibSource source;
    const char* bad = CheckText(plugins::ViewDib(lock.data(), lock.size(), source), lock);
    if (!bad) bad = EncodePcx(source, chosen, bytes, [&](int percent) { progress.Set(percent); });
    if (bad) return Fail(bad);
  }
  if (!file.Write(bytes.data(), bytes.size()) || !file.Close()) return Fail(msg::kWriteFailed);
  return TRUE;
}

BOOL ConvertDIBtoPCX(LPCSTR fileName, HGLOBAL dib) {
  if (!dib) return Fail(msg::kNoDib);
  g_options = PcxWriteOptions{};
  {
    plugins::BlockLock lock(dib);
    if (lock.size() >= sizeof(BITMAPINFOHEADER))
      g_options.bitsPerPixel = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data())->biBitCount;
  }
  if (!RunOptionsDialog(g_options)) return FALSE;
  return ConvertDIBtoPCXEx(fileName, dib, &g_options);
}

WORD ConvertPCXGetVersion() { return kVersion; }

int WEP(int) { return 1; }

}  // namespace murvik
