// A DIB a writer made for the conversion (an expanded RLE DIB, a widened or
// reduced copy): freed on every way out, while the caller's DIB stays the
// caller's.
#pragma once

#include "win/kernel.h"

namespace plugins {

class OwnedDib {
 public:
  OwnedDib() = default;
  explicit OwnedDib(HGLOBAL dib) : dib_(dib) {}
  ~OwnedDib() { Reset(nullptr); }
  OwnedDib(const OwnedDib&) = delete;
  OwnedDib& operator=(const OwnedDib&) = delete;

  void Reset(HGLOBAL dib) {
    if (dib_) GlobalFree(dib_);
    dib_ = dib;
  }
  HGLOBAL get() const { return dib_; }

 private:
  HGLOBAL dib_ = nullptr;
};

}  // namespace plugins
