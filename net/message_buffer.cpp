#include "net/message_buffer.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "net/rpcstream.h"

MessageBuffer::MessageBuffer(int capacity) { reset(capacity); }

bool MessageBuffer::reset(int capacity) {
  if (capacity < 1) capacity = 1;
  if (capacity > kMaxLength) capacity = kMaxLength;
  char* block = new (std::nothrow) char[static_cast<size_t>(capacity)];
  length_ = 0;
  failed_ = false;
  if (!block) return false;
  data_.reset(block);
  capacity_ = capacity;
  return true;
}

void MessageBuffer::start(LONG id, LONG code) {
  length_ = 0;
  failed_ = !data_;
  putInt(id);
  putInt(code);
}

bool MessageBuffer::reserve(int more) {
  if (failed_) return false;
  if (more < 0 || more > kMaxLength - length_) {
    failed_ = true;  // the request would be longer than any peer takes
    return false;
  }
  const int need = length_ + more;
  if (need <= capacity_) return true;
  long long cap = capacity_ < 1 ? 1 : capacity_;
  while (cap < need) cap *= 2;
  if (cap > kMaxLength) cap = kMaxLength;
  char* block = new (std::nothrow) char[static_cast<size_t>(cap)];
  if (!block) {
    failed_ = true;
    return false;
  }
  if (length_ > 0) std::memcpy(block, data_.get(), static_cast<size_t>(length_));
  data_.reset(block);
  capacity_ = static_cast<int>(cap);
  return true;
}

void MessageBuffer::append(const void* bytes, int count) {
  if (count <= 0 || !reserve(count)) return;
  std::memcpy(data_.get() + length_, bytes, static_cast<size_t>(count));
  length_ += count;
}

void MessageBuffer::putInt(LONG value) {
  if (binary_) {
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    // In the receiver's order.
    if (swap_) {
      std::swap(bytes[0], bytes[3]);
      std::swap(bytes[1], bytes[2]);
    }
    append(bytes, 4);
    return;
  }
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%u ", static_cast<DWORD>(value));
  append(text, n);
}

void MessageBuffer::putIntArray(const IdArray& ids) {
  putInt(ids.count());
  for (int i = 0; i < ids.count(); ++i) putInt(ids.at(i).value());
}

void MessageBuffer::putString(const CString& text) {
  append(text.c_str(), text.GetLength());
  const char nul = '\0';
  append(&nul, 1);
}

void MessageBuffer::putBytes(const void* bytes, int count) {
  if (count < 0 || (!bytes && count > 0)) {
    failed_ = true;
    return;
  }
  append(bytes, count);
}

bool send(rpcstream* stream, const MessageBuffer& buffer) {
  if (!stream) return false;
  if (!stream->good() || buffer.failed() || stream->rdbuf()->start_request() != 0) {
    stream->setstate(oldio::ios::failbit);
    return false;
  }
  stream->write(buffer.data(), buffer.length());
  return stream->good();
}
