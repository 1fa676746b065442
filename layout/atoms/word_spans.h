// The spans of a word of several pieces: stretches of the word's positions
// in position order, each with the run that measures and draws it, and the
// word's whole text for searching and copying. Only words that mix styles,
// kinds or marks, or hold an overlay, need them; a one-piece word keeps its
// run in itself.
#pragma once

#include "layout/atoms/run_text.h"
#include "layout/atoms/text_run.h"
#include "text/atom/atom_pool.h"
#include "win/types.h"

// A stretch of the word's positions and the run that holds its text.
struct TextSpan {
  LONG start;
  LONG length;  // 32 bits: a word may be longer than 32767 bytes
  TextRun* run;
  LONG End() const { return start + length; }
};

class WordSpans {
 public:
  WordSpans() = default;
  WordSpans(const WordSpans&) = delete;
  WordSpans& operator=(const WordSpans&) = delete;
  // Deletes the runs of the spans.
  ~WordSpans();
  ZEMRA_POOLED_ALLOCATION

  LONG Count() const { return static_cast<LONG>(count_); }
  TextSpan* At(LONG i) const { return i >= 0 && i < Count() ? spans_ + i : nullptr; }
  TextSpan* First() const { return At(0); }
  TextSpan* Last() const { return At(Count() - 1); }
  LONG IndexOf(const TextSpan* s) const { return static_cast<LONG>(s - spans_); }
  TextSpan* Next(const TextSpan* s) const { return At(IndexOf(s) + 1); }
  TextSpan* Previous(const TextSpan* s) const { return At(IndexOf(s) - 1); }

  // Puts a span at index i (moving those from i on); the spans take its
  // run only when this succeeds. Pointers to spans are stale afterwards.
  bool Insert(LONG i, const TextSpan& span);
  bool Append(const TextSpan& span) { return Insert(Count(), span); }
  // Takes the span at i out; its run now belongs to the caller.
  TextRun* Remove(LONG i);

  RunText text;

 private:
  TextSpan* spans_ = nullptr;
  DWORD count_ = 0;
  DWORD capacity_ = 0;
};
