#include "pcx_header.h"

#include <cstring>

namespace murvik {
namespace {
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
}  // namespace

PcxHeader ParsePcxHeader(const std::uint8_t* in) {
  PcxHeader h;
  h.manufacturer = in[0];
  h.version = in[1];
  h.encoding = in[2];
  h.bitsPerPixel = in[3];
  h.xmin = Get16(in + 4);
  h.ymin = Get16(in + 6);
  h.xmax = Get16(in + 8);
  h.ymax = Get16(in + 10);
  h.hres = Get16(in + 12);
  h.vres = Get16(in + 14);
  std::memcpy(h.colorMap, in + 16, sizeof h.colorMap);
  h.reserved = in[64];
  h.planes = in[65];
  h.bytesPerLine = Get16(in + 66);
  h.paletteInfo = Get16(in + 68);
  return h;
}

void StorePcxHeader(const PcxHeader& h, std::uint8_t* out) {
  std::memset(out, 0, kPcxHeaderSize);
  out[0] = h.manufacturer;
  out[1] = h.version;
  out[2] = h.encoding;
  out[3] = h.bitsPerPixel;
  Put16(out + 4, h.xmin);
  Put16(out + 6, h.ymin);
  Put16(out + 8, h.xmax);
  Put16(out + 10, h.ymax);
  Put16(out + 12, h.hres);
  Put16(out + 14, h.vres);
  std::memcpy(out + 16, h.colorMap, sizeof h.colorMap);
  out[64] = h.reserved;
  out[65] = h.planes;
  Put16(out + 66, h.bytesPerLine);
  Put16(out + 68, h.paletteInfo);
}

}  // namespace murvik
