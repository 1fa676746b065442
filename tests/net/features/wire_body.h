// A reply body for the feature-vector tests, in either wire form: integers
// as decimal text and one separator, or as four bytes, least significant
// first; floats as text and one separator in both forms. WireWriter builds
// one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/feature_vector_source.h"

class WireBody : public FeatureSource {
 public:
  WireBody(std::string bytes, bool binary) : bytes_(std::move(bytes)), binary_(binary) {}

  bool readInt(LONG& out) override {
    if (binary_) {
      if (bytesLeft() < 4) return false;
      std::uint32_t v = 0;
      for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes_[at_ + i]);
      at_ += 4;
      out = static_cast<LONG>(v);
      return true;
    }
    std::string text = token();
    if (text.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || v < INT32_MIN || v > UINT32_MAX) return false;
    out = static_cast<LONG>(static_cast<std::uint32_t>(v));
    return true;
  }

  bool readFloat(float& out) override {
    std::string text = token();
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtof(text.c_str(), &end);
    return *end == '\0';
  }

  size_t bytesLeft() const override { return bytes_.size() - at_; }
  size_t position() const { return at_; }

 private:
  // Leading blanks skipped, the text up to the next blank, and that blank
  // (the separator); empty when no separator follows.
  std::string token() {
    size_t i = at_;
    while (i < bytes_.size() && bytes_[i] == ' ') ++i;
    size_t end = bytes_.find(' ', i);
    if (end == std::string::npos || end == i) return std::string();
    at_ = end + 1;
    return bytes_.substr(i, end - i);
  }

  std::string bytes_;
  size_t at_ = 0;
  bool binary_;
};

class WireWriter {
 public:
  explicit WireWriter(bool binary) : binary_(binary) {}
  WireWriter& i(std::int64_t v) {
    if (binary_) {
      auto u = static_cast<std::uint32_t>(v);
      for (int k = 0; k < 4; ++k) bytes_ += static_cast<char>((u >> (8 * k)) & 0xFF);
    } else {
      bytes_ += std::to_string(static_cast<std::uint32_t>(v)) + " ";
    }
    return *this;
  }
  WireWriter& f(const char* text) {
    bytes_ += std::string(text) + " ";
    return *this;
  }
  WireBody body() const { return WireBody(bytes_, binary_); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
  bool binary_;
};
