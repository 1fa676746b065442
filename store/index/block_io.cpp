#include "store/index/block_io.h"

#include "win/kernel.h"

namespace block_io {

bool seekTo(HFILE file, LONG offset) { return offset >= 0 && _llseek(file, offset, 0) == offset; }

bool readAt(HFILE file, LONG offset, void* buffer, UINT bytes) {
  return seekTo(file, offset) && _lread(file, buffer, bytes) == bytes;
}

bool writeAt(HFILE file, LONG offset, const void* buffer, UINT bytes) {
  return seekTo(file, offset) && _lwrite(file, static_cast<const char*>(buffer), bytes) == bytes;
}

bool truncateTo(HFILE file, LONG length) {
  return seekTo(file, length) && _lwrite(file, "", 0) == 0;
}

LONG lengthOf(HFILE file) {
  LONG end = _llseek(file, 0, 2);
  return end < 0 ? -1 : end;
}

}  // namespace block_io
