#include "text/anchors/anchor_styles.h"

#include <memory>

#include "text/string_hash_table.h"
#include "text/style_definition.h"

namespace {

std::unique_ptr<StyleDefinition> makeAnchorStyle(int n) {
  CString name;
  name.Format("Anchor%d", n);
  auto def = std::make_unique<StyleDefinition>(TextStyle::Empty(), name);
  if (n < kFirstMarkerKind) {
    def->style.anchors.primaryKind = n;
  } else {
    def->style.anchors.SetFlag(n, TriState::True);
  }
  def->style.anchors.Recount();
  return def;
}

}  // namespace

const StyleDefinition* AnchorStyle(LONG number) {
  static const std::unique_ptr<StyleDefinition>* table = [] {
    auto* t = new std::unique_ptr<StyleDefinition>[kAnchorStyleCount];
    for (int i = 0; i < kAnchorStyleCount; ++i) t[i] = makeAnchorStyle(i);
    return t;
  }();
  if (number < 0 || number >= kAnchorStyleCount) number = 0;
  return table[number].get();
}

struct AnchorStyleNames::Impl {
  StringHashTable<LONG> table{40};
};

AnchorStyleNames::AnchorStyleNames() : impl_(new Impl) {}

AnchorStyleNames& AnchorStyleNames::Shared() {
  static AnchorStyleNames names;
  return names;
}

namespace {

CString upper(const CString& s) {
  CString u(s);
  u.MakeUpper();
  return u;
}

}  // namespace

bool AnchorStyleNames::RegisterAnchorStyle(const CString& name, LONG number) {
  impl_->table.Insert(upper(name), number);
  return true;
}

LONG AnchorStyleNames::LookupAnchorStyle(const CString& name) const {
  auto* node = impl_->table.Find(upper(name).view());
  return node ? node->value : 0;
}

void AnchorStyleNames::RegisterMarkerKinds() {
  RegisterAnchorStyle("NORMAL", 0);
  RegisterAnchorStyle("ANNOTATION", 1);
  RegisterAnchorStyle("BOOKMARK", 2);
  CString name;
  for (int i = 0; i < 8; ++i) {
    name.Format("MARKER%d", i);
    RegisterAnchorStyle(name, kFirstMarkerKind + i);
  }
}

int AnchorStyleNames::Count() const { return impl_->table.Count(); }

void AnchorStyleNames::Clear() { impl_->table.Clear(); }
