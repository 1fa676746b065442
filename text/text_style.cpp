#include "text/text_style.h"

#include <bit>
#include <initializer_list>
#include <limits>

namespace {

LONG Saturate(std::int64_t v) {
  if (v > std::numeric_limits<LONG>::max()) return std::numeric_limits<LONG>::max();
  if (v < std::numeric_limits<LONG>::min()) return std::numeric_limits<LONG>::min();
  return static_cast<LONG>(v);
}

void MergeSpacing(StyleValue& self, const StyleValue& base) {
  switch (self.mode) {
    case StyleValue::kUnset:
      self = base;
      break;
    case StyleValue::kAdd:
      self.value = StyleAdd(self.value, base.value);
      break;
    case StyleValue::kPercent:
      self.value = StylePercent(base.value, self.value);
      break;
    default:
      break;
  }
  if (self.mode != StyleValue::kPercent) self.mode = StyleValue::kAbsolute;
}

void MergeScale(StyleValue& self, const StyleValue& base) {
  switch (self.mode) {
    case StyleValue::kUnset:
      self.mode = base.mode;
      self.value = base.value;
      break;
    case StyleValue::kAbsolute:
      self.mode = StyleValue::kPercent;
      break;
    case StyleValue::kAdd:
      self.value = StyleAdd(self.value, base.value);
      break;
    case StyleValue::kPercent:
      self.value = StylePercent(base.value, self.value);
      break;
    default:
      break;
  }
}

}  // namespace

LONG StyleAdd(LONG a, LONG b) { return Saturate(std::int64_t{a} + b); }

// C++ division truncates toward zero, as the percent rule asks.
LONG StylePercent(LONG base, LONG percent) { return Saturate(std::int64_t{base} * percent / 100); }

TriState MergeTriState(TriState self, TriState base) {
  switch (self) {
    case TriState::Ignore:
      return base;
    case TriState::Toggle:
      if (base == TriState::Ignore) return TriState::Ignore;
      return base == TriState::False ? TriState::True : TriState::False;
    default:
      return self;
  }
}

DisplayFlags::DisplayFlags(BYTE bits, bool on) {
  SetAll(TriState::Ignore);
  if (!on) return;
  for (int i = 0; i < kCount; ++i)
    if (bits & (1u << i)) flags[i] = TriState::True;
  mask = bits;
}

void DisplayFlags::SetFlag(int i, TriState t) {
  if (i < 0 || i >= kCount) return;
  flags[i] = t;
  if (IsOn(t))
    mask = static_cast<BYTE>(mask | (1u << i));
  else
    mask = static_cast<BYTE>(mask & ~(1u << i));
}

void DisplayFlags::SetAll(TriState t) {
  for (int i = 0; i < kCount; ++i) flags[i] = t;
  mask = IsOn(t) ? 0xFF : 0;
}

AnchorSet::AnchorSet() { SetAll(TriState::Ignore); }

void AnchorSet::SetFlag(int i, TriState t) {
  if (i < 0 || i >= kCount) return;
  flags[i] = t;
  if (IsOn(t))
    mask |= 1u << i;
  else
    mask &= ~(1u << i);
}

void AnchorSet::SetAll(TriState t) {
  for (int i = 0; i < kCount; ++i) flags[i] = t;
  mask = IsOn(t) ? 0xFFFFFFFFu : 0;
}

void AnchorSet::Recount() {
  flagCount = std::popcount(mask);
  kindCount = flagCount;
  if (primaryKind >= 0 && primaryKind <= 15 && !(mask & (1u << primaryKind))) ++kindCount;
}

void Alignment::SetField(int index, int v) {
  const int shift = index * 4;
  bits = (bits & ~(0xFu << shift)) | ((static_cast<DWORD>(v) & 0xFu) << shift);
}

int Alignment::Field(int index) const {
  int v = static_cast<int>((bits >> (index * 4)) & 0xFu);
  return v >= 8 ? v - 16 : v;
}

void Alignment::Set(int horizontal, int vertical, int hSpacing, int vSpacing) {
  SetField(0, horizontal);
  SetField(1, vertical);
  SetField(2, hSpacing);
  SetField(3, vSpacing);
}

TextStyle::TextStyle(bool full) {
  scale.Set(100, StyleValue::kPercent);
  if (full) {
    displayBaseStyle.Set(0, StyleValue::kAbsolute);
    anchors.SetAll(TriState::False);
    displayFlags.SetAll(TriState::False);
    for (StyleValue* v : {&left, &firstLeft, &right, &before, &after, &lineSpace})
      v->Set(0, StyleValue::kAbsolute);
    alignment.Set(Alignment::kLeft, Alignment::kBase, Alignment::kNo, Alignment::kNo);
    breakEnable = TriState::False;
  } else {
    alignment.Set(Alignment::kHorizontalStd, Alignment::kVerticalStd, Alignment::kSpacingStd,
                  Alignment::kSpacingStd);
  }
}

const TextStyle& TextStyle::Empty() {
  static const TextStyle empty(false);
  return empty;
}

const TextStyle& TextStyle::Default() {
  static const TextStyle full(true);
  return full;
}

void TextStyle::Merge(const TextStyle& base) {
  MergeSpacing(displayBaseStyle, base.displayBaseStyle);
  for (auto member : {&TextStyle::left, &TextStyle::firstLeft, &TextStyle::right, &TextStyle::before,
                      &TextStyle::after, &TextStyle::lineSpace})
    MergeSpacing(this->*member, base.*member);
  MergeScale(scale, base.scale);

  if (anchors.primaryKind == -1)
    anchors.primaryKind = base.anchors.primaryKind;
  else if (base.anchors.primaryKind != -1)
    anchors.SetFlag(anchors.primaryKind, TriState::True);
  for (int i = 0; i < AnchorSet::kCount; ++i)
    anchors.SetFlag(i, MergeTriState(anchors.flags[i], base.anchors.flags[i]));
  anchors.Recount();

  for (int i = 0; i < DisplayFlags::kCount; ++i)
    displayFlags.SetFlag(i, MergeTriState(displayFlags.flags[i], base.displayFlags.flags[i]));

  if (alignment.horizontalUnset()) {
    alignment.SetField(0, base.alignment.Field(0));
    alignment.SetField(2, base.alignment.Field(2));
  }
  if (alignment.verticalUnset()) {
    alignment.SetField(1, base.alignment.Field(1));
    alignment.SetField(3, base.alignment.Field(3));
  }

  breakEnable = MergeTriState(breakEnable, base.breakEnable);

  if (colorSet == 0) {
    color = base.color;
    colorSet = base.colorSet;
  }
}
