// The encoded body of an outgoing request: its id, code and arguments in
// the connection's form, written out whole by send().
#pragma once

#include <memory>

#include "core/id_array.h"
#include "mfc/cstring.h"
#include "win/types.h"

class rpcstream;

class MessageBuffer {
 public:
  // A request may not grow past this (the peer refuses longer messages).
  static constexpr int kMaxLength = 64 * 1024 * 1024;

  explicit MessageBuffer(int capacity = 256);

  // A new empty block of at least 1 byte; false (and the old block kept,
  // emptied) when it cannot be had.
  bool reset(int capacity);
  // Empties the buffer, then writes the id and the code.
  void start(LONG id, LONG code);
  // Text form: unsigned decimal and a blank (so -1 gives "4294967295 ");
  // binary form: 4 bytes in the receiver's order.
  void putInt(LONG value);
  // The count, then each id.
  void putIntArray(const IdArray& ids);
  // The characters and the NUL.
  void putString(const CString& text);
  void putBytes(const void* bytes, int count);

  void setBinary(bool on) { binary_ = on; }
  void setSwapped(bool on) { swap_ = on; }
  bool isBinary() const { return binary_; }
  bool isSwapped() const { return swap_; }

  const char* data() const { return data_.get(); }
  int length() const { return length_; }
  int capacity() const { return capacity_; }
  // A put failed (no memory, or the request would pass kMaxLength) since
  // the last start: the buffer is not to be sent.
  bool failed() const { return failed_; }

 private:
  bool reserve(int more);
  void append(const void* bytes, int count);

  std::unique_ptr<char[]> data_;
  int capacity_ = 0;
  int length_ = 0;
  bool binary_ = false;
  bool swap_ = false;
  bool failed_ = false;
};

// Opens a request on the stream and writes the buffer into it; the request
// goes out when the stream is flushed. A stream that is not good, a
// request that cannot be opened or a failed buffer mark the stream failed;
// false then.
bool send(rpcstream* stream, const MessageBuffer& buffer);
