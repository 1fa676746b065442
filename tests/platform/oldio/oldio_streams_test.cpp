#include <gtest/gtest.h>

#include <string>

#include "oldio/iostream.h"

namespace {

// A buffer over a text to read, collecting what is written; the reserve
// area is made by doallocate and the get area is refilled in small pieces,
// so that extractors cross underflow boundaries.
class TextBuf : public oldio::streambuf {
 public:
  explicit TextBuf(std::string input = "", int piece = 3) : input_(std::move(input)), piece_(piece) {}
  std::string written;
  int allocations = 0;

  using oldio::streambuf::base;
  using oldio::streambuf::blen;

 protected:
  int doallocate() override {
    ++allocations;
    return oldio::streambuf::doallocate();
  }
  int underflow() override {
    if (gptr() < egptr()) return static_cast<unsigned char>(*gptr());
    if (allocate() == oldio::kEof || at_ >= input_.size()) return oldio::kEof;
    const size_t n = std::min<size_t>(static_cast<size_t>(piece_), input_.size() - at_);
    input_.copy(base(), n, at_);
    at_ += n;
    setg(base(), base(), base() + n);
    return static_cast<unsigned char>(*gptr());
  }
  int overflow(int c) override {
    if (c != oldio::kEof) written.push_back(static_cast<char>(c));
    return c == oldio::kEof ? 0 : c;
  }

 private:
  std::string input_;
  size_t at_ = 0;
  int piece_;
};

TEST(OldioStreamTest, IntegersKeepTheirThirtyTwoBitPattern) {
  struct Case {
    const char* text;
    bool ok;
    LONG asLong;
    DWORD asDword;
  };
  const Case cases[] = {
      {"0", true, 0, 0},
      {"  \n-12", true, -12, 0xFFFFFFF4u},
      {"+7", true, 7, 7},
      {"2147483648", true, static_cast<LONG>(0x80000000u), 0x80000000u},  // bit 31 written unsigned
      {"4294967295", true, -1, 0xFFFFFFFFu},
      {"-2147483648", true, static_cast<LONG>(0x80000000u), 0x80000000u},
      {"4294967296", false, 55, 55},   // does not fit 32 bits
      {"-2147483649", false, 55, 55},
      {"99999999999999999999999", false, 55, 55},
      {"-", false, 55, 55},
      {"x1", false, 55, 55},
      {"", false, 55, 55},
  };
  for (const Case& c : cases) {
    TextBuf a(c.text), b(c.text);
    oldio::istream inA(&a), inB(&b);
    LONG l = 55;
    DWORD d = 55;
    inA >> l;
    inB >> d;
    EXPECT_EQ(!inA.fail(), c.ok) << c.text;
    EXPECT_EQ(!inB.fail(), c.ok) << c.text;
    EXPECT_EQ(l, c.asLong) << c.text;
    EXPECT_EQ(d, c.asDword) << c.text;
  }
  // Reading stops before the first non-digit and goes on from there.
  TextBuf buf("10 -20,0x1F 017");
  oldio::istream in(&buf);
  LONG x = 0, y = 0, h = 0;
  in >> x >> y;
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, -20);
  EXPECT_EQ(in.get(), ',');
  in.setf(oldio::ios::hex, oldio::ios::basefield);
  in >> h;
  EXPECT_EQ(h, 0x1F);
  in.setf(0, oldio::ios::basefield);  // no base: the prefix tells
  in >> h;
  EXPECT_EQ(h, 15);
  EXPECT_TRUE(in.eof());
}

TEST(OldioStreamTest, FloatsAndShorts) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1.5", true, 1.5},   {"-0.25", true, -0.25}, {"3e2", true, 300.0},
      {".5", true, 0.5},    {"7.", true, 7.0},      {"1e", true, 1.0},
      {"+2.5E-1", true, 0.25}, {".", false, 0},     {"e5", false, 0},
  };
  for (const Case& c : cases) {
    TextBuf b(c.text);
    oldio::istream in(&b);
    double v = 0;
    float f = 0;
    in >> v;
    EXPECT_EQ(!in.fail(), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    TextBuf b2(c.text);
    oldio::istream in2(&b2);
    in2 >> f;
    if (c.ok) {
      EXPECT_FLOAT_EQ(f, static_cast<float>(c.value)) << c.text;
    }
  }
  TextBuf b("-32768 65535 70000");
  oldio::istream in(&b);
  SHORT s = 0;
  WORD w = 0;
  in >> s >> w;
  EXPECT_EQ(s, -32768);
  EXPECT_EQ(w, 65535);
  in >> s;
  EXPECT_TRUE(in.fail());
}

TEST(OldioStreamTest, FormattedOutput) {
  struct Case {
    LONG flags;
    int width;
    char fill;
    LONG value;
    const char* expected;
  };
  const Case cases[] = {
      {0, 0, ' ', -42, "-42"},
      {0, 6, ' ', 42, "    42"},
      {oldio::ios::left, 6, '*', 42, "42****"},
      {oldio::ios::internal, 6, '0', -42, "-00042"},
      {oldio::ios::showpos, 0, ' ', 5, "+5"},
      {oldio::ios::hex, 0, ' ', 255, "ff"},
      {oldio::ios::hex | oldio::ios::showbase | oldio::ios::uppercase, 0, ' ', 255, "0XFF"},
      {oldio::ios::hex, 0, ' ', -1, "ffffffff"},
      {oldio::ios::oct | oldio::ios::showbase, 0, ' ', 8, "010"},
      {0, 2, ' ', 12345, "12345"},
  };
  for (const Case& c : cases) {
    TextBuf b;
    oldio::ostream out(&b);
    out.setf(c.flags, oldio::ios::basefield | oldio::ios::adjustfield | oldio::ios::showbase |
                          oldio::ios::showpos | oldio::ios::uppercase);
    out.fill(c.fill);
    out.width(c.width);
    out << c.value;
    EXPECT_EQ(b.written, c.expected) << c.expected;
    EXPECT_EQ(out.width(), 0);  // a width holds for one output
  }
  TextBuf b;
  oldio::ostream out(&b);
  out << "a" << 'b' << static_cast<DWORD>(4294967295u) << ' ' << 2.5 << oldio::endl;
  out.width(3);
  out << 'c' << oldio::ends;
  EXPECT_EQ(b.written, std::string("ab4294967295 2.5\n  c\0", 21));
}

TEST(OldioStreamTest, UnformattedInput) {
  TextBuf b("first line\nsecond\n\nabcdefgh");
  oldio::istream in(&b);
  char line[8];
  in.getline(line, sizeof line);  // longer than the buffer: the rest stays
  EXPECT_STREQ(line, "first l");
  EXPECT_EQ(in.gcount(), 7);
  in.getline(line, sizeof line);
  EXPECT_STREQ(line, "ine");
  in.get(line, sizeof line);  // get leaves the delimiter
  EXPECT_STREQ(line, "second");
  EXPECT_EQ(in.peek(), '\n');
  in.ignore(2);
  char four[4];
  in.read(four, 4);
  EXPECT_EQ(std::string(four, 4), "abcd");
  in.read(four, 4);
  EXPECT_EQ(in.gcount(), 4);
  in.read(four, 4);  // nothing left
  EXPECT_TRUE(in.eof());
  EXPECT_TRUE(in.fail());
  EXPECT_EQ(in.gcount(), 0);
}

TEST(OldioStreamTest, OneStateAndOneBufferForBothDirections) {
  TextBuf b("12");
  oldio::iostream io(&b);
  EXPECT_EQ(b.allocations, 0);
  LONG v = 0;
  io >> v;
  EXPECT_EQ(v, 12);
  EXPECT_EQ(b.allocations, 1);  // the reserve area is made on first use
  EXPECT_TRUE(io.eof());
  // The shared state: the failed read also stops writing.
  io >> v;
  EXPECT_TRUE(io.fail());
  io << 5;
  EXPECT_EQ(b.written, "");
  io.clear();
  io << 5;
  EXPECT_EQ(b.written, "5");
  EXPECT_EQ(static_cast<oldio::istream&>(io).rdbuf(), static_cast<oldio::ostream&>(io).rdbuf());

  // A stream without a buffer is bad and stays so.
  oldio::istream none(nullptr);
  EXPECT_TRUE(none.bad());
  none.clear();
  EXPECT_TRUE(none.bad());
}

TEST(OldioStreamTest, ReserveAreaAndPutBack) {
  TextBuf b("xy");
  EXPECT_EQ(b.allocate(), 1);
  EXPECT_EQ(b.blen(), 512);
  EXPECT_EQ(b.allocate(), 0);  // already there
  char own[16];
  TextBuf mine("ab");
  EXPECT_EQ(mine.setbuf(own, sizeof own), &mine);
  EXPECT_EQ(mine.base(), own);
  EXPECT_EQ(mine.setbuf(own, 4), nullptr);  // has one already

  oldio::istream in(&b);
  EXPECT_EQ(in.get(), 'x');
  in.putback('x');
  EXPECT_EQ(in.get(), 'x');
  EXPECT_EQ(in.get(), 'y');
  EXPECT_EQ(b.sgetc(), oldio::kEof);
}

}  // namespace
