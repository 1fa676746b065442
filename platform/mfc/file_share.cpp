#include "file_share.h"

#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace zemra_mfc {
namespace {

constexpr UINT kAccessMask = 0x0003;
constexpr UINT kShareMask = 0x0070;
constexpr UINT kShareDenyWrite = 0x0020;
constexpr UINT kShareDenyRead = 0x0030;
constexpr UINT kShareDenyNone = 0x0040;

struct Open {
  const void* owner;
  dev_t dev;
  ino_t ino;
  bool reads;
  bool writes;
  UINT share;
};

std::vector<Open>& opens() {
  static std::vector<Open> v;
  return v;
}

// Compatibility mode and anything unknown share nothing, as exclusive.
bool sharesReading(UINT share) { return share == kShareDenyWrite || share == kShareDenyNone; }
bool sharesWriting(UINT share) { return share == kShareDenyRead || share == kShareDenyNone; }

}  // namespace

bool RegisterShare(const void* owner, int fd, UINT openFlags) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return true;  // nothing to compare with
  const UINT access = openFlags & kAccessMask;
  Open mine{owner, st.st_dev, st.st_ino, access != 1, access != 0, openFlags & kShareMask};
  for (const Open& o : opens()) {
    if (o.dev != mine.dev || o.ino != mine.ino) continue;
    if ((mine.reads && !sharesReading(o.share)) || (mine.writes && !sharesWriting(o.share)) ||
        (o.reads && !sharesReading(mine.share)) || (o.writes && !sharesWriting(mine.share)))
      return false;
  }
  UnregisterShare(owner);
  opens().push_back(mine);
  return true;
}

void UnregisterShare(const void* owner) {
  std::erase_if(opens(), [owner](const Open& o) { return o.owner == owner; });
}

}  // namespace zemra_mfc
