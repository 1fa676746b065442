// The style record of text and paragraphs. Every attribute may be left open,
// so that a style says only what it changes; Merge completes it over the
// style of the enclosing element, each kind of attribute by its own rule.
#pragma once

#include <cstdint>

#include "text/color_record.h"
#include "win/types.h"

// A flag with a fourth state: TOGGLE means the opposite of the base.
enum class TriState : BYTE { False = 0, True = 1, Ignore = 2, Toggle = 3 };

// On when TRUE or TOGGLE.
inline bool IsOn(TriState t) { return t == TriState::True || t == TriState::Toggle; }
// This value completed over the base value.
TriState MergeTriState(TriState self, TriState base);

// One numeric attribute and how it relates to the base.
struct StyleValue {
  enum Mode : LONG { kUnset = 0, kAbsolute = 1, kAdd = 2, kPercent = 3 };

  LONG mode = kUnset;
  LONG set = 1;
  LONG value = 0;

  void Set(LONG v, LONG m) {
    mode = m;
    set = 1;
    value = v;
  }
  friend bool operator==(const StyleValue&, const StyleValue&) = default;
};

// The eight display flags (0 bold, 2 italic; the others are the layout's),
// with a mask byte of those that are on.
struct DisplayFlags {
  static constexpr int kCount = 8;

  BYTE mask = 0;
  TriState flags[kCount];

  // All IGNORE; with `on`, the flags in `bits` become TRUE.
  explicit DisplayFlags(BYTE bits = 0, bool on = false);
  void SetFlag(int i, TriState t);
  void SetAll(TriState t);
  friend bool operator==(const DisplayFlags&, const DisplayFlags&) = default;
};

// The anchor kinds a stretch of text belongs to: 32 flags, kinds 24 to 31
// being the markers, and one primary kind below them.
struct AnchorSet {
  static constexpr int kCount = 32;
  // Kinds from here on are markers; below it, the primary kinds.
  static constexpr int kFirstMarker = 24;

  DWORD mask = 0;
  TriState flags[kCount];
  LONG flagCount = 0;
  LONG primaryKind = -1;
  LONG kindCount = 0;

  AnchorSet();
  void SetFlag(int i, TriState t);
  void SetAll(TriState t);
  // flagCount and kindCount from the mask and the primary kind.
  void Recount();
  friend bool operator==(const AnchorSet&, const AnchorSet&) = default;
};

// Four 4-bit fields: horizontal, vertical, horizontal spacing, vertical
// spacing. A pair (position, spacing) at (STD, STD) is unset.
struct Alignment {
  enum Horizontal { kLeft = 0, kRight = 1, kCenter = 2, kPoint = 3, kHorizontalStd = 4 };
  enum Vertical { kTop = 0, kBottom = 1, kMiddle = 2, kBase = 3, kVerticalStd = 4 };
  enum Spacing { kNo = 0, kSpace = 1, kAll = 2, kSpacingStd = 3 };

  DWORD bits = 0;

  void Set(int horizontal, int vertical, int hSpacing, int vSpacing);
  int horizontal() const { return Field(0); }
  int vertical() const { return Field(1); }
  int hSpacing() const { return Field(2); }
  int vSpacing() const { return Field(3); }
  void SetField(int index, int v);
  // The field as a signed 4-bit number.
  int Field(int index) const;
  bool horizontalUnset() const { return horizontal() == kHorizontalStd && hSpacing() == kSpacingStd; }
  bool verticalUnset() const { return vertical() == kVerticalStd && vSpacing() == kSpacingStd; }
  friend bool operator==(const Alignment&, const Alignment&) = default;
};

class TextStyle {
 public:
  // full = false: everything open (the template of definitions); true: the
  // complete default style.
  explicit TextStyle(bool full = false);

  // Completes this style over `base`; only this style changes.
  void Merge(const TextStyle& base);

  // The two shared records made at start-up.
  static const TextStyle& Empty();
  static const TextStyle& Default();

  StyleValue displayBaseStyle;
  StyleValue scale;
  AnchorSet anchors;
  DisplayFlags displayFlags;
  StyleValue left;
  StyleValue firstLeft;
  StyleValue right;
  StyleValue before;
  StyleValue after;
  StyleValue lineSpace;
  Alignment alignment;
  TriState breakEnable = TriState::Ignore;
  ColorRecord color;
  LONG colorSet = 0;

  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// Style arithmetic is done in 64 bits and the result saturated to the 32-bit
// field, so large values from a document cannot wrap round.
LONG StyleAdd(LONG a, LONG b);
LONG StylePercent(LONG base, LONG percent);
