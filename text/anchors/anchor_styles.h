// The 32 shared anchor styles and their names. An anchor style is the style
// change given to the text of an anchor: it says which anchor kind the text
// belongs to (kinds below 24 set the primary kind, 24 to 31 the marker flag
// of that kind), so that the layout draws the anchor in its colours. The
// names map the LinkType values of link records to style numbers.
#pragma once

#include "mfc/cstring.h"
#include "text/text_style.h"
#include "win/types.h"

class StyleDefinition;

constexpr int kAnchorStyleCount = 32;
constexpr int kFirstMarkerKind = AnchorSet::kFirstMarker;

// Style number n (0..31; any other number gives style 0). Each is a
// definition of its own name ("Anchor" and the number), so that anchors of
// different kinds resolve to different levels.
const StyleDefinition* AnchorStyle(LONG number);

// The process-wide name table (40 buckets, upper-case names): the HTML
// documents fill it with NORMAL 0, ANNOTATION 1, BOOKMARK 2 and MARKER0-7 =
// 24-31.
class AnchorStyleNames {
 public:
  static AnchorStyleNames& Shared();
  // Stores the number under the upper-case name; true.
  bool RegisterAnchorStyle(const CString& name, LONG number);
  // The number of the upper-case name, 0 when absent.
  LONG LookupAnchorStyle(const CString& name) const;
  // The eleven marker kinds, registered once.
  void RegisterMarkerKinds();
  int Count() const;
  void Clear();

 private:
  AnchorStyleNames();
  struct Impl;
  Impl* impl_;
};
