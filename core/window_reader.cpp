#include "core/window_reader.h"

#include <new>

#include "core/raw_file.h"
#include "win/kernel.h"

WindowReader::~WindowReader() { close(); }

bool WindowReader::close() {
  current_ = nullptr;
  if (file_ == HFILE_ERROR) return false;
  HFILE f = file_;
  file_ = HFILE_ERROR;
  return _lclose(f) != HFILE_ERROR;
}

bool WindowReader::open(const char* name, int mode) {
  close();
  if (!window_) {
    window_.reset(new (std::nothrow) BYTE[kWindowSize]);
    if (!window_) return false;
  }
  file_ = OpenFile(name, mode);
  if (file_ == HFILE_ERROR) return false;
  DWORD size = GetFileLength(file_);
  // Offsets are ints; a larger file is read as far as they reach.
  if (size > 0x7FFFFFFFu) size = 0x7FFFFFFFu;
  lastIndex_ = static_cast<int>(size) - 1;
  position_ = 0;
  windowStart_ = 0;
  windowEnd_ = -1;
  key_ = 0;
  keyedFile_ = false;
  current_ = nullptr;
  BYTE head[2] = {};
  if (size >= 2 && _lread(file_, head, 2) == 2 && head[0] == 1) {
    keyedFile_ = true;
    key_ = head[1];
    lastIndex_ -= 2;
  }
  load();
  return true;
}

void WindowReader::next() {
  ++position_;
  load();
}

BYTE WindowReader::charAt(int pos) {
  position_ = pos;
  load();
  return current();
}

void WindowReader::load() {
  current_ = nullptr;
  if (position_ > lastIndex_) position_ = lastIndex_;
  if (position_ < 0) position_ = 0;
  if (file_ == HFILE_ERROR || lastIndex_ < 0) return;
  const int offset = position_ + (keyedFile_ ? 2 : 0);
  if (offset < windowStart_ || offset > windowEnd_) {
    windowStart_ = offset / kWindowSize * kWindowSize;
    windowEnd_ = windowStart_ - 1;
    if (_llseek(file_, windowStart_, SEEK_SET) != windowStart_) return;
    UINT got = _lread(file_, window_.get(), kWindowSize);
    if (got == static_cast<UINT>(HFILE_ERROR) || got > static_cast<UINT>(kWindowSize)) return;
    windowEnd_ = windowStart_ + static_cast<int>(got) - 1;
    // The first two bytes of every window are stored plain, as the keyed
    // files are written that way.
    if (keyedFile_)
      for (UINT i = 2; i < got; ++i) window_[i] ^= key_;
  }
  // A short read leaves the wanted byte outside the window: nothing to show.
  if (offset > windowEnd_) return;
  current_ = window_.get() + (offset - windowStart_);
}
