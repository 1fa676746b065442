// The places of a text document's anchors inside its content, kept in the
// order in which they occur there. The page presentation fills the list as
// it lays the content out; the document itself inserts its link and
// destination anchors after loading them. Each record names the anchor (its
// id text) and where its link leads (its "Dest=" value).
#pragma once

#include <cstdint>
#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/cstring.h"

class Document;

struct AnchorPosition {
  std::int32_t position = 0;  // the place in the content (order key)
  CString anchorId;           // the anchor's ObjectID text
  CString dest;               // the anchor's "Dest=" value
  const CString& GetDest() const { return dest; }
};

class AnchorPositionList {
 public:
  // Adds the positions of one anchor of `document`: the leading number of
  // its "Position=" value (0 when there is none). Records with equal
  // positions keep the order of insertion. Nothing for a null anchor.
  void insert(Document* document, const Ref<KXObject>& anchor);
  // Adds a record as it stands (the page presentation's parser).
  void add(const AnchorPosition& record);
  void clear() { records_.clear(); }

  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  const AnchorPosition& at(std::size_t i) const { return records_[i]; }
  std::vector<AnchorPosition>::const_iterator begin() const { return records_.begin(); }
  std::vector<AnchorPosition>::const_iterator end() const { return records_.end(); }

 private:
  std::vector<AnchorPosition> records_;
};
