// What the feature-vector reader needs of a reply body: integers in the
// negotiated form, floats (always text on the wire: the number and one
// separator) and the count of bytes left, which bounds every count read.
#pragma once

#include <cstddef>

#include "core/int_source.h"

class FeatureSource : public IntSource {
 public:
  // The next float; false when the body holds none (or it is malformed).
  virtual bool readFloat(float& out) = 0;
};

// Lends any body reader with readInt, readFloat and bytesLeft to the
// feature-vector reader: FeatureSourceOver<ReplyBody> source(body).
template <class Body>
class FeatureSourceOver final : public FeatureSource {
 public:
  explicit FeatureSourceOver(Body& body) : body_(body) {}
  bool readInt(LONG& out) override { return body_.readInt(out); }
  bool readFloat(float& out) override { return body_.readFloat(out); }
  size_t bytesLeft() const override { return body_.bytesLeft(); }

 private:
  Body& body_;
};
