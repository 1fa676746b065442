// The writers: a DIB into an EPS file, optionally behind the DOS EPS header
// with a TIFF preview.
#include <cstdio>
#include <vector>

#include "common/file_io.h"
#include "common/owned_dib.h"
#include "common/plugin_box.h"
#include "common/plugin_dialogs.h"
#include "eps_preview_tiff.h"
#include "eps_reader.h"
#include "eps_writer.h"
#include "ospray.h"
#include "ospray_dialogs.h"
#include "ospray_messages.h"
#include "pixolt.h"

namespace ospray {
namespace {

BOOL Fail(const char* text) {
  plugins::ShowWarning(kCaption, text);
  return FALSE;
}

std::string Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[48];
  std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u:%02u", t.wDay, t.wMonth, t.wYear, t.wHour,
                t.wMinute, t.wSecond);
  return text;
}

// The header's kind and compression, read before anything else. An RLE
// DIB is expanded into `expanded`; `source` is the DIB to write.
const char* PrepareSource(HGLOBAL dib, plugins::OwnedDib& expanded, HGLOBAL& source) {
  source = dib;
  DWORD size = 0, compression = 0;
  {
    plugins::BlockLock lock(dib);
    if (!lock || lock.size() < sizeof(BITMAPINFOHEADER)) return msg::kNoDib;
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data());
    size = h->biSize;
    compression = h->biCompression;
  }
  if (size != sizeof(BITMAPINFOHEADER)) return msg::kOs2Bitmap;
  if (compression != BI_RGB) {
    expanded.Reset(RLEtoDIB(dib));
    if (!expanded.get()) return msg::kRleBitmap;
    source = expanded.get();
  }
  return nullptr;
}

const char* ViewText(plugins::DibCheck check) {
  switch (check) {
    case plugins::DibCheck::kOk: return nullptr;
    case plugins::DibCheck::kNotWindows: return msg::kOs2Bitmap;
    case plugins::DibCheck::kCompressed: return msg::kRleBitmap;
    // A depth without an image writer, or a header that claims more than
    // its block holds: nothing to write from.
    case plugins::DibCheck::kNoDib:
    case plugins::DibCheck::kBadShape: break;
  }
  return msg::kNoDib;
}

// The preview picture of the kind asked for (a new DIB), or null with the
// reason.
HGLOBAL MakePreviewDib(HGLOBAL source, int kind, const char*& reason) {
  reason = msg::kPreviewCreate;
  plugins::OwnedDib small;
  HGLOBAL base = source;
  if (kind == 1 || kind == 3) {
    small.Reset(SmallSizeDIB(source));
    if (!small.get()) return nullptr;
    base = small.get();
  }
  if (kind == 3 || kind == 4) return CopyDIB(base);
  if (kind != 1 && kind != 2) {
    reason = msg::kUnknownPreview;
    return nullptr;
  }
  switch (GetDIBBitPerPixel(base)) {
    case 1: return CopyDIB(base);
    case 4: return DIB4To1(base);
    case 8: return DIB8To1(base);
    case 24: return DIB24To1(base);
    default: return nullptr;
  }
}

// Appends the TIFF preview; fills its offset and length.
const char* AppendPreview(HGLOBAL source, int kind, plugins::FileWriter& file, std::uint32_t& offset,
                          std::uint32_t& length) {
  const char* reason = nullptr;
  plugins::OwnedDib preview(MakePreviewDib(source, kind, reason));
  if (!preview.get()) return reason;
  std::vector<std::uint8_t> tiff;
  {
    plugins::BlockLock lock(preview.get());
    plugins::DibSource view;
    if (plugins::ViewDib(lock.data(), lock.size(), view) != plugins::DibCheck::kOk) return msg::kPreviewCreate;
    if (!BuildPreviewTiff(view, tiff)) return msg::kNoMemoryPreview;
  }
  offset = static_cast<std::uint32_t>(file.position());
  if (!file.Write(tiff.data(), tiff.size())) return msg::kWriteFailed;
  length = static_cast<std::uint32_t>(tiff.size());
  return nullptr;
}

bool WriteDosHeader(plugins::FileWriter& file, std::uint32_t psLength, std::uint32_t tiffOffset,
                    std::uint32_t tiffLength) {
  return file.Seek(0) && file.WriteU32(kDosEpsMagic) && file.WriteU32(kDosEpsHeaderSize) &&
         file.WriteU32(psLength) && file.WriteU32(0) && file.WriteU32(0) && file.WriteU32(tiffOffset) &&
         file.WriteU32(tiffLength) && file.WriteU16(0xFFFF) && file.WriteU16(0);
}

// The options as ConvertDIBtoEPS fills them before its dialog.
EpsWriteOptions g_options;

}  // namespace

BOOL ConvertDIBtoEPSEx(LPCSTR fileName, HGLOBAL dib, void* options) {
  if (!dib) return Fail(msg::kNoDib);
  EpsWriteOptions o;
  if (options) o = *static_cast<const EpsWriteOptions*>(options);
  plugins::OwnedDib expanded;
  HGLOBAL source = nullptr;
  if (const char* bad = PrepareSource(dib, expanded, source)) return Fail(bad);

  plugins::ProgressDialog progress(OsprayResources(), DlgConversion);
  plugins::FileWriter file;
  if (!file.Create(fileName)) return Fail(msg::kCannotCreate);
  if (o.preview == 1) {
    static const std::uint8_t kPlaceholder[kDosEpsHeaderSize] = {};
    if (!file.Write(kPlaceholder, sizeof kPlaceholder)) return Fail(msg::kWriteFailed);
  }
  {
    plugins::BlockLock lock(source);
    plugins::DibSource view;
    if (const char* bad = ViewText(plugins::ViewDib(lock.data(), lock.size(), view))) return Fail(bad);
    EpsText text{fileName ? fileName : "", Now()};
    const char* bad = WriteEpsPostScript(
        view, o, text, [&](const void* data, std::size_t size) { return file.Write(data, size); },
        [&](int percent) { progress.Set(percent); });
    if (bad) return Fail(bad);
  }
  if (o.preview == 1) {
    const auto psLength = static_cast<std::uint32_t>(file.position() - kDosEpsHeaderSize);
    std::uint32_t tiffOffset = 0, tiffLength = 0;
    const char* previewProblem = AppendPreview(source, o.previewKind, file, tiffOffset, tiffLength);
    if (previewProblem == msg::kWriteFailed) return Fail(previewProblem);
    if (previewProblem) tiffOffset = tiffLength = 0;
    if (!WriteDosHeader(file, psLength, tiffOffset, tiffLength)) return Fail(msg::kWriteFailed);
    if (previewProblem) {
      // The EPS stands without its preview; the call still reports it.
      file.Close();
      return Fail(previewProblem);
    }
  }
  if (!file.Close()) return Fail(msg::kWriteFailed);
  return TRUE;
}

BOOL ConvertDIBtoEPS(LPCSTR fileName, HGLOBAL dib) {
  if (!dib) return Fail(msg::kNoDib);
  g_options = EpsWriteOptions{};  // every field 1, the version first
  if (!RunOptionsDialog(g_options)) return FALSE;
  return ConvertDIBtoEPSEx(fileName, dib, &g_options);
}

}  // namespace ospray
