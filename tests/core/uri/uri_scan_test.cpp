// The plain scans answer exactly what the regular expressions they stand
// for answer, on every text of a small alphabet up to a length that covers
// each shape with room around it.
#include "core/uri_scan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/regexp.h"

namespace {

// Every text of up to `maxLength` bytes drawn from `alphabet`.
std::vector<std::string> AllTexts(const std::string& alphabet, std::size_t maxLength) {
  std::vector<std::string> out{""};
  std::size_t from = 0;
  for (std::size_t length = 1; length <= maxLength; ++length) {
    const std::size_t to = out.size();
    for (std::size_t i = from; i < to; ++i)
      for (char c : alphabet) out.push_back(out[i] + c);
    from = to;
  }
  return out;
}

// Whether the pattern matches the whole text, as the parser asked it.
bool RegexpWhole(Regexp& rx, const std::string& text) {
  std::string buffer = text;
  const int length = static_cast<int>(buffer.size());
  buffer.push_back('\0');
  return rx.Search(buffer.data(), length, 0) == length;
}

TEST(UriScan, WholeTextShapesAgreeWithTheirPatterns) {
  struct Case {
    const char* pattern;
    std::function<bool(std::string_view)> scan;
    std::string alphabet;
    std::size_t maxLength;
  };
  const std::string withNul("1.a\0", 4);
  const Case cases[] = {
      {"^[0-9]+$", uri_scan::IsDigits, withNul, 6},
      {"^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$", uri_scan::IsDottedAddress, withNul, 9},
      {"^\\.+$", uri_scan::IsDots, withNul, 6},
      {"^[^\\.]+(\\.[^\\.]+)*$", uri_scan::IsDotSeparated, withNul, 7},
  };
  for (const Case& c : cases) {
    Regexp rx(c.pattern);
    int matches = 0;
    for (const std::string& text : AllTexts(c.alphabet, c.maxLength)) {
      const bool expected = RegexpWhole(rx, text);
      matches += expected ? 1 : 0;
      ASSERT_EQ(c.scan(text), expected) << c.pattern << " on \"" << text << "\" (" << text.size() << " bytes)";
    }
    EXPECT_GT(matches, 0) << c.pattern;  // the alphabet reaches the shape
  }
}

TEST(UriScan, SegmentUpFindsTheFirstMatchOfItsPattern) {
  Regexp rx("(^|/)[^/\\.]+/\\.\\.(/|$)");
  int matches = 0;
  for (const std::string& text : AllTexts(std::string("a./\0", 4), 8)) {
    std::string buffer = text;
    buffer.push_back('\0');
    const int length = rx.Search(buffer.data(), static_cast<int>(text.size()), 0);
    std::size_t begin = 0;
    std::size_t end = 0;
    const bool found = uri_scan::FindSegmentUp(text, begin, end);
    ASSERT_EQ(found, length >= 0) << "\"" << text << "\"";
    if (!found) continue;
    ++matches;
    ASSERT_EQ(begin, static_cast<std::size_t>(rx.BeginningOfMatch(0))) << "\"" << text << "\"";
    ASSERT_EQ(end, static_cast<std::size_t>(rx.EndOfMatch(0))) << "\"" << text << "\"";
  }
  EXPECT_GT(matches, 100);
}

}  // namespace
