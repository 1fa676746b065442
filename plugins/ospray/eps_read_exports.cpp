// The readers and the format test: an EPS file of Ospray's, or its image
// in memory, into a DIB. Part of the codec library, so that the fuzz
// targets drive them as the client does.
#include "common/file_io.h"
#include "common/plugin_box.h"
#include "eps_reader.h"
#include "ospray.h"
#include "ospray_messages.h"

namespace ospray {
namespace {

HGLOBAL Fail(const char* text) {
  plugins::ShowWarning(kCaption, text);
  return nullptr;
}

HGLOBAL Decode(plugins::ByteSpan image, HGLOBAL block) {
  std::string_view text;
  if (const char* bad = FindPostScript(image, text)) return Fail(bad);
  EpsPlan plan;
  if (const char* bad = PlanEps(text, plan)) return Fail(bad);
  // The caller's block grows into the DIB, as with every other reader, so
  // that the one block the caller frees is the DIB.
  const std::size_t size = plan.layout.totalBytes;
  HGLOBAL dib = block ? plugins::GrowDibBlock(block, size) : GlobalAlloc(GHND, size);
  if (!dib) return Fail(msg::kNoMemoryDib);
  plugins::BlockLock lock(dib);
  if (!lock || lock.size() < size) return Fail(msg::kNoMemoryDib);
  if (const char* bad = DecodeEps(plan, lock.data())) return Fail(bad);
  return dib;
}

}  // namespace

HGLOBAL ConvertEPStoDIB(LPCSTR fileName, int, HWND, HGLOBAL block, DWORD, int*) {
  plugins::FileImage file;
  switch (file.Load(fileName)) {
    case plugins::FileReadStatus::kOk: break;
    case plugins::FileReadStatus::kCannotOpen:
    case plugins::FileReadStatus::kCannotRead: return Fail(msg::kReadFailed);
    case plugins::FileReadStatus::kNoMemory: return Fail(msg::kNoMemoryFile);
  }
  return Decode(plugins::ByteSpan(file.data(), file.size()), block);
}

HGLOBAL ConvertEPSMemtoDIB(const void* image, DWORD size, HGLOBAL block, int*) {
  return Decode(plugins::ByteSpan(static_cast<const std::uint8_t*>(image), image ? size : 0), block);
}

BOOL ConvertIsEPSFile(LPCSTR fileName) {
  std::uint8_t start[4];
  if (plugins::ReadFileStart(fileName, start, 4)) {
    std::uint32_t magic = std::uint32_t{start[0]} | start[1] << 8 | start[2] << 16 | std::uint32_t{start[3]} << 24;
    if (magic == kDosEpsMagic) return TRUE;
  }
  return plugins::ReadFileStart(fileName, start, 2) && start[0] == '%' && start[1] == '!';
}

WORD ConvertEPSGetVersion() { return kVersion; }

int WEP(int) { return 1; }

}  // namespace ospray
