// Files as the plug-ins use them: a reader takes the whole picture file
// into a moveable global block and works on that copy; a writer writes
// through the old handle API and remembers whether any write came short.
#pragma once

#include <cstdint>

#include "common/dib_block.h"
#include "win/kernel.h"

namespace plugins {

enum class FileReadStatus { kOk, kCannotOpen, kCannotRead, kNoMemory };

// A whole file in a global block (zero-filled, moveable), freed with the
// object.
class FileImage {
 public:
  FileImage() = default;
  ~FileImage() { Release(); }
  FileImage(const FileImage&) = delete;
  FileImage& operator=(const FileImage&) = delete;

  // Reads `name` (Windows or host form). Files larger than a global block
  // can hold are reported as kNoMemory, as an allocation that failed.
  FileReadStatus Load(const char* name) {
    Release();
    HFILE file = name ? _lopen(name, OF_READ | OF_SHARE_DENY_NONE) : HFILE_ERROR;
    if (file == HFILE_ERROR) return FileReadStatus::kCannotOpen;
    FileReadStatus status = LoadFrom(file);
    _lclose(file);
    return status;
  }

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  FileReadStatus LoadFrom(HFILE file) {
    LONG end = _llseek(file, 0, 2);
    if (end < 0 || _llseek(file, 0, 0) != 0) return FileReadStatus::kCannotRead;
    if (static_cast<std::uint64_t>(end) > kMaxDibBytes) return FileReadStatus::kNoMemory;
    // Not zero-filled: the whole file is read over it, or it is not used.
    block_ = GlobalAlloc(GMEM_MOVEABLE, static_cast<DWORD_PTR>(end));
    if (!block_) return FileReadStatus::kNoMemory;
    data_ = static_cast<std::uint8_t*>(GlobalLock(block_));
    if (!data_) return FileReadStatus::kNoMemory;
    UINT got = end > 0 ? _lread(file, data_, static_cast<UINT>(end)) : 0;
    if (got != static_cast<UINT>(end)) return FileReadStatus::kCannotRead;
    size_ = static_cast<std::size_t>(end);
    return FileReadStatus::kOk;
  }
  void Release() {
    if (block_) {
      if (data_) GlobalUnlock(block_);
      GlobalFree(block_);
    }
    block_ = nullptr;
    data_ = nullptr;
    size_ = 0;
  }

  HGLOBAL block_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

// Reads the first `count` bytes of a file into `out`; false when the file
// cannot be opened or is shorter (the format tests).
inline bool ReadFileStart(const char* name, std::uint8_t* out, UINT count) {
  HFILE file = name ? _lopen(name, OF_READ | OF_SHARE_DENY_NONE) : HFILE_ERROR;
  if (file == HFILE_ERROR) return false;
  UINT got = _lread(file, out, count);
  _lclose(file);
  return got == count;
}

// A file being written. Every write is checked; once one came short the
// writer stays failed and writes nothing more.
class FileWriter {
 public:
  FileWriter() = default;
  ~FileWriter() { Close(); }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Creates (or truncates) the file.
  bool Create(const char* name) {
    Close();
    file_ = name ? _lcreat(name, 0) : HFILE_ERROR;
    failed_ = file_ == HFILE_ERROR;
    position_ = 0;
    return !failed_;
  }
  bool Write(const void* data, std::size_t count) {
    if (failed_ || file_ == HFILE_ERROR) return false;
    const char* p = static_cast<const char*>(data);
    while (count > 0) {
      UINT piece = count > 0x40000000 ? 0x40000000u : static_cast<UINT>(count);
      UINT wrote = _lwrite(file_, p, piece);
      if (wrote != piece) {
        failed_ = true;
        return false;
      }
      p += piece;
      count -= piece;
      position_ += piece;
    }
    return true;
  }
  bool WriteU8(std::uint8_t v) { return Write(&v, 1); }
  bool WriteU16(std::uint16_t v) {
    std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    return Write(b, 2);
  }
  bool WriteU32(std::uint32_t v) {
    std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    return Write(b, 4);
  }
  bool Seek(std::uint64_t position) {
    if (failed_ || file_ == HFILE_ERROR || position > 0x7FFFFFFF) return false;
    if (_llseek(file_, static_cast<LONG>(position), 0) != static_cast<LONG>(position)) {
      failed_ = true;
      return false;
    }
    position_ = position;
    return true;
  }
  std::uint64_t position() const { return position_; }
  bool failed() const { return failed_; }
  bool Close() {
    bool ok = !failed_;
    if (file_ != HFILE_ERROR) {
      if (_lclose(file_) != 0) ok = false;
    }
    file_ = HFILE_ERROR;
    return ok;
  }

 private:
  HFILE file_ = HFILE_ERROR;
  bool failed_ = false;
  std::uint64_t position_ = 0;
};

}  // namespace plugins
