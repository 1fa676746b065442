#include "core/line_reader.h"

#include <new>

bool LineReader::open(const char* name, int mode) {
  if (!line_) {
    line_.reset(new (std::nothrow) char[kLineCapacity + 1]);
    if (!line_) return false;
  }
  if (!reader_.open(name, mode)) return false;
  rewind();
  return true;
}

void LineReader::close() {
  reader_.close();
  length_ = 0;
  cursorIndex_ = 0;
  if (line_) line_[0] = '\0';
}

void LineReader::rewind() {
  if (!line_) return;
  // A single blank: "not at the end" until the first line is read.
  line_[0] = ' ';
  line_[1] = '\0';
  length_ = 1;
  cursorIndex_ = 0;
  lineCount_ = 0;
  lineStart_ = 0;
  nextLine_ = 0;
  readLine();
}

void LineReader::readLine() {
  if (!line_ || atEnd()) return;
  const int last = reader_.lastIndex();
  int pos = nextLine_;
  length_ = 0;
  cursorIndex_ = 0;
  line_[0] = '\0';
  if (pos >= last) return;  // the end: the line buffer stays empty
  BYTE c = reader_.charAt(pos);
  while (isLineEnd(c) && pos < last) c = reader_.charAt(++pos);
  lineStart_ = pos;
  // Characters beyond the line's room are read over and dropped, so a long
  // line never spills into the buffer's end nor into the next line.
  const int room = kLineCapacity - 1;
  while (!isLineEnd(c)) {
    if (length_ < room) line_[length_++] = static_cast<char>(c);
    if (pos >= last) break;
    c = reader_.charAt(++pos);
  }
  line_[length_] = '\0';
  nextLine_ = pos;
  if (length_ > 0) ++lineCount_;
}

char* LineReader::cursor() {
  if (!line_) return nullptr;
  return line_.get() + cursorIndex_;
}

char LineReader::current() const {
  if (!line_ || cursorIndex_ >= length_) return '\0';
  return line_[cursorIndex_];
}

char* LineReader::advance(int n) {
  int target = cursorIndex_ + n;
  if (target < 0) target = 0;
  if (target > length_) target = length_;
  cursorIndex_ = target;
  return cursor();
}

char LineReader::seek(int col) {
  if (col < 0) col = 0;
  if (col > length_) col = length_;
  cursorIndex_ = col;
  return current();
}
