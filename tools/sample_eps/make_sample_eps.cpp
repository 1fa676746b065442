// Makes the sample web's EPS picture: an orbit round a small sun, drawn as
// a 4-bit colour DIB and written by the EPS plug-in's writer as level 2
// indexed colour in ASCII hex, the form its reader takes back.
//
//   make_sample_eps OUT          writes the file
//   make_sample_eps --check FILE 0 when FILE holds exactly those bytes
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/dib_block.h"
#include "eps_writer.h"

namespace {

constexpr int kSide = 64;

enum Ink : std::uint8_t { kSky, kOrbit, kSun, kPlanet, kStar, kInkCount };

struct Rgb {
  std::uint8_t r, g, b;
};
constexpr Rgb kInks[kInkCount] = {
    {0x10, 0x18, 0x40},  // night sky
    {0xB0, 0xB8, 0xC8},  // the orbit
    {0xFF, 0xD0, 0x40},  // the sun
    {0x40, 0x90, 0xFF},  // the planet
    {0xFF, 0xFF, 0xFF},  // stars
};

// Inside an ellipse round the picture's centre whose radii are given in
// half pixels (so that a ring can be one pixel wide).
bool InsideEllipse(int dx, int dy, std::int64_t halfRx, std::int64_t halfRy) {
  const std::int64_t x = 2 * dx, y = 2 * dy;
  return x * x * halfRy * halfRy + y * y * halfRx * halfRx <= halfRx * halfRx * halfRy * halfRy;
}

bool InsideCircle(int dx, int dy, int squaredRadius) { return dx * dx + dy * dy <= squaredRadius; }

// The ink of pixel (x, y), y counted from the top.
Ink InkAt(int x, int y) {
  constexpr int kCentre = 32;
  const int dx = x - kCentre, dy = y - kCentre;
  if (InsideCircle(dx, dy, 27)) return kSun;
  if (InsideCircle(x - 60, y - kCentre, 5)) return kPlanet;
  if (InsideEllipse(dx, dy, 57, 33) && !InsideEllipse(dx, dy, 55, 31)) return kOrbit;
  static const int kStars[][2] = {{6, 5}, {21, 9}, {50, 4}, {58, 13}, {9, 54}, {27, 59}, {44, 56}, {61, 50}};
  for (const auto& s : kStars)
    if (s[0] == x && s[1] == y) return kStar;
  return kSky;
}

// A packed 4-bit DIB of the picture, bottom row first, whose colour table
// holds the inks only.
std::vector<std::uint8_t> DrawOrbit() {
  plugins::DibLayout layout;
  if (!plugins::MakeDibLayout(kSide, kSide, 4, kInkCount, layout)) return {};
  std::vector<std::uint8_t> dib(layout.totalBytes, 0);
  plugins::FillDibHeader(dib.data(), layout, plugins::kDefaultPelsPerMeter, plugins::kDefaultPelsPerMeter,
                         kInkCount, kInkCount);
  for (int i = 0; i < kInkCount; ++i) plugins::SetDibColor(dib.data(), i, kInks[i].r, kInks[i].g, kInks[i].b);
  std::uint8_t* bits = dib.data() + layout.bitsOffset;
  for (int y = 0; y < kSide; ++y) {
    std::uint8_t* row = bits + static_cast<std::size_t>(kSide - 1 - y) * layout.rowBytes;
    for (int x = 0; x < kSide; ++x)
      row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | InkAt(x, y) << (x % 2 ? 0 : 4));
  }
  return dib;
}

bool WriteSample(std::string& out) {
  const std::vector<std::uint8_t> dib = DrawOrbit();
  plugins::DibSource view;
  if (plugins::ViewDib(dib.data(), dib.size(), view) != plugins::DibCheck::kOk) return false;
  ospray::EpsWriteOptions options;
  options.level = 2;
  options.preview = 0;
  options.grey = 0;
  options.encoding = 1;
  options.frame = 0;
  // A fixed date: the file must not change from one run to the next.
  const ospray::EpsText text{"orbit.eps", "04.11.1996 12:00:00"};
  const char* problem = ospray::WriteEpsPostScript(
      view, options, text,
      [&](const void* data, std::size_t size) {
        out.append(static_cast<const char*>(data), size);
        return true;
      },
      [](int) {});
  if (problem) std::fprintf(stderr, "make_sample_eps: %s\n", problem);
  return problem == nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: make_sample_eps OUT | make_sample_eps --check FILE\n");
    return 2;
  }
  std::string eps;
  if (!WriteSample(eps)) return 1;
  const char* path = argv[argc - 1];
  if (check) {
    std::ifstream in(path, std::ios::binary);
    const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (stored == eps) return 0;
    std::fprintf(stderr, "make_sample_eps: %s is not the picture this tool writes; run make_sample_eps %s\n",
                 path, path);
    return 1;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(eps.data(), static_cast<std::streamsize>(eps.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_sample_eps: cannot write %s\n", path);
    return 1;
  }
  return 0;
}
