// Writing a DIB as a GIF file: one image at the origin, with a global or a
// local colour table, plain or interlaced; 24-bit DIBs are reduced to 8 bits
// first.
#pragma once

#include <functional>

#include "win/types.h"

namespace wendle {

// The options record of ConvertDIBtoGIFEx, 32-bit fields in order.
struct GifWriteOptions {
  DWORD version = 0x0100;
  DWORD format = 87;       // 87 or 89: "GIF87a" or "GIF89a"
  DWORD globalTable = 1;   // 1: one global table; 0: a local table with the image
  DWORD interlace = 0;
  DWORD reduction = 0;     // DIB24To8's choice for 24-bit DIBs (0 colours, else grey)
};
static_assert(sizeof(GifWriteOptions) == 20);

// Called with the percentage done after each row.
using WriteProgress = std::function<void(int percent)>;

// Writes `dib` to `fileName`; false after the message box. The caller's DIB
// is left as it was; a null DIB is the caller's to report.
bool WriteGif(const char* fileName, HGLOBAL dib, const GifWriteOptions& options,
              const WriteProgress& progress);

}  // namespace wendle
