// Random access to a file through a window of 1024 bytes, for the data files
// of the local storage. A file whose first byte is 1 is keyed: its second
// byte is the key, the data begin at offset 2, and the bytes of each window
// from its third byte on are stored combined with the key by exclusive or.
#pragma once

#include <memory>

#include "win/types.h"

class WindowReader {
 public:
  static constexpr int kWindowSize = 1024;

  WindowReader() = default;
  ~WindowReader();
  WindowReader(const WindowReader&) = delete;
  WindowReader& operator=(const WindowReader&) = delete;

  // Closes a file that is open and opens `name` (mode as OpenFile). False
  // when the buffer cannot be had or the file cannot be opened.
  bool open(const char* name, int mode);
  bool close();
  bool isOpen() const { return file_ != HFILE_ERROR; }

  // The position is at the last data byte (or the file holds no data).
  bool atEnd() const { return position_ >= lastIndex_; }
  int position() const { return position_; }
  int lastIndex() const { return lastIndex_; }
  // File offset of the loaded window's first byte.
  int windowStart() const { return windowStart_; }
  bool keyed() const { return keyedFile_; }
  BYTE key() const { return key_; }

  // Moves one byte on and loads it.
  void next();
  // The byte at the position; 0 when the file holds no data there.
  BYTE current() const { return current_ ? *current_ : 0; }
  // Sets the position (clamped to the data), loads and returns the byte.
  BYTE charAt(int pos);

 private:
  void load();

  HFILE file_ = HFILE_ERROR;
  int lastIndex_ = -1;
  int position_ = 0;
  int windowStart_ = 0;
  int windowEnd_ = -1;  // file offset of the last byte read; below start: empty
  std::unique_ptr<BYTE[]> window_;
  const BYTE* current_ = nullptr;
  BYTE key_ = 0;
  bool keyedFile_ = false;
};
