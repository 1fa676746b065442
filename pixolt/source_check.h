// The checks every conversion makes of its source, in the order the
// library shows them: no DIB, an OS/2 header, the wrong bit count, a
// compressed DIB (or, for the RLE expansion, one that is not), then a
// header the block does not hold.
#pragma once

#include "dib_block.h"

namespace pixolt {

struct SourceRule {
  const char* op;           // the operation's name in every message
  unsigned bits;            // the bit count it takes (0: any)
  const char* wrongBits;    // the reason for another bit count
  const char* rleOp;        // name in the compressed message (null: not tested)
  const char* rleReason;
  bool wantsRle = false;    // the RLE message is for a DIB that is not compressed
};

// True when the source may be converted; otherwise the message was shown.
bool AcceptSource(LockedDib& dib, const SourceRule& rule);

}  // namespace pixolt
