// The readers and the format test: a PCX file or file image in memory into
// the caller's block. Part of the codec library, so that the fuzz targets
// drive them as the client does.
#include "common/file_io.h"
#include "common/plugin_box.h"
#include "murvik.h"
#include "murvik_messages.h"
#include "pcx_reader.h"

namespace murvik {
namespace {

HGLOBAL Fail(const char* text) {
  plugins::ShowWarning(kCaption, text);
  return nullptr;
}

HGLOBAL DecodeIntoBlock(plugins::ByteSpan image, HGLOBAL block) {
  PcxPlan plan;
  if (const char* bad = PlanPcx(image, plan)) return Fail(bad);
  HGLOBAL dib = block ? plugins::GrowDibBlock(block, plan.dibSize) : GlobalAlloc(GHND, plan.dibSize);
  if (!dib) return Fail(msg::kNoMemoryDib);
  plugins::BlockLock lock(dib);
  if (!lock || lock.size() < plan.dibSize) return Fail(msg::kNoMemoryDib);
  if (const char* bad = DecodePcx(plan, image, lock.data())) return Fail(bad);
  return dib;
}

}  // namespace

HGLOBAL ConvertPCXtoDIB(LPCSTR fileName, int, HWND, HGLOBAL block, DWORD, int*) {
  plugins::FileImage file;
  switch (file.Load(fileName)) {
    case plugins::FileReadStatus::kOk: break;
    case plugins::FileReadStatus::kCannotOpen: return Fail(msg::kCannotOpen);
    case plugins::FileReadStatus::kCannotRead: return Fail(msg::kReadFailed);
    case plugins::FileReadStatus::kNoMemory: return Fail(msg::kNoMemoryBitmap);
  }
  if (file.size() < kPcxHeaderSize) return Fail(msg::kReadFailed);
  return DecodeIntoBlock(plugins::ByteSpan(file.data(), file.size()), block);
}

HGLOBAL ConvertPCXMemtoDIB(const void* image, DWORD size, HGLOBAL block, int*) {
  if (!image || size < kPcxHeaderSize) return Fail(msg::kMemoryHeader);
  return DecodeIntoBlock(plugins::ByteSpan(static_cast<const std::uint8_t*>(image), size), block);
}

BOOL ConvertIsPCXFile(LPCSTR fileName) {
  std::uint8_t header[kPcxHeaderSize];
  return plugins::ReadFileStart(fileName, header, sizeof header) && IsPcxManufacturer(header[0]);
}

}  // namespace murvik
