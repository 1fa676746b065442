// A progress reporter for object-model tests: it records what it is told,
// answers polls from a script, and pumps no window messages. While it lives
// it is the main frame's reporter (GetFrameProgress).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "framework/progress_reporter.h"

class FakeProgress : public ProgressReporter {
 public:
  FakeProgress();            // becomes the frame's reporter
  ~FakeProgress() override;  // puts the previous reporter back

  // Polls count from 1. A poll reports a break when its number was given to
  // breakOnPoll, or when the user-break flag is set (which it clears, as
  // the real poll does).
  void breakOnPoll(int pollNumber) { breakPolls_.insert(pollNumber); }

  BOOL PollAbort() override;
  BOOL RequestAbort() override;
  BOOL SetCancel() override;
  void SetText(const char* text) override;
  void SetFraction(int done, int total) override;
  void SetCount(unsigned count) override;
  void SetFractionValue(float fraction) override;
  void Start() override;

  // Everything in call order: "poll", "break" (a poll that reported one),
  // "fraction <value>", "count <n>", "text <t>", "start", "requestAbort",
  // "setCancel".
  std::vector<std::string> events;
  std::vector<float> fractions;  // every fraction set, in order
  std::vector<unsigned> counts;
  int polls = 0;
  int starts = 0;
  int abortRequests = 0;
  int cancelRequests = 0;

 private:
  ProgressReporter* previous_ = nullptr;
  std::set<int> breakPolls_;
};
