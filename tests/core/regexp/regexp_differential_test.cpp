// Regexp against Python's `re` on random patterns and texts over the syntax
// both read alike: the match, group 0 and every group's offsets must agree.
// Python runs once for the whole set (tools/regex_oracle.py).
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/regexp.h"
#include "random_patterns.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

using regexp_testing::PatternGenerator;

constexpr std::uint32_t kSeed = 20261210;
constexpr int kPatterns = 1500;
constexpr int kTextsPerPattern = 3;

struct Case {
  std::string pattern;  // ours
  std::string python;
  std::string buffer;   // prefix, stretch, and at least one byte after it
  int start;
  int end;
};

// A JSON string whose characters are the bytes of `s` (read back as latin-1).
std::string JsonBytes(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    }
  }
  return out + "\"";
}

// Printable form for failure messages.
std::string Shown(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      out += escape;
    }
  }
  return out;
}

std::vector<Case> MakeCases() {
  PatternGenerator gen(kSeed);
  std::vector<Case> cases;
  for (int i = 0; i < kPatterns; ++i) {
    regexp_testing::PatternPair p = gen.Pattern();
    for (int j = 0; j < kTextsPerPattern; ++j) {
      std::string prefix = gen.Text(3);
      std::string stretch = gen.Text(12);
      std::string after = gen.Text(2) + "b";  // text[end] exists and is not NUL
      cases.push_back({p.ours, p.python, prefix + stretch + after, static_cast<int>(prefix.size()),
                       static_cast<int>(prefix.size() + stretch.size())});
    }
  }
  return cases;
}

// Runs the oracle over all cases; one answer line per case.
std::vector<std::string> AskPython(const std::vector<Case>& cases) {
  testing_support::TempDir dir;
  std::string input;
  for (const Case& c : cases)
    input += "{\"p\":" + JsonBytes(c.python) + ",\"t\":" +
             JsonBytes(c.buffer.substr(c.start, c.end - c.start)) + "}\n";
  std::string inputPath = dir.write("cases.jsonl", input);
  std::string command = std::string("python3 '") + ZEMRA_SOURCE_DIR + "/tools/regex_oracle.py' < '" +
                        inputPath + "'";
  std::vector<std::string> answers;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return answers;
  std::string line;
  char chunk[4096];
  while (std::fgets(chunk, sizeof chunk, pipe)) {
    line += chunk;
    if (!line.empty() && line.back() == '\n') {
      line.pop_back();
      answers.push_back(line);
      line.clear();
    }
  }
  pclose(pipe);
  return answers;
}

// Our answer in the oracle's words, offsets relative to the stretch.
std::string AskRegexp(const Case& c, int groups) {
  Regexp rx(c.pattern.c_str());
  std::string buffer = c.buffer;
  int length = rx.Search(buffer.data(), c.end, c.start);
  if (rx.error()) return std::string("error ") + rx.error();
  if (length < 0) return "nomatch";
  std::ostringstream out;
  out << "match";
  for (int n = 0; n < 10; ++n) {
    int b = rx.BeginningOfMatch(n), e = rx.EndOfMatch(n);
    if (n > groups) {
      if (b != -1 || e != -1) return "match with an extra group " + std::to_string(n);
      continue;
    }
    out << ' ' << (b < 0 ? -1 : b - c.start) << ' ' << (e < 0 ? -1 : e - c.start);
  }
  if (length != rx.EndOfMatch(0) - rx.BeginningOfMatch(0)) return "length differs from group 0";
  return out.str();
}

// Groups in the pattern, from the oracle's answer ("match" and two numbers
// per group, group 0 included); 9 when it gave none.
int GroupCount(const std::string& answer) {
  if (answer.rfind("match ", 0) != 0) return 9;
  std::istringstream in(answer.substr(6));
  int numbers = 0;
  for (int n; in >> n;) ++numbers;
  return numbers / 2 - 1;
}

TEST(RegexpDifferentialTest, AgreesWithPythonRe) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("python3"),
                     "python3 is not installed: the differential test against Python's re needs it");

  std::vector<Case> cases = MakeCases();
  std::vector<std::string> answers = AskPython(cases);
  ASSERT_EQ(answers.size(), cases.size()) << "the oracle did not answer every case";

  int failures = 0;
  int matches = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    std::string ours = AskRegexp(c, GroupCount(answers[i]));
    if (answers[i].rfind("match", 0) == 0) ++matches;
    if (ours == answers[i]) continue;
    ADD_FAILURE() << "pattern \"" << Shown(c.pattern) << "\" text \""
                  << Shown(c.buffer.substr(c.start, c.end - c.start)) << "\"\n  ours:   " << ours
                  << "\n  python: " << answers[i];
    if (++failures >= 20) break;
  }
  // The generator must give both outcomes plenty of times to mean anything.
  EXPECT_GT(matches, static_cast<int>(cases.size()) / 4);
  EXPECT_LT(matches, static_cast<int>(cases.size()) * 9 / 10);
}

}  // namespace
