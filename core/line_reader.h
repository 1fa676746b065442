// Text lines of a file read through a WindowReader: line ends (CR, LF or any
// mix of them) are skipped, lines keep at most 132 characters, and a cursor
// walks the current line.
#pragma once

#include <memory>

#include "core/window_reader.h"

class LineReader {
 public:
  static constexpr int kLineCapacity = 133;

  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens the file and reads its first line. False when the line buffer
  // cannot be had or the file cannot be opened.
  bool open(const char* name, int mode);
  void close();
  // Back to the start of the file; reads the first line.
  void rewind();
  // Reads the next line; nothing once the end has been reached.
  void readLine();
  // True once no line is left (the line buffer is empty).
  bool atEnd() const { return length_ == 0; }

  const char* line() const { return line_ ? line_.get() : ""; }
  int length() const { return length_; }
  int lineCount() const { return lineCount_; }
  int lineStart() const { return lineStart_; }

  char* cursor();
  char current() const;
  // Moves the cursor by n (kept within [0, length]) and returns it.
  char* advance(int n);
  // Puts the cursor at column `col` (kept within [0, length]) and returns the
  // character there (NUL at the end of the line).
  char seek(int col);

 private:
  static bool isLineEnd(BYTE c) { return c == '\r' || c == '\n'; }

  int length_ = 0;
  int cursorIndex_ = 0;
  int lineCount_ = 0;
  std::unique_ptr<char[]> line_;
  int lineStart_ = 0;
  int nextLine_ = 0;
  WindowReader reader_;
};
