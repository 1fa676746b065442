// fuzz-libs: zemra_murvik_codec
//
// Input: a PCX (or SCR) file image, read by Murvik's memory reader as the
// picture loader calls it. A DIB that comes back must be whole (its header,
// colour table and rows inside the block), and written by Murvik's encoder
// and read again it must give the same pixels. Pictures whose DIB would
// take more than 16 MB are skipped, to keep the runs fast.
#include <cstdint>
#include <cstring>
#include <vector>

#include "murvik.h"
#include "pcx_reader.h"
#include "pcx_writer.h"
#include "plugin_fuzz.h"

using namespace plugin_fuzz;

namespace {

// Written by Murvik's encoder and read again, `source` gives the same
// pixels and colours.
void CheckRoundTrip(const plugins::DibSource& source, std::size_t size) {
  std::vector<std::uint8_t> pcx, again;
  murvik::PcxWriteOptions options;
  options.runLength = static_cast<std::uint16_t>(size & 1);
  check(murvik::EncodePcx(source, options, pcx, nullptr) == nullptr);
  murvik::PcxPlan back;
  check(murvik::PlanPcx(plugins::ByteSpan(pcx.data(), pcx.size()), back) == nullptr);
  again.assign(back.dibSize, 0);
  check(murvik::DecodePcx(back, plugins::ByteSpan(pcx.data(), pcx.size()), again.data()) == nullptr);
  plugins::DibSource second;
  check(plugins::ViewDib(again.data(), again.size(), second) == plugins::DibCheck::kOk);
  check(second.width == source.width && second.height == source.height && second.bitCount == source.bitCount);
  // Every pixel's colour, row by row (padding bits may differ).
  const std::size_t used = plugins::PackedRowBytes(static_cast<std::uint64_t>(source.width), source.bitCount);
  const unsigned tail = (source.width * source.bitCount) % 8;
  for (LONG r = 0; r < source.height; ++r) {
    const std::uint8_t* a = source.Row(r);
    const std::uint8_t* b = second.Row(r);
    if (used > 1) check(std::memcmp(a, b, used - 1) == 0);
    std::uint8_t mask = tail ? static_cast<std::uint8_t>(0xFF << (8 - tail)) : 0xFF;
    check(((a[used - 1] ^ b[used - 1]) & mask) == 0);
  }
  if (source.bitCount <= 8) check(std::memcmp(source.colors, second.colors, 4u << source.bitCount) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QuietBoxes();
  murvik::PcxPlan plan;
  if (murvik::PlanPcx(plugins::ByteSpan(data, size), plan) == nullptr && plan.dibSize > (16u << 20)) return 0;
  // An exact-size copy, so that any read past the image is caught.
  std::vector<std::uint8_t> image(data, data + size);
  HGLOBAL block = GlobalAlloc(GHND, 44);
  int transparent = -1;
  HGLOBAL dib = murvik::ConvertPCXMemtoDIB(image.empty() ? nullptr : image.data(), static_cast<DWORD>(size), block,
                                           &transparent);
  check(transparent == -1);
  CheckRead(dib, block, Refusal::kSomeBox, true,
            [&](const plugins::DibSource& source) { CheckRoundTrip(source, size); });
  return 0;
}
