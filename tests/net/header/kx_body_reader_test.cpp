// Taking a body off a data connection: a header that arrives in pieces, a
// stream without a header, and a body that does not match the size its
// header announced (short, long, or nothing at all).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "net/kx_body_reader.h"

namespace {

using std::string_literals::operator""s;

// A source that hands out the pieces one per read (a piece larger than the
// read is split), then the end of the stream, or a failure when `failAtEnd`.
struct Pieces {
  std::vector<std::string> pieces;
  bool failAtEnd = false;
  size_t next = 0;
  size_t offset = 0;

  int operator()(char* buffer, int length) {
    if (next >= pieces.size()) return failAtEnd ? -1 : 0;
    const std::string& p = pieces[next];
    const size_t n = std::min(p.size() - offset, static_cast<size_t>(length));
    std::memcpy(buffer, p.data() + offset, n);
    offset += n;
    if (offset == p.size()) {
      ++next;
      offset = 0;
    }
    return static_cast<int>(n);
  }
};

// Everything the reader delivers, read in chunks of `chunk` bytes; false
// when a read failed.
bool ReadAll(KxBodyReader& r, std::string& out, int chunk = 7) {
  std::vector<char> buffer(static_cast<size_t>(chunk));
  for (;;) {
    const int n = r.read(buffer.data(), chunk);
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buffer.data(), static_cast<size_t>(n));
  }
}

std::vector<std::string> InPiecesOf(const std::string& s, size_t n) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size(); i += n) out.push_back(s.substr(i, n));
  return out;
}

const std::string kHeader10 = "KXHDR\nver=1\ntype=1\nsz=10\nref=-1\nZ=0\n\0"s;

TEST(KxBodyReader, TableOfStreams) {
  using F = KxBodyReader::Failure;
  std::string longHeader = "KXHDR\n";
  while (longHeader.size() < 2000) longHeader += "padding=line\n";
  longHeader += '\0';

  struct Case {
    const char* label;
    std::vector<std::string> pieces;
    bool failAtEnd;
    bool ok;
    std::string body;
    F failure;
    std::int32_t announced;
  };
  const Case cases[] = {
      {"header and body in one piece", {kHeader10 + "0123456789"}, false, true, "0123456789",
       F::kNone, 10},
      {"header in pieces of 5 bytes", InPiecesOf(kHeader10 + "0123456789", 5), false, true,
       "0123456789", F::kNone, 10},
      {"header and body one byte at a time", InPiecesOf(kHeader10 + "0123456789", 1), false, true,
       "0123456789", F::kNone, 10},
      {"header ended by an empty line", {"KXHDR\nsz=3\n\nabc"}, false, true, "abc", F::kNone, 3},
      {"a whole read of header, body in the next", {kHeader10, "0123456789"}, false, true,
       "0123456789", F::kNone, 10},
      {"no header: every byte is body", {"<html>", "<body>x</body>"}, false, true,
       "<html><body>x</body>", F::kNone, -1},
      {"a short body that looks like the magic", {"KX"}, false, true, "KX", F::kNone, -1},
      {"unknown size: to the end of the stream", {"KXHDR\nsz=-1\n\0"s + "abc", "def"}, false,
       true, "abcdef", F::kNone, -1},
      {"announced empty body", {"KXHDR\nsz=0\n\0"s}, false, true, "", F::kNone, 0},
      {"bytes past the announced size are not body", {"KXHDR\nsz=3\n\0"s + "abcdef", "ghi"},
       false, true, "abc", F::kNone, 3},
      // The faults: a transfer that stops early is not a whole one.
      {"stream ends before the announced size", {kHeader10 + "01234"}, false, false, "01234",
       F::kShortBody, 10},
      {"nothing at all", {}, false, false, "", F::kEmpty, -1},
      {"header cut off by the end of the stream", {"KXHDR\nsz=5\n"}, false, false, "", F::kHeader,
       -1},
      {"header longer than any writer makes", InPiecesOf(longHeader, 100), false, false, "",
       F::kHeader, -1},
      {"source fails in the body", {kHeader10 + "012"}, true, false, "012", F::kSource, 10},
      {"source fails at once", {}, true, false, "", F::kSource, -1},
  };
  for (const Case& c : cases) {
    Pieces source{c.pieces, c.failAtEnd};
    KxBodyReader r(std::ref(source));
    std::string body;
    EXPECT_EQ(ReadAll(r, body), c.ok) << c.label;
    EXPECT_EQ(body, c.body) << c.label;
    EXPECT_EQ(r.failure(), c.failure) << c.label;
    EXPECT_EQ(r.announcedSize(), c.announced) << c.label;
    // A failed reader stays failed.
    char one = 0;
    if (!c.ok) EXPECT_EQ(r.read(&one, 1), -1) << c.label;
  }
}

TEST(KxBodyReader, HeaderFieldsAndDroppedBytes) {
  Pieces source{{"KXHDR\ntype=4\nsz=2\nref=9\nZ=1\n\0"s + "abXYZ"}};
  KxBodyReader r(std::ref(source));
  std::string body;
  ASSERT_TRUE(ReadAll(r, body, 8192));
  EXPECT_EQ(body, "ab");
  EXPECT_TRUE(r.sawHeader());
  EXPECT_EQ(r.header().type, 4);
  EXPECT_EQ(r.header().ref, 9);
  EXPECT_EQ(r.header().Z, 1);
  EXPECT_EQ(r.delivered(), 2);
  EXPECT_EQ(r.dropped(), 3);
  EXPECT_STREQ(r.failureText(), "");
}

TEST(KxBodyReader, ReadsNoFurtherThanTheAnnouncedSize) {
  // After the announced bytes the reader reports the end without asking the
  // source again: a server that keeps the connection open does not stall it.
  int calls = 0;
  std::string wire = "KXHDR\nsz=4\n\0"s + "abcd";
  KxBodyReader r([&](char* buffer, int length) {
    ++calls;
    if (calls > 1) return -1;
    const int n = std::min(length, static_cast<int>(wire.size()));
    std::memcpy(buffer, wire.data(), static_cast<size_t>(n));
    return n;
  });
  std::string body;
  ASSERT_TRUE(ReadAll(r, body));
  EXPECT_EQ(body, "abcd");
  EXPECT_EQ(calls, 1);
}

TEST(KxBodyReader, SmallPiecesAreServedFromLargeReads) {
  // Each source read may cost a socket read with its message step: a caller
  // that takes 8192 bytes at a time reads the source in large pieces, none
  // past the announced size.
  const std::string body(300000, 'b');
  const std::string wire = "KXHDR\nsz=300000\n\0"s + body;
  size_t offset = 0;
  std::vector<int> asked;
  KxBodyReader r([&](char* buffer, int length) {
    asked.push_back(length);
    const size_t n = std::min(static_cast<size_t>(length), wire.size() - offset);
    std::memcpy(buffer, wire.data() + offset, n);
    offset += n;
    return static_cast<int>(n);
  });
  std::string got;
  ASSERT_TRUE(ReadAll(r, got, 8192));
  EXPECT_TRUE(got == body);
  // The header read, then reads that double as the source fills them,
  // together asking for exactly the announced body.
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[1], KxBodyReader::kFirstReadAhead);
  EXPECT_EQ(asked[2], 2 * KxBodyReader::kFirstReadAhead);
  long long total = 0;
  for (int a : asked) total += a;
  EXPECT_EQ(total, static_cast<long long>(wire.size()));
}

TEST(KxBodyReader, ABodyThatAnnouncesMuchAndSendsLittleHoldsLittle) {
  // A header claiming nearly 2 GiB, then a few bytes at a time: the reader
  // never sets aside more than the bytes that came could fill, doubled.
  const std::string wire = "KXHDR\nsz=2000000000\n\0"s + std::string(100, 'x');
  size_t offset = 0;
  int largest = 0;
  KxBodyReader r([&](char* buffer, int length) {
    largest = std::max(largest, length);
    const size_t n = std::min({static_cast<size_t>(length), wire.size() - offset, size_t{10}});
    std::memcpy(buffer, wire.data() + offset, n);
    offset += n;
    return static_cast<int>(n);
  });
  std::string got;
  EXPECT_FALSE(ReadAll(r, got, 4));
  EXPECT_EQ(r.failure(), KxBodyReader::Failure::kShortBody);
  EXPECT_EQ(got.size(), wire.size() - std::string("KXHDR\nsz=2000000000\n\0"s).size());
  EXPECT_EQ(largest, KxBodyReader::kFirstReadAhead);
}

TEST(KxBodyReader, ReadAheadGrowsOnlyToItsLimit) {
  const int body = 5 * KxBodyReader::kReadAhead;
  const std::string wire = "KXHDR\nsz="s + std::to_string(body) + "\n\0"s + std::string(body, 'y');
  size_t offset = 0;
  int largest = 0;
  KxBodyReader r([&](char* buffer, int length) {
    largest = std::max(largest, length);
    const size_t n = std::min(static_cast<size_t>(length), wire.size() - offset);
    std::memcpy(buffer, wire.data() + offset, n);
    offset += n;
    return static_cast<int>(n);
  });
  std::string got;
  ASSERT_TRUE(ReadAll(r, got, 4096));
  EXPECT_EQ(got.size(), static_cast<size_t>(body));
  EXPECT_EQ(largest, KxBodyReader::kReadAhead);
}

TEST(KxBodyReader, LargeReadsGoStraightIntoTheCallersBuffer) {
  // A caller that takes large pieces gets the source's bytes in its own
  // buffer; bytes read ahead for a small read before still come first, and
  // nothing past the announced size is ever asked for.
  const int size = 200000;
  std::string body(static_cast<size_t>(size), '\0');
  for (int i = 0; i < size; ++i) body[static_cast<size_t>(i)] = static_cast<char>(i * 7 + i / 251);
  const std::string header = "KXHDR\nsz=200000\n\0"s;
  const std::string wire = header + body + "trailing";
  struct Case {
    std::vector<int> sizes;  // read sizes, the last one repeated
    bool allDirect;          // every body read reaches the caller's buffer
  };
  const Case cases[] = {
      {{KxBodyReader::kDirectRead}, true},
      {{65536}, true},
      {{7, 65536}, false},
      {{65536, 100, 65536}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.sizes));
    std::vector<char> buffer(65536);
    size_t offset = 0;
    int calls = 0;
    int direct = 0;
    KxBodyReader r([&](char* into, int length) {
      ++calls;
      if (into == buffer.data()) ++direct;
      // The socket hands out at most 50000 bytes at once.
      const size_t n = std::min({static_cast<size_t>(length), wire.size() - offset, size_t{50000}});
      std::memcpy(into, wire.data() + offset, n);
      offset += n;
      return static_cast<int>(n);
    });
    std::string got;
    for (size_t i = 0;; ++i) {
      const int want = c.sizes[std::min(i, c.sizes.size() - 1)];
      const int n = r.read(buffer.data(), want);
      ASSERT_GE(n, 0);
      if (n == 0) break;
      got.append(buffer.data(), static_cast<size_t>(n));
    }
    EXPECT_TRUE(got == body);
    EXPECT_EQ(offset, header.size() + body.size());
    if (c.allDirect) EXPECT_EQ(direct, calls - 1);  // all but the header's read
    else EXPECT_GT(direct, 0);
  }
}

}  // namespace
