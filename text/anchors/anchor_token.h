// The token items that the server's anchors put into a document's stream:
// an anchor begins or ends, an inline picture, a background picture. Each
// carries the anchor's link record (borrowed from the document's list).
#pragma once

#include "text/token_items.h"

class AnchorRecord;

class AnchorToken : public TokenItem {
 public:
  enum SubKind : LONG { kBegin = 0, kEnd = 1, kInline = 2, kBackground = 3 };

  AnchorToken(LONG start, LONG subKind, AnchorRecord* record) : TokenItem(start), subKind(subKind), record(record) {}
  int Kind() const override { return kAnchorItem; }

  LONG subKind;
  AnchorRecord* record;
};
