// pixman through dlopen: the few calls the benchmarks that compare with it
// make (no build-time dependency on its headers).
#pragma once

#include <dlfcn.h>

#include <cstdint>

struct PixmanApi {
  using Image = void;
  using Fixed = std::int32_t;
  struct Transform {
    Fixed m[3][3];
  };
  // pixman_indexed_t: the colours of an 8-bit indexed image.
  struct Indexed {
    int color;
    std::uint32_t rgba[256];
    std::uint8_t ent[32768];
  };
  Image* (*createBits)(std::uint32_t format, int w, int h, std::uint32_t* bits, int strideBytes) = nullptr;
  int (*unref)(Image*) = nullptr;
  int (*setTransform)(Image*, const Transform*) = nullptr;
  int (*setFilter)(Image*, int filter, const Fixed* params, int n) = nullptr;
  void (*setIndexed)(Image*, const Indexed*) = nullptr;
  void (*composite32)(int op, Image* src, Image* mask, Image* dst, std::int32_t sx, std::int32_t sy,
                      std::int32_t mx, std::int32_t my, std::int32_t dx, std::int32_t dy, std::int32_t w,
                      std::int32_t h) = nullptr;
  int (*fill)(std::uint32_t* bits, int stride, int bpp, int x, int y, int w, int h, std::uint32_t v) = nullptr;
  // pixman_filter_create_separable_convolution: the filter's parameters
  // (malloc'ed; the caller frees them) and their count.
  Fixed* (*separableFilter)(int* n, Fixed scaleX, Fixed scaleY, int reconstructX, int reconstructY, int sampleX,
                            int sampleY, int subsampleBitsX, int subsampleBitsY) = nullptr;
  // pixman_blt: strides in 32-bit words.
  int (*blt)(std::uint32_t* src, std::uint32_t* dst, int srcStride, int dstStride, int srcBpp, int dstBpp,
             int sx, int sy, int dx, int dy, int w, int h) = nullptr;
  bool ok = false;

  // Format codes: bpp << 24 | type << 16 | a << 12 | r << 8 | g << 4 | b.
  static constexpr std::uint32_t kX8R8G8B8 = 32u << 24 | 2u << 16 | 0x888u;
  static constexpr std::uint32_t kR8G8B8 = 24u << 24 | 2u << 16 | 0x888u;
  static constexpr std::uint32_t kC8 = 8u << 24 | 4u << 16;
  static constexpr int kOpSrc = 1;
  static constexpr int kFilterNearest = 3;
  static constexpr int kFilterBilinear = 4;
  static constexpr int kFilterSeparableConvolution = 6;
  static constexpr int kKernelImpulse = 0;
  static constexpr int kKernelBox = 1;
  static Fixed ToFixed(double v) { return static_cast<Fixed>(v * 65536.0); }

  PixmanApi() {
    void* lib = dlopen("libpixman-1.so.0", RTLD_NOW);
    if (!lib) return;
    auto sym = [&](const char* n) { return dlsym(lib, n); };
    createBits = reinterpret_cast<decltype(createBits)>(sym("pixman_image_create_bits"));
    unref = reinterpret_cast<decltype(unref)>(sym("pixman_image_unref"));
    setTransform = reinterpret_cast<decltype(setTransform)>(sym("pixman_image_set_transform"));
    setFilter = reinterpret_cast<decltype(setFilter)>(sym("pixman_image_set_filter"));
    setIndexed = reinterpret_cast<decltype(setIndexed)>(sym("pixman_image_set_indexed"));
    composite32 = reinterpret_cast<decltype(composite32)>(sym("pixman_image_composite32"));
    fill = reinterpret_cast<decltype(fill)>(sym("pixman_fill"));
    blt = reinterpret_cast<decltype(blt)>(sym("pixman_blt"));
    separableFilter =
        reinterpret_cast<decltype(separableFilter)>(sym("pixman_filter_create_separable_convolution"));
    ok = createBits && unref && setTransform && setFilter && setIndexed && composite32 && fill && blt &&
         separableFilter;
  }
};
