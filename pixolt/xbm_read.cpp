// Reading XBM pictures (file or text in memory) into 1-bit DIB handles.
// The header is read word by word: a word holding "width" or "height" is
// followed by the number, the word holding "bits" opens the data. The data
// are hexadecimal bytes, eight pixels each with the leftmost pixel in the
// lowest bit, rows from the top down.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dib_block.h"
#include "pixolt.h"

using namespace pixolt;

namespace {

constexpr int kEnd = -1;
constexpr std::size_t kMaxWord = 255;

// Characters one at a time from a file or from a bounded text.
class Chars {
 public:
  virtual ~Chars() = default;
  virtual int Peek() = 0;
  int Get() {
    int c = Peek();
    if (c != kEnd) Advance();
    return c;
  }

 protected:
  virtual void Advance() = 0;
};

class FileChars : public Chars {
 public:
  explicit FileChars(FILE* file) : file_(file), buffer_(65536) {}
  int Peek() override {
    if (pos_ == end_) {
      end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
      pos_ = 0;
      if (end_ == 0) return kEnd;
    }
    return static_cast<unsigned char>(buffer_[pos_]);
  }

 protected:
  void Advance() override { ++pos_; }

 private:
  FILE* file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
};

class TextChars : public Chars {
 public:
  TextChars(const char* text, std::size_t length) : text_(text), length_(length) {}
  int Peek() override { return pos_ < length_ ? static_cast<unsigned char>(text_[pos_]) : kEnd; }
  std::size_t position() const { return pos_; }

 protected:
  void Advance() override { ++pos_; }

 private:
  const char* text_;
  std::size_t length_;
  std::size_t pos_ = 0;
};

// NUL separates the strings of a memory text: a blank like any other.
bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0; }

int HexValue(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// An integer as scanf's %i reads it: blanks, a sign, then hexadecimal after
// "0x", octal after a leading 0, else decimal. Saturates far above any side
// the library accepts. False when no digit comes.
bool ReadInteger(Chars& in, std::int64_t& out) {
  while (IsBlank(in.Peek()) && in.Peek() != 0) in.Get();
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') negative = in.Get() == '-';
  if (HexValue(in.Peek()) < 0 || in.Peek() > '9') return false;
  int base = 10;
  std::int64_t value = 0;
  if (in.Peek() == '0') {
    in.Get();
    base = 8;
    if (in.Peek() == 'x' || in.Peek() == 'X') {
      in.Get();
      base = 16;
    }
  }
  for (;;) {
    int d = HexValue(in.Peek());
    if (d < 0 || d >= base) break;
    in.Get();
    if (value < (std::int64_t{1} << 40)) value = value * base + d;
  }
  out = negative ? -value : value;
  return true;
}

struct XbmSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
};

// Reads words up to the one holding "bits", then moves to the data: past a
// "{" on the rest of that line, else to the next line. False at the end of
// the input before "bits".
bool ReadHeader(Chars& in, XbmSize& size) {
  std::string word;
  for (;;) {
    while (IsBlank(in.Peek())) in.Get();
    if (in.Peek() == kEnd) return false;
    word.clear();
    // "{" ends a word, so that data opened on the declaration's line stay
    // unread here; alone it is a word of its own.
    if (in.Peek() == '{') word.push_back(static_cast<char>(in.Get()));
    while (word.size() < kMaxWord && in.Peek() != kEnd && !IsBlank(in.Peek()) && in.Peek() != '{')
      word.push_back(static_cast<char>(in.Get()));
    if (word.find("width") != std::string::npos) {
      ReadInteger(in, size.width);
    } else if (word.find("height") != std::string::npos) {
      ReadInteger(in, size.height);
    } else if (word.find("bits") != std::string::npos) {
      // The declaration may open its data on its own line ("{ 0x01, ..."):
      // those bytes count too.
      for (;;) {
        int c = in.Get();
        if (c == kEnd || c == '\n' || c == '{') return true;
      }
    }
  }
}

// Where the data go: rows of (width + 7) / 8 bytes from the top of the
// picture, stored bottom-up with the bit order turned round.
class BitSink {
 public:
  BitSink(std::uint8_t* bits, std::int64_t width, std::int64_t height)
      : bits_(bits),
        dataRow_(static_cast<std::uint64_t>((width + 7) / 8)),
        storedRow_(RowBytes(static_cast<std::uint64_t>(width), 1)),
        height_(static_cast<std::uint64_t>(height)) {}
  // False once the picture is full.
  bool Put(std::uint64_t value) {
    std::uint64_t row = count_ / dataRow_;
    if (row >= height_) return false;
    std::uint8_t b = static_cast<std::uint8_t>(value);
    std::uint8_t reversed = 0;
    for (int i = 0; i < 8; ++i)
      if (b & (1u << i)) reversed = static_cast<std::uint8_t>(reversed | (0x80u >> i));
    bits_[(height_ - 1 - row) * storedRow_ + count_ % dataRow_] = reversed;
    ++count_;
    return true;
  }

 private:
  std::uint8_t* bits_;
  std::uint64_t dataRow_, storedRow_, height_;
  std::uint64_t count_ = 0;
};

// A hexadecimal number as scanf's %x reads it (blanks, a sign, an optional
// "0x"); false when no digit comes.
bool ReadHex(Chars& in, std::uint64_t& out) {
  while (IsBlank(in.Peek()) && in.Peek() != '\n' && in.Peek() != 0) in.Get();
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') negative = in.Get() == '-';
  if (HexValue(in.Peek()) < 0) return false;
  std::uint64_t value = 0;
  if (in.Peek() == '0') {
    in.Get();
    if (in.Peek() == 'x' || in.Peek() == 'X') in.Get();
  }
  for (int d; (d = HexValue(in.Peek())) >= 0; in.Get()) value = (value << 4) | static_cast<unsigned>(d);
  out = negative ? (~value + 1) : value;
  return true;
}

// File data: every line split at commas; a piece holding a number gives one
// byte, anything else nothing.
void ReadFileData(Chars& in, BitSink& sink) {
  for (;;) {
    std::uint64_t value;
    if (ReadHex(in, value) && !sink.Put(value)) return;
    for (;;) {  // the rest of the piece
      int c = in.Get();
      if (c == kEnd) return;
      if (c == ',' || c == '\n') break;
    }
  }
}

// Memory data: from each position the scan goes to the next decimal digit,
// reads a hexadecimal number there, then moves past the next comma; it ends
// when no digit or no further comma lies within the text.
void ReadTextData(Chars& in, BitSink& sink) {
  for (;;) {
    while (in.Peek() != kEnd && !(in.Peek() >= '0' && in.Peek() <= '9')) in.Get();
    if (in.Peek() == kEnd) return;
    std::uint64_t value;
    if (ReadHex(in, value) && !sink.Put(value)) return;
    for (;;) {
      int c = in.Get();
      if (c == kEnd) return;
      if (c == ',') break;
    }
  }
}

// Grows `block` into the 1-bit DIB's header, colour table (white, black)
// and zeroed bits; null when it cannot.
std::uint8_t* PrepareBlock(HGLOBAL& block, const XbmSize& size) {
  std::uint64_t rowBytes = RowBytes(static_cast<std::uint64_t>(size.width), 1);
  std::uint64_t bitsBytes = rowBytes * static_cast<std::uint64_t>(size.height);
  HGLOBAL grown = block ? GlobalReAlloc(block, static_cast<DWORD_PTR>(48 + bitsBytes),
                                        GMEM_MOVEABLE | GMEM_ZEROINIT)
                        : nullptr;
  if (!grown) return nullptr;
  block = grown;
  auto* data = static_cast<std::uint8_t*>(GlobalLock(grown));
  if (!data) return nullptr;
  auto& h = *reinterpret_cast<BITMAPINFOHEADER*>(data);
  FillHeader(h, static_cast<LONG>(size.width), static_cast<LONG>(size.height), 1,
             static_cast<DWORD>(bitsBytes), 0, 0, 2, 2);
  static const std::uint8_t kColors[8] = {255, 255, 255, 0, 0, 0, 0, 0};
  std::memcpy(data + kInfoHeaderSize, kColors, sizeof kColors);
  std::memset(data + 48, 0, static_cast<std::size_t>(bitsBytes));
  return data;
}

bool SizeAllowed(const XbmSize& s) {
  return s.width > 0 && s.height > 0 && s.width <= kMaxSide && s.height <= kMaxSide;
}

}  // namespace

HGLOBAL ReadXbm(LPCSTR fileName, HGLOBAL block) {
  if (!fileName) return nullptr;
  FILE* file = win_fopen(fileName, "rt");
  if (!file) return nullptr;
  FileChars in(file);
  XbmSize size;
  HGLOBAL result = nullptr;
  if (ReadHeader(in, size) && SizeAllowed(size)) {
    if (std::uint8_t* data = PrepareBlock(block, size)) {
      BitSink sink(data + 48, size.width, size.height);
      ReadFileData(in, sink);
      GlobalUnlock(block);
      result = block;
    }
  }
  std::fclose(file);
  return result;
}

HGLOBAL ReadMemXbm(const char* text, DWORD length, HGLOBAL block) {
  if (!text) return nullptr;
  TextChars in(text, length);
  XbmSize size;
  if (!ReadHeader(in, size) || !SizeAllowed(size) || in.position() >= length) return nullptr;
  std::uint8_t* data = PrepareBlock(block, size);
  if (!data) return nullptr;
  BitSink sink(data + 48, size.width, size.height);
  ReadTextData(in, sink);
  GlobalUnlock(block);
  return block;
}
