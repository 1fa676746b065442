#include "core/dib_view.h"

#include "core/empty_dib.h"
#include "win/kernel.h"

namespace {

constexpr DWORD kMaxColors = 256;

}  // namespace

DibView::DibView(HGLOBAL dib, int bits) {
  if (!dib) return;
  const DWORD_PTR size = GlobalSize(dib);
  if (size < sizeof(BITMAPINFOHEADER)) return;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) return;
  dib_ = dib;

  if (header->biSize != sizeof(BITMAPINFOHEADER) || header->biBitCount != bits ||
      header->biCompression != BI_RGB)
    return;
  if (header->biWidth < 1 || header->biWidth > kMaxDibDimension || header->biHeight < 1 ||
      header->biHeight > kMaxDibDimension)
    return;
  DWORD colors = header->biClrUsed;
  if (colors == 0 && bits <= 8) colors = DWORD{1} << bits;
  if (colors > kMaxColors) return;

  const DWORD_PTR rowBytes = DibRowBytes(header->biWidth, bits);
  const DWORD_PTR table = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD);
  const DWORD_PTR pixels = rowBytes * static_cast<DWORD_PTR>(header->biHeight);
  if (size < table || size - table < pixels) return;

  const BYTE* base = reinterpret_cast<const BYTE*>(header);
  header_ = header;
  colors_ = reinterpret_cast<const RGBQUAD*>(base + sizeof(BITMAPINFOHEADER));
  bits_ = base + table;
  rowBytes_ = rowBytes;
  width_ = header->biWidth;
  height_ = header->biHeight;
  colorCount_ = static_cast<int>(colors);
}

DibView::~DibView() {
  if (dib_) GlobalUnlock(dib_);
}

DibWriter::DibWriter(HGLOBAL dib) {
  if (!dib) return;
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
  if (!header) return;
  dib_ = dib;
  BYTE* base = reinterpret_cast<BYTE*>(header);
  header_ = header;
  colors_ = reinterpret_cast<RGBQUAD*>(base + sizeof(BITMAPINFOHEADER));
  bits_ = base + sizeof(BITMAPINFOHEADER) + header->biClrUsed * sizeof(RGBQUAD);
  rowBytes_ = DibRowBytes(header->biWidth, header->biBitCount);
}

DibWriter::~DibWriter() {
  if (dib_) GlobalUnlock(dib_);
}
