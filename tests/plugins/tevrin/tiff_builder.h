// Builds small TIFF files in either byte order for the reader tests:
// entries, their out-of-line values and strip data, laid out as a writer
// would, then open to corruption by the test.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace tiff_test {

class TiffBuilder {
 public:
  explicit TiffBuilder(bool bigEndian = false) : big_(bigEndian) {}

  // A SHORT (3), LONG (4) or RATIONAL (5: numerator, denominator pairs)
  // entry with its values.
  TiffBuilder& Tag(std::uint16_t tag, std::uint16_t type, std::vector<std::uint32_t> values) {
    entries_[tag] = Entry{type, std::move(values), {}};
    return *this;
  }
  TiffBuilder& Short(std::uint16_t tag, std::uint32_t v) { return Tag(tag, 3, {v}); }
  TiffBuilder& Long(std::uint16_t tag, std::uint32_t v) { return Tag(tag, 4, {v}); }
  // One strip per blob; offsets and counts are filled in by Build().
  TiffBuilder& Strips(std::vector<std::vector<std::uint8_t>> strips) {
    strips_ = std::move(strips);
    return *this;
  }

  std::vector<std::uint8_t> Build() const {
    std::vector<std::uint8_t> out;
    out.push_back(big_ ? 'M' : 'I');
    out.push_back(big_ ? 'M' : 'I');
    Put16(out, 42);
    Put32(out, 0);  // IFD offset, below
    std::vector<std::uint32_t> offsets, counts;
    for (const auto& s : strips_) {
      offsets.push_back(static_cast<std::uint32_t>(out.size()));
      counts.push_back(static_cast<std::uint32_t>(s.size()));
      out.insert(out.end(), s.begin(), s.end());
    }
    auto entries = entries_;
    if (!strips_.empty()) {
      if (!entries.count(273)) entries[273] = Entry{4, offsets, {}};
      if (!entries.count(279)) entries[279] = Entry{4, counts, {}};
    }
    if (out.size() % 2) out.push_back(0);
    // Out-of-line values first, then the IFD.
    std::map<std::uint16_t, std::uint32_t> where;
    for (auto& [tag, e] : entries) {
      std::size_t bytes = (e.type == 3 ? 2 : 4) * e.values.size();  // RATIONAL: 2 LONGs each
      if (bytes <= 4) continue;
      where[tag] = static_cast<std::uint32_t>(out.size());
      for (std::uint32_t v : e.values) e.type == 3 ? Put16(out, v) : Put32(out, v);
    }
    std::uint32_t ifd = static_cast<std::uint32_t>(out.size());
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    for (auto& [tag, e] : entries) {
      Put16(out, tag);
      Put16(out, e.type);
      Put32(out, static_cast<std::uint32_t>(e.type == 5 ? e.values.size() / 2 : e.values.size()));
      if (where.count(tag)) {
        Put32(out, where[tag]);
      } else if (e.type == 3) {
        Put16(out, e.values.empty() ? 0 : e.values[0]);
        Put16(out, e.values.size() > 1 ? e.values[1] : 0);
      } else {
        Put32(out, e.values.empty() ? 0 : e.values[0]);
      }
    }
    Put32(out, 0);
    std::vector<std::uint8_t> ifdBytes;
    Put32(ifdBytes, ifd);
    std::copy(ifdBytes.begin(), ifdBytes.end(), out.begin() + 4);
    return out;
  }

 private:
  struct Entry {
    std::uint16_t type;
    std::vector<std::uint32_t> values;
    std::vector<std::uint8_t> raw;
  };
  void Put16(std::vector<std::uint8_t>& o, std::uint32_t v) const {
    if (big_) {
      o.push_back(static_cast<std::uint8_t>(v >> 8));
      o.push_back(static_cast<std::uint8_t>(v));
    } else {
      o.push_back(static_cast<std::uint8_t>(v));
      o.push_back(static_cast<std::uint8_t>(v >> 8));
    }
  }
  void Put32(std::vector<std::uint8_t>& o, std::uint32_t v) const {
    if (big_) {
      Put16(o, v >> 16);
      Put16(o, v & 0xFFFF);
    } else {
      Put16(o, v & 0xFFFF);
      Put16(o, v >> 16);
    }
  }
  bool big_;
  std::map<std::uint16_t, Entry> entries_;
  std::vector<std::vector<std::uint8_t>> strips_;
};

// An 8-bit grey picture of width x height, one strip per `rowsPerStrip`.
inline TiffBuilder Grey8(std::uint32_t width, std::uint32_t height, bool big = false) {
  TiffBuilder b(big);
  b.Long(256, width).Long(257, height).Short(258, 8).Short(262, 1).Short(259, 1);
  std::vector<std::uint8_t> strip(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < strip.size(); ++i) strip[i] = static_cast<std::uint8_t>(i * 7);
  b.Strips({strip});
  return b;
}

}  // namespace tiff_test
