// Whole reads and writes at a file offset through the platform's handle API,
// for the block files of the index. Each is false unless every byte moved.
#pragma once

#include "win/types.h"

namespace block_io {

bool seekTo(HFILE file, LONG offset);
bool readAt(HFILE file, LONG offset, void* buffer, UINT bytes);
bool writeAt(HFILE file, LONG offset, const void* buffer, UINT bytes);
// Cuts (or extends) the file to `length` bytes.
bool truncateTo(HFILE file, LONG length);
// -1 when the end cannot be found.
LONG lengthOf(HFILE file);

}  // namespace block_io
