// Turns a picture file, or a picture file's image in memory, into a DIB that
// suits the screen. The format is told by the first bytes through the magic
// table format.dat in the text viewer's home directory: BMP and XBM are read
// by the image library, every other format by the converter plug-in that the
// table names (loaded, called once and freed for each picture). The result
// is widened to 8 bits when it has fewer, and on a palette screen (4 or 8
// bits deep) reduced to the dither palette.
#pragma once

#include "mfc/cstring.h"
#include "win/types.h"

// The TextViewer settings and the screen's depth, read once.
class PictureSettings {
 public:
  static void Load();
  // homeDir with a backslash appended (default ".\").
  static CString HomeDir();
  // DefaultImage (default "default.bmp").
  static CString DefaultImage();
  static int ScreenDepth();
  // Tests: pretend another screen depth (0 reads the screen again) and
  // read the settings again on the next use.
  static void ForgetForTests(int depth = 0);
};

namespace PictureLoader {

// Bytes of a file, and of a memory image, that identify the format.
constexpr int kFileProbe = 512;
constexpr int kMemoryProbe = 100;
// Memory images larger than this are refused before anything is read.
constexpr LONG kMaxImageBytes = 64L * 1024 * 1024;

HGLOBAL LoadFile(const char* fileName);
// `transparent` becomes the transparent colour index, -1 for none.
HGLOBAL LoadMemory(const void* data, LONG size, LONG& transparent);
// Takes the DIB: returns it or a replacement (the original then freed).
// A transparent index is carried over to the replacement's palette.
HGLOBAL FitToScreen(HGLOBAL dib, LONG* transparent = nullptr);
HGLOBAL ConvertFile(const char* fileName, const char* plugin, HWND progress);
HGLOBAL ConvertMemory(const void* data, LONG size, const char* plugin, LONG& transparent);

}  // namespace PictureLoader
