// The letters a character folds to, before case is applied.
#pragma once

struct FoldLetters {
  int code;
  char first;
  char second;  // 0 unless the character is a ligature
};

// Null when the code is not in the table.
const FoldLetters* findFoldLetters(int code);
