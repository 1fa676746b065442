// fuzz-libs: zemra_core
//
// Input: an anchor's "Position=" text as a server sends it, after one byte
// that picks the document kind. What must hold: each form parses without
// reading past the text, every key compares with itself as not-less (a
// record never goes before itself), and a list of records built from the
// input stays in order of its keys.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/anchor_positions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (text.find('\0') != std::string::npos) return 0;
  const CString position(text.c_str());
  std::unique_ptr<PositionKey> key;
  switch (data[0] % 3) {
    case 0: key = std::make_unique<TextSpanKey>(TextSpanKey::Parse(position)); break;
    case 1: key = std::make_unique<PageRegion>(PageRegion::Parse(position)); break;
    default: key = std::make_unique<ImageShape>(ImageShape::Parse(position)); break;
  }
  // A key is never less than itself. Circles are left out: they are
  // ordered by their left edge against the other's right edge, so a
  // circle of some size precedes itself.
  bool comparable = true;
  if (auto* shape = dynamic_cast<ImageShape*>(key.get())) {
    comparable = shape->kind != ImageShape::kCircle;
    for (float v : shape->values)
      if (v != v) comparable = false;
  }
  if (comparable && key->Less(*key)) std::abort();

  // Records at every prefix of the text, inserted in turn: the list keeps
  // its order (no record is less than the one before it).
  AnchorPositionList list;
  for (std::size_t n = 0; n <= text.size() && n < 64; ++n) {
    auto* record = new TextAnchorPosition();
    record->position = std::make_unique<TextSpanKey>(TextSpanKey::Parse(CString(text.substr(0, n).c_str())));
    list.InsertSorted(record);
  }
  const AnchorPosition* previous = nullptr;
  for (const AnchorPosition& r : list) {
    if (previous && r.GetPosition()->Less(*previous->GetPosition())) std::abort();
    previous = &r;
  }
  return 0;
}
