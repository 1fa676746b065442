// The main frame's progress display: long operations report their progress
// through it, and the user's break reaches them through it.
//
// Each frame owns one reporter; notifications go to the application's main
// window as message kProgressMessage. The frame registers its reporter with
// SetFrameProgress so that GetFrameProgress finds it; tests register a fake.
//
// The virtual operations are declared in their fixed slot order (callers
// and subclasses rely on it); the destructor comes last.
#pragma once

#include <memory>

#include "win/types.h"

// The message a reporter sends to the main window; wParam is the kind.
inline constexpr UINT kProgressMessage = 0x62C;
enum ProgressKind : int {
  kProgressStart = 0,     // lParam 0
  kProgressFraction = 1,  // lParam: address of the fraction (a float)
  kProgressCount = 2,     // lParam: the count as an integer
  kProgressText = 3       // lParam: address of the text (or 0)
};

class ProgressReporter {
 public:
  ProgressReporter();
  ProgressReporter(const ProgressReporter&) = delete;
  ProgressReporter& operator=(const ProgressReporter&) = delete;

  // One window-message step, then the user-break flag: returned and cleared.
  virtual BOOL PollAbort();
  // Sets the user-break flag; its previous value.
  virtual BOOL RequestAbort();
  // Clears the user-break flag; its previous value.
  virtual BOOL ResetAbort();
  // The cancel byte (polled by searches): returned and cleared.
  virtual BOOL TestAndClearCancel();
  // Sets the cancel byte; its previous value.
  virtual BOOL SetCancel();
  // Keeps a copy of the text (null clears it); notifies kind 3.
  virtual void SetText(const char* text);
  // done / total, 0 when total is 0; notifies kind 1.
  virtual void SetFraction(int done, int total);
  // Keeps the count in the fraction; notifies kind 2.
  virtual void SetCount(unsigned count);
  // The fraction, at most 1.0; notifies kind 1.
  virtual void SetFractionValue(float fraction);
  // The operation has ended (kind 0).
  virtual void Start();
  // Sends kProgressMessage to the main window; nothing without one or for
  // another kind.
  virtual void Notify(int kind);
  // Last: subclasses (the test fakes among them) are deleted through it.
  virtual ~ProgressReporter();

  float fraction() const { return fraction_; }
  const char* text() const { return text_.get(); }
  bool cancelSet() const { return cancel_ != 0; }

 private:
  [[maybe_unused]] BYTE reserved_ = 0;
  BYTE cancel_ = 0;
  float fraction_ = 0.0f;
  std::unique_ptr<char[]> text_;
};

// The progress reporter of the main frame; null when no frame has one.
ProgressReporter* GetFrameProgress();
// The frame (or a test) makes its reporter the current one; returns the
// previous one.
ProgressReporter* SetFrameProgress(ProgressReporter* reporter);
// Clears the current reporter when it is `reporter` (a frame that goes
// away); another frame's reporter stays.
void ClearFrameProgress(ProgressReporter* reporter);
