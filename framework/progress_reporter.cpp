#include "framework/progress_reporter.h"

#include <cmath>
#include <cstring>

#include "framework/user_break.h"
#include "mfc/app.h"
#include "win/user.h"

namespace {
ProgressReporter* gFrameProgress = nullptr;

// A count kept in a float, back as a message parameter; out-of-range and
// NaN values cannot be converted and are clamped.
LPARAM CountParam(float value) {
  if (std::isnan(value) || value <= 0.0f) return 0;
  if (value >= 9.0e18f) return static_cast<LPARAM>(9000000000000000000LL);
  return static_cast<LPARAM>(value);
}
}  // namespace

ProgressReporter::ProgressReporter() = default;
ProgressReporter::~ProgressReporter() = default;

BOOL ProgressReporter::PollAbort() { return PollUserBreak() ? TRUE : FALSE; }
BOOL ProgressReporter::RequestAbort() { return SetAbortFlag() ? TRUE : FALSE; }
BOOL ProgressReporter::ResetAbort() { return ClearAbortFlag() ? TRUE : FALSE; }

BOOL ProgressReporter::TestAndClearCancel() {
  const BOOL old = cancel_ ? TRUE : FALSE;
  cancel_ = 0;
  return old;
}

BOOL ProgressReporter::SetCancel() {
  const BOOL old = cancel_ ? TRUE : FALSE;
  cancel_ = 1;
  return old;
}

void ProgressReporter::SetText(const char* text) {
  std::unique_ptr<char[]> copy;
  if (text) {
    const std::size_t length = std::strlen(text);
    copy.reset(new char[length + 1]);
    std::memcpy(copy.get(), text, length + 1);
  }
  text_ = std::move(copy);
  Notify(kProgressText);
}

void ProgressReporter::SetFraction(int done, int total) {
  // In floating point: an integer quotient would only ever show 0 or 1.
  fraction_ = total == 0 ? 0.0f : static_cast<float>(static_cast<double>(done) / total);
  Notify(kProgressFraction);
}

void ProgressReporter::SetCount(unsigned count) {
  fraction_ = static_cast<float>(count);
  Notify(kProgressCount);
}

void ProgressReporter::SetFractionValue(float fraction) {
  fraction_ = fraction > 1.0f ? 1.0f : fraction;
  Notify(kProgressFraction);
}

void ProgressReporter::Start() { Notify(kProgressStart); }

void ProgressReporter::Notify(int kind) {
  CWnd* mainWnd = AfxGetMainWnd();
  if (!mainWnd) return;
  HWND wnd = AfxGetWindowHandle(mainWnd);
  if (!wnd) return;
  LPARAM param = 0;
  switch (kind) {
    case kProgressStart:
      break;
    case kProgressFraction:
      param = reinterpret_cast<LPARAM>(&fraction_);
      break;
    case kProgressCount:
      param = CountParam(fraction_);
      break;
    case kProgressText:
      param = reinterpret_cast<LPARAM>(text_.get());
      break;
    default:
      return;
  }
  SendMessage(wnd, kProgressMessage, static_cast<WPARAM>(kind), param);
}

ProgressReporter* GetFrameProgress() { return gFrameProgress; }

ProgressReporter* SetFrameProgress(ProgressReporter* reporter) {
  ProgressReporter* old = gFrameProgress;
  gFrameProgress = reporter;
  return old;
}

void ClearFrameProgress(ProgressReporter* reporter) {
  if (gFrameProgress == reporter) gFrameProgress = nullptr;
}
