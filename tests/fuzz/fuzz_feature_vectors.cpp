// fuzz-libs: zemra_net
//
// Input: one byte choosing the form (low bit set: binary integers), then a
// reply body holding a feature vector. Reads it and checks what any result
// must satisfy: no more entries than the body has bytes, no zero weight,
// positions ascending and each once; a copy equal to the original; the
// position map taking every id exactly once.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/feature_vector.h"
#include "net/position_map.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Integers as four bytes (least significant first) or as decimal text and
// one separator; floats as text and one separator in both forms.
class FuzzBody : public FeatureSource {
 public:
  FuzzBody(const uint8_t* data, size_t size, bool binary)
      : data_(reinterpret_cast<const char*>(data)), size_(size), binary_(binary) {}

  bool readInt(LONG& out) override {
    if (binary_) {
      if (bytesLeft() < 4) return false;
      uint32_t v = 0;
      for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data_[at_ + i]);
      at_ += 4;
      out = static_cast<LONG>(v);
      return true;
    }
    std::string t;
    if (!token(t)) return false;
    char* end = nullptr;
    long long v = std::strtoll(t.c_str(), &end, 10);
    out = static_cast<LONG>(static_cast<uint32_t>(v));
    return end != t.c_str();
  }

  bool readFloat(float& out) override {
    std::string t;
    if (!token(t)) return false;
    char* end = nullptr;
    out = std::strtof(t.c_str(), &end);
    return end != t.c_str();
  }

  size_t bytesLeft() const override { return size_ - at_; }

 private:
  bool token(std::string& out) {
    size_t i = at_;
    while (i < size_ && data_[i] == ' ') ++i;
    size_t end = i;
    while (end < size_ && data_[end] != ' ' && end - i < 40) ++end;
    if (end >= size_ || end == i) return false;
    out.assign(data_ + i, end - i);
    at_ = end + 1;
    return true;
  }

  const char* data_;
  size_t size_;
  size_t at_ = 0;
  bool binary_;
};

bool samePositions(const IntSortedArray* a, const IntSortedArray* b) {
  if (!a || !b) return a == b;
  if (a->count() != b->count()) return false;
  for (int i = 0; i < a->count(); ++i)
    if (a->at(i) != b->at(i)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 16)) return 0;
  FuzzBody body(data + 1, size - 1, data[0] & 1);
  FeatureVector v(1);
  FeatureRead result = v.read(body);
  check(v.count() >= 0 && static_cast<size_t>(v.count()) <= size);
  if (result == FeatureRead::BadCount) check(v.count() < static_cast<LONG>(size));

  for (const Features* e = v.first(); e; e = FeatureVector::next(e)) {
    check(e->weight() != 0.0f);
    const IntSortedArray* p = e->positions();
    if (p) {
      check(p->count() > 0);
      for (int i = 1; i < p->count(); ++i) check(p->at(i - 1) < p->at(i));
    }
  }

  FeatureVector copy;
  copy = v;
  check(copy.count() == v.count() && copy.tag() == v.tag());
  for (const Features *a = v.first(), *b = copy.first(); a; a = FeatureVector::next(a), b = FeatureVector::next(b)) {
    check(b != nullptr && a->id() == b->id());
    float wa = a->weight();
    float wb = b->weight();
    check(std::memcmp(&wa, &wb, sizeof wa) == 0);
    check(a->positions() != b->positions() || a->positions() == nullptr);
    check(samePositions(a->positions(), b->positions()));
  }

  IdArray ids = v.ids();
  check(ids.count() <= v.count());
  PositionMap map;
  check(map.insertAll(v));
  check(map.count() == ids.count());
  for (int i = 0; i < ids.count(); ++i) {
    PositionEntry out;
    check(map.take(ids.at(i), out));
    check(!map.take(ids.at(i), out));
  }
  check(map.count() == 0);
  return 0;
}
