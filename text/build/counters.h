// List numbering: two sets of counters (one for ordered lists, one for
// headings, as the definition files use them), each a stack of up to 20
// levels with a value, a numbering style, a text and a join flag. A label is
// formatted from the current level and the joined levels below it ("2.5 ").
#pragma once

#include "core/list.h"
#include "mfc/cstring.h"
#include "win/types.h"

// Numbering styles of a level.
enum CounterStyle : LONG {
  kCounterNone = 0,     // an empty piece
  kCounterText = 1,     // the level's text
  kCounterLetters = 2,  // a, b ... z, aa, ab ...
  kCounterDecimal = 3,
  kCounterDingbat = 4,  // a Dingbat named by the text and the level's digit
  kCounterPicture = 5,  // a picture named by the text
};

struct CounterLevel {
  LONG value = 0;
  LONG style = kCounterDecimal;
  CString text;
  BYTE join = 1;
};

class CounterSet {
 public:
  static constexpr int kLevels = 20;
  bool PushLevel(LONG style, const CString& text, BYTE join);
  bool PopLevel();
  bool SetValue(BYTE restore, LONG value);
  bool AddValue(LONG delta);
  bool FormatLabel(List& pieces) const;

  int Depth() const { return depth_; }
  const CounterLevel& Level(int i) const { return levels_[i]; }

 private:
  int depth_ = -1;
  CounterLevel levels_[kLevels];
  CounterLevel saved_[kLevels];
};

// A value in letters, bijective base 26: 1 a, 26 z, 27 aa, 28 ab, 702 zz,
// 703 aaa. Values below 1 have no letters and are written in decimal.
CString CounterLetters(LONG value);
