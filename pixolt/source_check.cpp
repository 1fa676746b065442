#include "source_check.h"

#include "reasons.h"
#include "report.h"

namespace pixolt {

bool AcceptSource(LockedDib& dib, const SourceRule& rule) {
  if (dib.null()) {
    Report(rule.op, kNoDib);
    return false;
  }
  if (dib.os2()) {
    Report(rule.op, kNoOs2);
    return false;
  }
  if (rule.bits != 0 && dib.bitCount() != rule.bits) {
    Report(rule.op, rule.wrongBits);
    return false;
  }
  if (rule.rleOp && dib.compressed() != rule.wantsRle) {
    Report(rule.rleOp, rule.rleReason);
    return false;
  }
  if (!dib.Valid()) {
    Report(rule.op, kUnknownFormat);
    return false;
  }
  return true;
}

}  // namespace pixolt
