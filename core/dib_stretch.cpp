#include "core/dib_stretch.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "core/dib_view.h"
#include "core/empty_dib.h"
#include "core/message_boxes.h"

namespace {

constexpr UINT kStrOutOfMemory = 4;

int sourceIndex(int i, int sourceSize, int size) {
  return static_cast<int>(static_cast<std::int64_t>(i) * sourceSize / size);
}

HGLOBAL stretch(HGLOBAL dib, int width, int height, int bits) {
  DibView src(dib, bits);
  if (!src.ok()) return nullptr;
  if (width < 1 || width > kMaxDibDimension || height < 1 || height > kMaxDibDimension)
    return nullptr;

  std::unique_ptr<int[]> columns(new (std::nothrow) int[width]);
  if (!columns) {
    ShowMessageId(kStrOutOfMemory);
    return nullptr;
  }
  for (int x = 0; x < width; ++x) columns[x] = sourceIndex(x, src.width(), width);

  HGLOBAL out = CreateEmptyDib(bits, width, height);
  if (!out) return nullptr;
  DibWriter dst(out);
  if (bits == 8) std::memcpy(dst.colors(), src.colors(), src.colorCount() * sizeof(RGBQUAD));

  const int bytes = bits / 8;
  for (int y = 0; y < height; ++y) {
    const BYTE* in = src.row(sourceIndex(y, src.height(), height));
    BYTE* px = dst.row(y);
    for (int x = 0; x < width; ++x, px += bytes) std::memcpy(px, in + columns[x] * bytes, bytes);
  }
  return out;
}

}  // namespace

HGLOBAL StretchDib24(HGLOBAL dib, int width, int height) { return stretch(dib, width, height, 24); }

HGLOBAL StretchDib8(HGLOBAL dib, int width, int height) { return stretch(dib, width, height, 8); }
