#include "core/anchor_positions.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/document.h"
#include "core/store_registry.h"

namespace {

inline constexpr const char* kPositionKey = "Position=";
inline constexpr const char* kDestKey = "Dest=";
inline constexpr const char* kHintKey = "Hint=";
inline constexpr const char* kLinkTypeKey = "LinkType=";
inline constexpr const char* kTagAttrKey = "TagAttr=";
inline constexpr const char* kTAnchorKey = "TAnchor=";
inline constexpr const char* kSourceMark = "Src";
inline constexpr const char* kUrlPrefix = "URL:";
inline constexpr const char* kInvisible = "invisible";
inline constexpr const char* kPageRegionV20 = "V20@";

// A small reader of the number forms positions are written in. Numbers
// saturate instead of overflowing: a position comes from a server record.
class NumberReader {
 public:
  explicit NumberReader(const char* text) : p_(text ? text : "") {}

  void SkipBlanks() {
    while (std::isspace(static_cast<unsigned char>(*p_))) ++p_;
  }
  bool Literal(const char* word) {
    const char* q = p_;
    for (; *word; ++word, ++q)
      if (std::tolower(static_cast<unsigned char>(*q)) !=
          std::tolower(static_cast<unsigned char>(*word)))
        return false;
    p_ = q;
    return true;
  }
  // A decimal (base 10) or hexadecimal (base 16) integer after optional
  // blanks and sign; false, and nothing consumed, without a digit.
  bool Integer(std::int32_t& out, int base) {
    const char* start = p_;
    SkipBlanks();
    bool negative = false;
    if (*p_ == '-' || *p_ == '+') negative = *p_++ == '-';
    if (base == 16 && p_[0] == '0' && (p_[1] == 'x' || p_[1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(p_[2])))
      p_ += 2;
    std::int64_t value = 0;
    int digits = 0;
    for (;; ++p_, ++digits) {
      const int d = Digit(*p_, base);
      if (d < 0) break;
      value = value * base + d;
      if (value > INT32_MAX) value = static_cast<std::int64_t>(INT32_MAX) + 1;
    }
    if (digits == 0) {
      p_ = start;
      return false;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    out = static_cast<std::int32_t>(value);
    return true;
  }
  bool Float(float& out) {
    char* end = nullptr;
    const float v = std::strtof(p_, &end);
    if (end == p_) return false;
    p_ = end;
    out = v;
    return true;
  }
  const char* rest() const { return p_; }

 private:
  static int Digit(char c, int base) {
    if (c >= '0' && c <= '9') return c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  const char* p_;
};

bool IsInvisible(const CString& text) { return text == kInvisible; }

// A hint names an address when its first four characters are "URL:" in any
// case; only then is that prefix taken off.
CString DestFromHint(const CString& hint) {
  CString head = hint.Left(4);
  head.MakeUpper();
  return head == kUrlPrefix ? hint.Mid(4) : hint;
}

template <typename Key>
const Key* Same(const PositionKey& other) {
  return dynamic_cast<const Key*>(&other);
}

}  // namespace

// --- Keys ---

TextSpanKey TextSpanKey::Parse(const CString& text) {
  TextSpanKey key;
  if (IsInvisible(text)) return key;
  NumberReader decimal(text.c_str());
  if (decimal.Integer(key.start, 10) && decimal.Integer(key.end, 10)) return key;
  NumberReader hex(text.c_str());
  hex.SkipBlanks();
  if (!hex.Literal("0x") || !hex.Integer(key.start, 16)) return key;
  hex.SkipBlanks();
  if (hex.Literal("0x")) hex.Integer(key.end, 16);
  return key;
}

bool TextSpanKey::Less(const PositionKey& other) const {
  const TextSpanKey* o = Same<TextSpanKey>(other);
  return o && start < o->start;
}

bool TextSpanKey::SecondCompare(const PositionKey& other) const {
  const TextSpanKey* o = Same<TextSpanKey>(other);
  return o && start > o->start;
}

PageRegion PageRegion::Parse(const CString& text) {
  PageRegion key;
  if (IsInvisible(text)) {
    key.kind = 0;
    return key;
  }
  NumberReader r(text.c_str());
  if (r.Literal(kPageRegionV20)) key.kind = 2;
  if (!r.Integer(key.page, 10) || !r.Literal(":")) return key;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && !r.Literal(",")) break;
    if (!r.Integer(key.values[i], 10)) break;
  }
  return key;
}

bool PageRegion::Less(const PositionKey& other) const {
  const PageRegion* o = Same<PageRegion>(other);
  if (!o) return false;
  if (page != o->page) return page < o->page;
  for (int i = 0; i < 4; ++i)
    if (values[i] != o->values[i]) return values[i] < o->values[i];
  return false;
}

bool PageRegion::SecondCompare(const PositionKey& other) const {
  return Same<PageRegion>(other) && !Less(other);
}

ImageShape ImageShape::Parse(const CString& text) {
  ImageShape key;
  if (IsInvisible(text)) return key;
  const int blank = text.Find(' ');
  const CString word = blank < 0 ? text : text.Left(blank);
  int count = 4;
  if (word == "Circle") {
    key.kind = kCircle;
    count = 3;
  } else if (word == "Ellipse") {
    key.kind = kEllipse;
  }
  if (blank < 0) return key;
  const CString numbers = text.Mid(blank + 1);
  NumberReader r(numbers.c_str());
  for (int i = 0; i < count && r.Float(key.values[i]); ++i) {
  }
  return key;
}

float ImageShape::Left() const { return kind == kCircle ? values[0] - values[2] : values[0]; }
float ImageShape::Right() const { return kind == kCircle ? values[0] + values[2] : values[0]; }
float ImageShape::Top() const { return kind == kCircle ? values[1] - values[2] : values[1]; }
float ImageShape::Bottom() const { return kind == kCircle ? values[1] + values[2] : values[1]; }

bool ImageShape::Less(const PositionKey& other) const {
  const ImageShape* o = Same<ImageShape>(other);
  if (!o) return false;
  if (Left() < o->Right()) return true;
  if (Left() > o->Right()) return false;
  if (o->Top() > Bottom()) return true;
  if (o->Top() < Bottom()) return false;
  if (values[2] != o->values[2]) return values[2] < o->values[2];
  return values[3] < o->values[3];
}

bool ImageShape::SecondCompare(const PositionKey& other) const {
  return Same<ImageShape>(other) && !Less(other);
}

// --- Records ---

AnchorPosition::~AnchorPosition() = default;

bool AnchorPosition::precedes(const ListElement& other) const {
  const auto* o = dynamic_cast<const AnchorPosition*>(&other);
  return o && position && o->position && position->Less(*o->position);
}

void AnchorPosition::AttachDest(const KXObject& destAnchor) {
  // A destination seen again replaces the place kept before; the old key
  // goes with it.
  destPosition = ParsePosition(destAnchor.getAttribute(kPositionKey));
}

Ref<KXObject> AnchorPosition::DestObject() const {
  Ref<KXObject> found;
  if (dest.IsEmpty() || !LookupCachedObject(dest, found)) return Ref<KXObject>();
  return found;
}

std::unique_ptr<PositionKey> AnchorPosition::ParsePosition(const CString&) const {
  return nullptr;
}

void AnchorPosition::Fill(const KXObject& anchor) {
  anchorId = anchor.getObjectIdText();
  dest = anchor.getAttribute(kDestKey);
  if (dest.IsEmpty()) dest = DestFromHint(anchor.getAttribute(kHintKey));
  linkType = anchor.getAttribute(kLinkTypeKey);
  if (linkType == "intag" && anchor.getAttribute(kTagAttrKey) == "SRC") linkType = "inline";
  if (const Ref<KXObject> found = DestObject()) destFlag = found->isVisited() ? 1 : 0;
  position = ParsePosition(anchor.getAttribute(kPositionKey));
}

TextAnchorPosition::TextAnchorPosition(std::int32_t start, std::int32_t end, const CString& id,
                                       const CString& to)
    : TextAnchorPosition() {
  anchorId = id;
  dest = to;
  position = std::make_unique<TextSpanKey>(start, end);
}

std::unique_ptr<PositionKey> TextAnchorPosition::ParsePosition(const CString& text) const {
  return std::make_unique<TextSpanKey>(TextSpanKey::Parse(text));
}

std::unique_ptr<PositionKey> ShapeAnchorPosition::ParsePosition(const CString& text) const {
  return std::make_unique<ImageShape>(ImageShape::Parse(text));
}

std::unique_ptr<PositionKey> AreaAnchorPosition::ParsePosition(const CString& text) const {
  return std::make_unique<PageRegion>(PageRegion::Parse(text));
}

AnchorPosition* CreateAnchorPosition(const Ref<KXObject>& anchor, const Document* document) {
  if (!anchor || !document) return nullptr;
  AnchorPosition* record = nullptr;
  switch (document->getClassCode()) {
    case static_cast<std::int32_t>(AnchorDocumentKind::Text):
      record = new TextAnchorPosition;
      break;
    case static_cast<std::int32_t>(AnchorDocumentKind::Image):
      record = new ShapeAnchorPosition;
      break;
    case static_cast<std::int32_t>(AnchorDocumentKind::PostScript):
      record = new AreaAnchorPosition;
      break;
    default:
      return nullptr;
  }
  record->Fill(*anchor);
  return record;
}

// --- The list ---

void AnchorPositionList::AddAnchor(const Ref<KXObject>& anchor, const Document* document) {
  if (!anchor) return;
  if (anchor->getAttribute(kTAnchorKey) == kSourceMark) {
    InsertSorted(CreateAnchorPosition(anchor, document));
    return;
  }
  const CString& id = anchor->getObjectIdText();
  for (ListElement* e = records_.first(); e; e = e->next()) {
    auto* record = static_cast<AnchorPosition*>(e);
    if (record->dest == id) record->AttachDest(*anchor);
  }
}

void AnchorPositionList::InsertSorted(AnchorPosition* record) {
  if (!record) return;
  ListElement* before = nullptr;
  for (ListElement* e = records_.first(); e; e = e->next()) {
    const auto* r = static_cast<const AnchorPosition*>(e);
    // The first record whose position is not less than the new one's.
    const bool less = r->position && record->position && r->position->Less(*record->position);
    if (!less) {
      before = e;
      break;
    }
  }
  records_.insertBefore(record, before);
}

const AnchorPosition* AnchorPositionList::at(std::size_t i) const {
  if (i > static_cast<std::size_t>(INT32_MAX)) return nullptr;
  return static_cast<const AnchorPosition*>(records_.at(static_cast<LONG>(i)));
}

std::vector<Ref<KXObject>> LinkAnchorsInPlaceOrder(Document& document) {
  std::vector<Ref<KXObject>> links;
  // Asking for the link anchors loads them, and the places with them.
  if (const List* list = document.getLinkAnchors())
    for (ListElement* e = list->first(); e; e = e->next())
      if (KXObject* o = ObjectOf(e)) links.emplace_back(o);
  // The anchors of each id text, in the server's order, each taken once.
  std::unordered_map<std::string, std::deque<std::size_t>> byId;
  for (std::size_t i = 0; i < links.size(); ++i) byId[links[i]->getObjectIdText().str()].push_back(i);
  std::vector<bool> placed(links.size(), false);
  std::vector<Ref<KXObject>> out;
  out.reserve(links.size());
  for (const AnchorPosition& record : document.getAnchorPositions()) {
    auto found = byId.find(record.anchorId.str());
    if (found == byId.end() || found->second.empty()) continue;
    const std::size_t i = found->second.front();
    found->second.pop_front();
    placed[i] = true;
    out.push_back(links[i]);
  }
  for (std::size_t i = 0; i < links.size(); ++i)
    if (!placed[i]) out.push_back(links[i]);
  return out;
}
