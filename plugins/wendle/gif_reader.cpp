#include "wendle/gif_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/byte_span.h"
#include "common/dib_block.h"
#include "common/plugin_box.h"
#include "common/scratch_block.h"
#include "wendle/gif_lzw.h"
#include "wendle/wendle_texts.h"

namespace wendle {
namespace {

using plugins::ByteCursor;

void Warn(const char* message) { plugins::ShowWarning(kCaption, message); }

// The DIB depth for a colour-table size field: 2^(field + 1) entries.
unsigned DepthFor(unsigned sizeField) { return sizeField == 0 ? 1 : sizeField <= 3 ? 4 : 8; }

bool SkipSubBlocks(ByteCursor& c) {
  for (;;) {
    std::uint8_t n;
    if (!c.U8(n)) return false;
    if (n == 0) return true;
    if (!c.Skip(n)) return false;
  }
}

// The largest local colour table of the file's images (its size field), or
// -1; stops quietly where the file goes wrong, which the real pass reports.
int LargestLocalTable(ByteCursor c) {
  int largest = -1;
  for (;;) {
    std::uint8_t b;
    if (!c.U8(b) || b == ';') return largest;
    if (b == 0) continue;
    if (b == '!') {
      if (!c.Skip(1) || !SkipSubBlocks(c)) return largest;
    } else if (b == ',') {
      std::uint8_t packed;
      if (!c.Skip(8) || !c.U8(packed)) return largest;
      if (packed & 0x80) {
        largest = std::max(largest, packed & 7);
        if (!c.Skip(3u << ((packed & 7) + 1))) return largest;
      }
      if (!c.Skip(1) || !SkipSubBlocks(c)) return largest;
    } else {
      return largest;
    }
  }
}

// Joins an image's data sub-blocks into one buffer. False on a short read;
// `noMemory` tells when the buffer could not be had.
bool JoinSubBlocks(ByteCursor& c, plugins::ScratchBlock& out, std::size_t& size, bool& noMemory) {
  ByteCursor measure = c;
  std::size_t total = 0;
  for (;;) {
    std::uint8_t n;
    if (!measure.U8(n)) return false;
    if (n == 0) break;
    if (!measure.Skip(n)) return false;
    total += n;
  }
  if (!out.Allocate(total)) {
    noMemory = true;
    return false;
  }
  std::size_t at = 0;
  for (;;) {
    std::uint8_t n = 0;  // measured above: the reads cannot fail
    c.U8(n);
    if (n == 0) break;
    c.Read(out.data() + at, n);
    at += n;
  }
  size = total;
  return true;
}

// The picture row of stored row `i` of an interlaced image of `height` rows:
// passes from rows 0, 4, 2 and 1 in steps of 8, 8, 4 and 2.
std::uint32_t InterlacedRow(std::uint32_t i, std::uint32_t height) {
  std::uint32_t pass1 = (height + 7) / 8;
  if (i < pass1) return i * 8;
  i -= pass1;
  std::uint32_t pass2 = (height + 3) / 8;
  if (i < pass2) return 4 + i * 8;
  i -= pass2;
  std::uint32_t pass3 = (height + 1) / 4;
  if (i < pass3) return 2 + i * 4;
  i -= pass3;
  return 1 + i * 2;
}

// How many rows of an image of `height` rows, in the order the file stores
// them, must be read to have every one of its first `visible` picture rows.
std::uint32_t StoredRowsOnScreen(std::uint32_t height, std::uint32_t visible, bool interlaced) {
  if (visible >= height) return height;
  if (!interlaced) return visible;
  std::uint32_t needed = 0;
  for (std::uint32_t i = 0; i < height; ++i)
    if (InterlacedRow(i, height) < visible) needed = i + 1;
  return needed;
}

// Draws decoded rows into the DIB at the image's place, clipped to the
// logical screen. Indices are kept to the DIB's depth, so no pixel beside
// them changes.
class DibRows {
 public:
  DibRows(std::uint8_t* bits, const plugins::DibLayout& screen, std::uint32_t left,
          std::uint32_t top, std::uint32_t width, std::uint32_t height, bool interlaced)
      : bits_(bits), screen_(screen), left_(left), top_(top), height_(height),
        visible_(std::min<std::uint32_t>(width, static_cast<std::uint32_t>(screen.width) - left)),
        interlaced_(interlaced) {}

  // Row `index` of the image data (in the order the file stores them).
  void Row(std::uint32_t index, const std::uint8_t* pixels) {
    std::uint32_t y = top_ + (interlaced_ ? InterlacedRow(index, height_) : index);
    if (y >= static_cast<std::uint32_t>(screen_.height)) return;
    std::uint8_t* row = bits_ + static_cast<std::size_t>(screen_.height - 1 - y) * screen_.rowBytes;
    switch (screen_.bits) {
      case 8:
        std::memcpy(row + left_, pixels, visible_);
        break;
      case 4:
        for (std::uint32_t x = 0; x < visible_; ++x) {
          std::uint32_t X = left_ + x;
          std::uint8_t v = pixels[x] & 0xF;
          std::uint8_t& b = row[X / 2];
          b = (X & 1) ? static_cast<std::uint8_t>((b & 0xF0) | v) : static_cast<std::uint8_t>((b & 0x0F) | v << 4);
        }
        break;
      default:
        for (std::uint32_t x = 0; x < visible_; ++x) {
          std::uint32_t X = left_ + x;
          std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (X & 7));
          std::uint8_t& b = row[X / 8];
          b = (pixels[x] & 1) ? (b | mask) : (b & ~mask);
        }
        break;
    }
  }

 private:
  std::uint8_t* bits_;
  const plugins::DibLayout& screen_;
  std::uint32_t left_, top_, height_, visible_;
  bool interlaced_;
};

class GifReader {
 public:
  GifReader(const std::uint8_t* data, std::size_t size, GifSource source, DWORD color, INT* transparent)
      : cursor_(data, size), readError_(source == GifSource::kFile ? text::kFileReadError : text::kMemoryReadError),
        color_(color), transparent_(transparent) {}

  HGLOBAL Read(HGLOBAL block);

 private:
  bool ReadColors(unsigned count);
  bool Extension();
  bool Image();

  ByteCursor cursor_;
  const char* readError_;
  DWORD color_;
  INT* transparent_;
  plugins::DibLayout layout_;
  std::uint8_t* dib_ = nullptr;
  bool global_ = false;
};

bool GifReader::ReadColors(unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    std::uint8_t rgb[3];
    if (!cursor_.Read(rgb, 3)) return false;
    plugins::SetDibColor(dib_, i, rgb[0], rgb[1], rgb[2]);
  }
  return true;
}

bool GifReader::Extension() {
  std::uint8_t label;
  if (!cursor_.U8(label)) return false;
  bool first = true;
  for (;;) {
    std::uint8_t n;
    if (!cursor_.U8(n)) return false;
    if (n == 0) return true;
    const std::uint8_t* sub = cursor_.current();
    if (!cursor_.Skip(n)) return false;
    // A graphic control extension names a transparent index only when its
    // transparency flag (bit 0) is set, and only an index of the table.
    if (label == 0xF9 && first && n == 4 && (sub[0] & 1) && sub[3] < layout_.colors) {
      if (transparent_) *transparent_ = sub[3];
      if (color_ & 0x80000000u)
        plugins::SetDibColor(dib_, sub[3], static_cast<std::uint8_t>(color_), static_cast<std::uint8_t>(color_ >> 8),
                             static_cast<std::uint8_t>(color_ >> 16));
    }
    first = false;
  }
}

bool GifReader::Image() {
  std::uint16_t left, top, width, height;
  std::uint8_t packed, minCodeSize;
  if (!cursor_.U16(left) || !cursor_.U16(top) || !cursor_.U16(width) || !cursor_.U16(height) ||
      !cursor_.U8(packed)) {
    Warn(readError_);
    return false;
  }
  if (packed & 0x80) {
    const unsigned count = 2u << (packed & 7);
    if (count > layout_.colors) {
      Warn(text::kWrongColors);
      return false;
    }
    if (!ReadColors(count)) {
      Warn(readError_);
      return false;
    }
    reinterpret_cast<BITMAPINFOHEADER*>(dib_)->biClrImportant = count;
  } else if (!global_) {
    Warn(text::kNoColorTable);
    return false;
  }
  plugins::ScratchBlock data;
  std::size_t size = 0;
  bool noMemory = false;
  if (!cursor_.U8(minCodeSize) || !JoinSubBlocks(cursor_, data, size, noMemory)) {
    Warn(noMemory ? text::kNoMemory : readError_);
    return false;
  }
  // Images that start right of or below the screen, and empty ones, draw
  // nothing.
  if (width == 0 || height == 0 || left >= layout_.width || top >= layout_.height) return true;
  // The indices of the rows that reach the screen, then those rows into
  // the DIB. An image may claim far more than the screen shows or its data
  // can fill: only what both allow is set aside.
  plugins::ScratchBlock indices;
  const std::size_t rowsNeeded = StoredRowsOnScreen(height, layout_.height - top, (packed & 0x40) != 0);
  const std::size_t pixels = std::min(std::size_t{width} * rowsNeeded,
                                      plugins::lzw::MostDecoded(size, 1u << std::clamp<unsigned>(minCodeSize, 1, 8)));
  if (!indices.Allocate(pixels)) {
    Warn(text::kNoMemory);
    return false;
  }
  GifLzwResult r = DecodeGifLzw(data.data(), size, minCodeSize, indices.data(), pixels);
  if (!r.ok) {
    plugins::ShowWarningF(kCaption, text::kBadLzwCode, r.badCode);
    return false;
  }
  DibRows rows(dib_ + layout_.bitsOffset, layout_, left, top, width, height, (packed & 0x40) != 0);
  for (std::uint32_t i = 0; i < r.written / width; ++i) rows.Row(i, indices.data() + std::size_t{i} * width);
  return true;
}

HGLOBAL GifReader::Read(HGLOBAL block) {
  std::uint16_t width, height;
  std::uint8_t packed, background, aspect;
  if (!cursor_.U16(width) || !cursor_.U16(height) || !cursor_.U8(packed) || !cursor_.U8(background) ||
      !cursor_.U8(aspect)) {
    Warn(readError_);
    return nullptr;
  }
  if (width == 0 || height == 0) {
    Warn(text::kNotGif);
    return nullptr;
  }
  global_ = (packed & 0x80) != 0;
  const unsigned globalCount = global_ ? 2u << (packed & 7) : 0;
  // The depth the screen's table size asks for, widened when a local table
  // needs more (a file may carry local tables only).
  unsigned depth = DepthFor(packed & 7);
  ByteCursor scan = cursor_;
  if (scan.Skip(3 * globalCount)) {
    int local = LargestLocalTable(scan);
    if (local >= 0) depth = std::max(depth, DepthFor(static_cast<unsigned>(local)));
  }
  if (cursor_.remaining() < 3 * globalCount) {
    Warn(readError_);
    return nullptr;
  }
  if (!plugins::MakeDibLayout(width, height, depth, 1u << depth, layout_)) {
    Warn(text::kNoMemoryDib);
    return nullptr;
  }
  // Room for a full table of 256 entries, as the block always had.
  HGLOBAL dib = plugins::GrowDibBlock(block, std::uint64_t{40} + 1024 + layout_.imageBytes);
  if (!dib) {
    Warn(text::kNoMemoryDib);
    return nullptr;
  }
  plugins::BlockLock lock(dib);
  dib_ = lock.data();
  plugins::FillDibHeader(dib_, layout_, plugins::kDefaultPelsPerMeter, plugins::kDefaultPelsPerMeter,
                         layout_.colors, globalCount);
  if (global_ && !ReadColors(globalCount)) {
    Warn(readError_);
    return nullptr;
  }
  for (;;) {
    std::uint8_t b;
    if (!cursor_.U8(b)) {
      Warn(text::kEndOfFile);
      return dib;
    }
    switch (b) {
      case 0:
        break;
      case ';':
        return dib;
      case '!':
        if (!Extension()) {
          Warn(readError_);
          return nullptr;
        }
        break;
      case ',':
        if (!Image()) return nullptr;
        break;
      default:
        Warn(text::kIllegalBlock);
        return dib;
    }
  }
}

}  // namespace

bool IsGifSignature(const std::uint8_t* bytes, std::size_t count) {
  return count >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0);
}

HGLOBAL ReadGif(const std::uint8_t* data, std::size_t size, GifSource source, HGLOBAL block,
                DWORD color, INT* transparent) {
  if (transparent) *transparent = -1;
  if (!data || size < 6 || std::memcmp(data, "GIF", 3) != 0) {
    Warn(text::kNotGif);
    return nullptr;
  }
  if (!IsGifSignature(data, size)) {
    char question[64];
    std::snprintf(question, sizeof question, text::kUnknownVersion, data[3], data[4], data[5]);
    if (plugins::AskUser(kQuestionCaption, question, MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL) != IDOK)
      return nullptr;
  }
  GifReader reader(data + 6, size - 6, source, color, transparent);
  return reader.Read(block);
}

}  // namespace wendle
