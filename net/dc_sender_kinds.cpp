// The kinds of sender: a file, a memory block, and the two that report
// progress and take the user's break.
#include <cstring>

#include "framework/progress_reporter.h"
#include "net/dc_sender.h"
#include "win/kernel.h"

// ---- FileSender ----------------------------------------------------------------

FileSender::FileSender(const CString& path, int port, int bufferSize)
    : DcSender(port, bufferSize) {
  file_ = _lopen(path.c_str(), OF_READ);
}

FileSender::~FileSender() {
  if (file_ != HFILE_ERROR) _lclose(file_);
}

int FileSender::fill() {
  if (file_ == HFILE_ERROR || !buffer()) return -1;
  const UINT n = _lread(file_, buffer(), static_cast<UINT>(bufferSize()));
  if (n == static_cast<UINT>(HFILE_ERROR) || n > static_cast<UINT>(bufferSize())) return -1;
  return static_cast<int>(n);
}

// ---- MemorySender --------------------------------------------------------------

MemorySender::MemorySender(const char* data, int length, int port, int bufferSize)
    : DcSender(port, bufferSize), start_(data), cursor_(data), length_(length) {}

int MemorySender::fill() {
  if (!buffer()) return -1;
  if (atEnd_) return 0;
  if (!start_) {
    // No block: an empty one is sent as such, anything else cannot be.
    if (length_ == 0) return 0;
    return -1;
  }
  if (length_ >= 0) {
    const int left = static_cast<int>(start_ + length_ - cursor_);
    const int n = left < bufferSize() ? left : bufferSize();
    if (n <= 0) return 0;
    std::memcpy(buffer(), cursor_, static_cast<size_t>(n));
    cursor_ += n;
    return n;
  }
  // A string: up to and including its NUL, a buffer at a time.
  const void* nul = std::memchr(cursor_, '\0', static_cast<size_t>(bufferSize()));
  int n = bufferSize();
  if (nul) {
    n = static_cast<int>(static_cast<const char*>(nul) - cursor_) + 1;
    atEnd_ = true;
  }
  std::memcpy(buffer(), cursor_, static_cast<size_t>(n));
  cursor_ += n;
  return n;
}

// ---- Progress kinds --------------------------------------------------------------

namespace {

// Before a piece: one message step and the user's break. False when the
// user broke the transfer.
bool MayGoOn() {
  ProgressReporter* progress = GetFrameProgress();
  return !progress || !progress->PollAbort();
}

void Report(int sent, int total) {
  if (ProgressReporter* progress = GetFrameProgress()) progress->SetFraction(sent, total);
}

}  // namespace

ProgressFileSender::ProgressFileSender(const CString& path, int total)
    : FileSender(path, 0, kBufferSize), total_(total) {}

int ProgressFileSender::fill() {
  if (!MayGoOn()) return -1;
  const int n = FileSender::fill();
  if (n >= 0) {
    sent_ += n;
    Report(sent_, total_);
  }
  return n;
}

ProgressMemorySender::ProgressMemorySender(const char* data, int length)
    : MemorySender(data, length, 0, kBufferSize),
      // A string counts its NUL: the fraction then reaches 1.
      total_(length >= 0 || !data ? length : static_cast<int>(std::strlen(data)) + 1) {}

int ProgressMemorySender::fill() {
  if (!MayGoOn()) return -1;
  const int n = MemorySender::fill();
  if (n >= 0) {
    sent_ += n;
    Report(sent_, total_);
  }
  return n;
}
