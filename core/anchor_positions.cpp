#include "core/anchor_positions.h"

#include <algorithm>

#include "core/document.h"

namespace {

inline constexpr const char* kPositionKey = "Position=";

// The leading decimal number of a Position= value (blanks before it and a
// sign allowed); 0 when there is none. Saturates instead of overflowing.
std::int32_t LeadingNumber(const CString& text) {
  int i = 0;
  while (text[i] == ' ' || text[i] == '\t') ++i;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

void AnchorPositionList::insert(Document*, const Ref<KXObject>& anchor) {
  if (!anchor) return;
  AnchorPosition record;
  record.position = LeadingNumber(anchor->getAttribute(kPositionKey));
  record.anchorId = anchor->getObjectIdText();
  record.dest = anchor->getAttribute(kxobj::kDestKey);
  add(record);
}

void AnchorPositionList::add(const AnchorPosition& record) {
  // After every record at the same place: equal places keep their order.
  const auto at = std::upper_bound(
      records_.begin(), records_.end(), record.position,
      [](std::int32_t position, const AnchorPosition& r) { return position < r.position; });
  records_.insert(at, record);
}
