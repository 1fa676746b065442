// The TIFF preview behind the PostScript of a DOS EPS file: a little-endian
// TIFF of the preview DIB as it is (1, 4, 8 or 24 bits), uncompressed, in
// strips of about 10 KB.
#pragma once

#include <cstdint>
#include <vector>

#include "common/dib_block.h"

namespace ospray {

// False only when memory runs out.
bool BuildPreviewTiff(const plugins::DibSource& dib, std::vector<std::uint8_t>& out);

}  // namespace ospray
