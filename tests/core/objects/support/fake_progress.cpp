#include "core/objects/support/fake_progress.h"

#include <cstdio>

#include "framework/user_break.h"

FakeProgress::FakeProgress() { previous_ = SetFrameProgress(this); }

FakeProgress::~FakeProgress() {
  if (GetFrameProgress() == this) SetFrameProgress(previous_);
}

BOOL FakeProgress::PollAbort() {
  ++polls;
  events.push_back("poll");
  const bool flagged = ClearAbortFlag();
  const bool scripted = breakPolls_.count(polls) != 0;
  if (flagged || scripted) {
    events.push_back("break");
    return TRUE;
  }
  return FALSE;
}

BOOL FakeProgress::RequestAbort() {
  ++abortRequests;
  events.push_back("requestAbort");
  return ProgressReporter::RequestAbort();
}

BOOL FakeProgress::SetCancel() {
  ++cancelRequests;
  events.push_back("setCancel");
  return ProgressReporter::SetCancel();
}

void FakeProgress::SetText(const char* text) {
  events.push_back(std::string("text ") + (text ? text : "(null)"));
  ProgressReporter::SetText(text);
}

void FakeProgress::SetFraction(int done, int total) {
  ProgressReporter::SetFraction(done, total);
  fractions.push_back(fraction());
  char line[64];
  std::snprintf(line, sizeof line, "fraction %g", static_cast<double>(fraction()));
  events.push_back(line);
}

void FakeProgress::SetCount(unsigned count) {
  counts.push_back(count);
  events.push_back("count " + std::to_string(count));
  ProgressReporter::SetCount(count);
}

void FakeProgress::SetFractionValue(float value) {
  ProgressReporter::SetFractionValue(value);
  fractions.push_back(fraction());
  char line[64];
  std::snprintf(line, sizeof line, "fraction %g", static_cast<double>(fraction()));
  events.push_back(line);
}

void FakeProgress::Start() {
  ++starts;
  events.push_back("start");
  ProgressReporter::Start();
}
