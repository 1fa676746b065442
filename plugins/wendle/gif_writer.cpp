#include "wendle/gif_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/dib_block.h"
#include "common/file_io.h"
#include "common/owned_dib.h"
#include "common/plugin_box.h"
#include "common/progress.h"
#include "common/scratch_block.h"
#include "pixolt.h"
#include "wendle/gif_lzw.h"
#include "wendle/wendle_texts.h"

namespace wendle {
namespace {

bool Fail(const char* message) {
  plugins::ShowWarning(kCaption, message);
  return false;
}

// The picture row stored at position `i` of the image data (interlaced:
// passes from rows 0, 4, 2 and 1 in steps of 8, 8, 4 and 2).
std::vector<LONG> RowOrder(LONG height, bool interlaced) {
  std::vector<LONG> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (LONG y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  const LONG starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (LONG y = starts[pass]; y < height; y += steps[pass]) order.push_back(y);
  return order;
}

void Unpack(const plugins::DibSource& s, LONG y, std::uint8_t* out) {
  const std::uint8_t* row = s.Row(y);
  switch (s.bitCount) {
    case 8:
      std::memcpy(out, row, static_cast<std::size_t>(s.width));
      break;
    case 4:
      for (LONG x = 0; x < s.width; ++x) out[x] = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF;
      break;
    default:
      for (LONG x = 0; x < s.width; ++x) out[x] = (row[x / 8] >> (7 - (x & 7))) & 1;
      break;
  }
}

// The colour table: the DIB's used colours, then zeros up to 2^bits.
std::vector<std::uint8_t> ColorTable(const plugins::DibSource& s) {
  const DWORD entries = 1u << s.bitCount;
  std::vector<std::uint8_t> table(3 * entries, 0);
  for (DWORD i = 0; i < std::min(entries, s.colorCount); ++i) s.Color(i, table[3 * i], table[3 * i + 1], table[3 * i + 2]);
  return table;
}

}  // namespace

bool WriteGif(const char* fileName, HGLOBAL dib, const GifWriteOptions& options,
              const WriteProgress& progress) {
  if (options.format != 87 && options.format != 89) return Fail(text::kUnknownFormat);
  // Intermediate DIBs (expanded RLE, reduced 24 bits) are freed on every
  // way out; Pixolt shows its own box when it cannot make them.
  plugins::OwnedDib expanded, reduced;
  HGLOBAL source = dib;
  {
    plugins::BlockLock lock(dib);
    if (!lock || lock.size() < sizeof(BITMAPINFOHEADER)) return Fail(text::kNoDib);
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(lock.data());
    if (h->biSize != plugins::kDibHeaderSize) return Fail(text::kNoDib);
    if (h->biCompression != 0) {
      expanded.Reset(RLEtoDIB(dib));
      if (!expanded.get()) return false;
      source = expanded.get();
    }
  }
  {
    plugins::BlockLock lock(source);
    if (lock.size() >= sizeof(BITMAPINFOHEADER) &&
        reinterpret_cast<const BITMAPINFOHEADER*>(lock.data())->biBitCount == 24) {
      reduced.Reset(DIB24To8(source, options.reduction ? TRUE : FALSE));
      if (!reduced.get()) return false;
    }
  }
  if (reduced.get()) source = reduced.get();
  plugins::BlockLock lock(source);
  plugins::DibSource s;
  if (plugins::ViewDib(lock.data(), lock.size(), s) != plugins::DibCheck::kOk || s.bitCount == 24)
    return Fail(text::kNoDib);
  // A GIF holds sizes of 16 bits; a larger picture cannot be written.
  if (s.width > 0xFFFF || s.height > 0xFFFF) return Fail(text::kWriteError);

  const unsigned bits = s.bitCount;
  const std::size_t pixels = static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height);
  plugins::ScratchBlock indices, codes, children;
  if (!indices.Allocate(pixels) || !codes.Allocate(GifLzwWorstCase(pixels)) ||
      !children.Allocate(kGifChildTableBytes))
    return Fail(text::kNoMemory);

  plugins::FileWriter file;
  if (!file.Create(fileName)) return Fail(text::kWriteError);
  const bool global = options.globalTable != 0;
  const std::vector<std::uint8_t> table = ColorTable(s);
  const std::uint8_t sizeBits = static_cast<std::uint8_t>(bits - 1);
  const std::uint8_t screen[7] = {static_cast<std::uint8_t>(s.width), static_cast<std::uint8_t>(s.width >> 8),
                                  static_cast<std::uint8_t>(s.height), static_cast<std::uint8_t>(s.height >> 8),
                                  static_cast<std::uint8_t>((global ? 0x80 : 0) | sizeBits << 4 | sizeBits), 0, 0};
  file.Write(options.format == 87 ? "GIF87a" : "GIF89a", 6);
  file.Write(screen, sizeof screen);
  if (global) file.Write(table.data(), table.size());
  const std::uint8_t image[10] = {',', 0, 0, 0, 0, screen[0], screen[1], screen[2], screen[3],
                                  static_cast<std::uint8_t>((options.interlace ? 0x40 : 0) | (global ? 0 : 0x80) | sizeBits)};
  file.Write(image, sizeof image);
  if (!global) file.Write(table.data(), table.size());

  // One index byte per pixel, rows from the top (or in the interlace passes).
  const std::vector<LONG> order = RowOrder(s.height, options.interlace != 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    Unpack(s, order[i], indices.data() + i * static_cast<std::size_t>(s.width));
    if (progress) progress(plugins::Percent(static_cast<std::int64_t>(i), s.height));
  }
  const unsigned minCodeSize = bits == 1 ? 2 : bits;
  std::size_t length = EncodeGifLzw(indices.data(), pixels, minCodeSize, codes.data(), codes.size(),
                                    reinterpret_cast<std::uint32_t*>(children.data()));
  file.WriteU8(static_cast<std::uint8_t>(minCodeSize));
  for (std::size_t at = 0; at < length; at += 255) {
    const auto n = static_cast<std::uint8_t>(std::min<std::size_t>(255, length - at));
    file.WriteU8(n);
    file.Write(codes.data() + at, n);
  }
  file.WriteU8(0);
  file.WriteU8(';');
  if (length == 0 || !file.Close()) return Fail(text::kWriteError);
  return true;
}

}  // namespace wendle
