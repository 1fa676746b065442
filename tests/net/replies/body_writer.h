// Builds reply bodies the way a server writes them, in either form, for
// feeding the reply parsers directly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace net_test {

class BodyWriter {
 public:
  explicit BodyWriter(bool binary) : binary_(binary) {}

  BodyWriter& i(int32_t v) {
    if (binary_) {
      uint32_t u = static_cast<uint32_t>(v);
      for (int k = 0; k < 4; ++k) bytes_.push_back(static_cast<char>((u >> (8 * k)) & 0xFF));
    } else {
      bytes_ += std::to_string(static_cast<uint32_t>(v)) + " ";
    }
    return *this;
  }
  BodyWriter& ids(const std::vector<int32_t>& v) {
    i(static_cast<int32_t>(v.size()));
    for (int32_t x : v) i(x);
    return *this;
  }
  BodyWriter& f(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g ", v);
    bytes_ += text;
    return *this;
  }
  BodyWriter& s(const std::string& v) {
    bytes_ += v;
    bytes_.push_back('\0');
    return *this;
  }
  BodyWriter& raw(const std::string& v) {
    bytes_ += v;
    return *this;
  }
  const std::string& bytes() const { return bytes_; }
  bool binary() const { return binary_; }

 private:
  bool binary_;
  std::string bytes_;
};

}  // namespace net_test
