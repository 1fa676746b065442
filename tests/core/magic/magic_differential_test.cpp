// The matcher against libmagic (`file -m`, through tools/libmagic_oracle.sh)
// on random rules and buffers, over what both read alike: byte, short, long
// and string rules with = < > (and & with one bit set, where "all bits of
// the value" and "any bit of the value" agree), decimal offsets inside the
// buffer, escapes both decode the same way, and messages with at most one
// numeric conversion. libmagic orders top-level rules by its own strength
// and reports every match (-k), so each group is compared on its own, and
// the first group in file order that libmagic names must be ours.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "magic_fixture.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

using magic_testing::MagicTest;

constexpr std::uint32_t kSeed = 20240611;
constexpr int kMagicFiles = 150;
constexpr int kBuffersPerFile = 8;

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    // xorshift32: the same sequence on every platform and library.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<size_t>(Below(static_cast<int>(v.size())))];
  }

 private:
  std::uint32_t state_;
};

struct Group {
  std::vector<std::string> lines;  // the top-level rule and its continuations
};

struct MagicCase {
  std::vector<Group> groups;
  std::vector<std::string> buffers;
  std::string Text() const {
    std::string text;
    for (const Group& g : groups)
      for (const std::string& line : g.lines) text += line + "\n";
    return text;
  }
};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : rng_(seed) {}

  MagicCase Case() {
    MagicCase c;
    for (int i = 0; i < kBuffersPerFile; ++i) c.buffers.push_back(Buffer());
    const int groups = 1 + rng_.Below(5);
    for (int g = 0; g < groups; ++g) {
      Group group;
      group.lines.push_back(Rule(c.buffers, false, "g" + std::to_string(g)));
      const int more = rng_.Below(3);
      for (int k = 0; k < more; ++k)
        group.lines.push_back(Rule(c.buffers, true, "c" + std::to_string(g) + std::to_string(k)));
      c.groups.push_back(group);
    }
    return c;
  }

 private:
  // Bytes drawn mostly from a few values, so that rules taken from one
  // buffer often meet the same values in another.
  char Byte() {
    static const std::vector<int> kCommon = {0,    1,    2,    'A',  'B',  'a',
                                             0x7f, 0x80, 0xfe, 0xff, '\n', ' '};
    return static_cast<char>(rng_.Chance(60) ? rng_.Pick(kCommon) : rng_.Below(256));
  }

  std::string Buffer() {
    std::string b;
    const int n = 2 + rng_.Below(23);
    for (int i = 0; i < n; ++i) b += Byte();
    return b;
  }

  std::string Blank() {
    std::string s;
    for (int n = 1 + rng_.Below(3); n > 0; --n) s += rng_.Chance(50) ? ' ' : '\t';
    return s;
  }

  // The value at `offset` of one of the buffers as a little-endian number of
  // `width` bytes; false when it does not fit.
  bool Taken(const std::vector<std::string>& buffers, int offset, int width, std::int64_t& v) {
    const std::string& b = rng_.Pick(buffers);
    if (offset + width > static_cast<int>(b.size())) return false;
    std::uint32_t u = 0;
    for (int i = 0; i < width; ++i)
      u |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[offset + i])) << (8 * i);
    v = u;
    return true;
  }

  std::string Number(std::int64_t v) {
    char text[40];
    switch (rng_.Below(4)) {
      case 0:
        if (v >= 0) {
          std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(v));
          return text;
        }
        break;
      case 1:
        if (v > 0) {
          std::snprintf(text, sizeof text, "0%llo", static_cast<unsigned long long>(v));
          return text;
        }
        break;
      default: break;
    }
    return std::to_string(v);
  }

  // A conversion both printf-checkers accept for a number.
  std::string Conversion() {
    static const std::vector<char> kConv = {'d', 'i', 'u', 'x', 'X', 'o'};
    const char conv = rng_.Pick(kConv);
    std::string spec = "%";
    const int flag = rng_.Below(4);
    if (flag == 1) spec += '-';
    if (flag == 2) spec += '0';
    if (flag == 3 && (conv == 'x' || conv == 'X' || conv == 'o')) spec += '#';
    if (rng_.Chance(40)) spec += std::to_string(1 + rng_.Below(12));
    if (rng_.Chance(20)) spec += "." + std::to_string(rng_.Below(6));
    return spec + conv;
  }

  // One byte of a string value written so that both readers decode it
  // alike; `last` tells whether a byte follows (a \x escape must not be
  // followed by a hex digit, which would be a third digit to us).
  std::string Escaped(unsigned char c, bool nextIsPlain) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (alnum && c != 'x' && rng_.Chance(80)) return std::string(1, static_cast<char>(c));
    switch (c) {
      case '\n': return "\\n";
      case '\t': return "\\t";
      case '\r': return "\\r";
      case '\f': return "\\f";
      case '\v': return "\\v";
      case '\b': return "\\b";
      case ' ': return "\\ ";
      case '\\': return "\\\\";
      default: break;
    }
    char text[8];
    if (!nextIsPlain && rng_.Chance(50))
      std::snprintf(text, sizeof text, "\\x%02x", c);
    else
      std::snprintf(text, sizeof text, "\\%03o", c);
    return text;
  }

  std::string StringValue(const std::vector<std::string>& buffers, int offset) {
    const int length = 1 + rng_.Below(4);
    const std::string& b = rng_.Pick(buffers);
    std::string bytes;
    if (rng_.Chance(60) && offset + length <= static_cast<int>(b.size()))
      bytes = b.substr(static_cast<size_t>(offset), static_cast<size_t>(length));
    else
      for (int i = 0; i < length; ++i) bytes += Byte();
    if (rng_.Chance(30))
      bytes.back() = static_cast<char>(bytes.back() + (rng_.Chance(50) ? 1 : -1));
    // Each byte's text, then whether the next one starts plainly.
    std::vector<std::string> parts(bytes.size());
    for (size_t i = bytes.size(); i-- > 0;) {
      const bool nextIsPlain = i + 1 < bytes.size() && parts[i + 1][0] != '\\';
      parts[i] = Escaped(static_cast<unsigned char>(bytes[i]), nextIsPlain);
    }
    std::string value;
    for (const std::string& p : parts) value += p;
    return value;
  }

  std::string Rule(const std::vector<std::string>& buffers, bool continuation,
                   const std::string& tag) {
    static const std::vector<std::string> kTypes = {"byte", "short", "long", "string"};
    const std::string type = rng_.Pick(kTypes);
    const int width = type == "byte" ? 1 : type == "short" ? 2 : type == "long" ? 4 : 0;
    // Mostly inside the buffers; now and then beyond the shorter ones.
    const int offset = rng_.Chance(85) ? rng_.Below(10) : rng_.Below(28);

    std::string relation, value;
    if (type == "string") {
      relation = rng_.Chance(50) ? "=" : rng_.Chance(50) ? "<" : ">";
      value = StringValue(buffers, offset);
    } else {
      const int pick = rng_.Below(20);
      relation = pick < 8 ? "=" : pick < 13 ? "<" : pick < 18 ? ">" : "&";
      std::int64_t v = 0;
      if (relation == "&") {
        v = std::int64_t{1} << rng_.Below(8 * width);
      } else if (!rng_.Chance(60) || !Taken(buffers, offset, width, v)) {
        v = rng_.Next() >> (32 - 8 * width);
      }
      if ((relation == "<" || relation == ">") && rng_.Chance(30)) v += rng_.Chance(50) ? 1 : -1;
      // Either as unsigned or as the signed value of the same bits.
      const std::int64_t half = std::int64_t{1} << (8 * width - 1);
      if (v >= half && rng_.Chance(50)) v -= 2 * half;
      if (v < -half) v = -half;
      if (v > 2 * half - 1) v = 2 * half - 1;  // libmagic refuses values beyond the type
      value = Number(v);
    }
    if (relation == "=" && rng_.Chance(50)) relation.clear();

    std::string message = tag;
    if (rng_.Chance(30)) message += " word" + std::to_string(rng_.Below(10));
    if (type != "string" && rng_.Chance(50)) message += " " + Conversion();

    return (continuation ? ">" : "") + std::to_string(offset) + Blank() + type + Blank() +
           relation + value + Blank() + message;
  }

  Random rng_;
};

// libmagic's answer per buffer file: the text of each group it names,
// keyed by the group number.
using Answer = std::map<int, std::string>;

std::vector<Answer> AskLibmagic(const std::string& magic, const std::vector<std::string>& files) {
  std::string command =
      std::string("'") + ZEMRA_SOURCE_DIR + "/tools/libmagic_oracle.sh' '" + magic + "'";
  for (const std::string& f : files) command += " '" + f + "'";
  command += " 2>/dev/null";
  std::vector<Answer> answers;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return answers;
  std::string output;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  pclose(pipe);

  size_t pos = 0;
  while (pos < output.size()) {
    size_t end = output.find('\n', pos);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(pos, end - pos);
    pos = end + 1;
    std::string text;
    if (line.rfind("- ", 0) == 0 && !answers.empty()) {
      text = line.substr(2);
    } else {
      size_t bar = line.find("| ");
      if (bar == std::string::npos) continue;
      answers.emplace_back();
      text = line.substr(bar + 2);
    }
    if (text.size() > 1 && text[0] == 'g') answers.back()[std::atoi(text.c_str() + 1)] = text;
  }
  return answers;
}

std::string Ours(const std::string& rules, const std::string& buffer) {
  if (!LoadMagicText(rules.data(), rules.size())) return "<load failed>";
  char out[kMagicResultSize];
  if (!MatchLoadedMagic(buffer.data(), static_cast<int>(buffer.size()), out, sizeof out)) return "";
  return out;
}

std::string Shown(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    char text[8];
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(text, sizeof text, "\\x%02x", c);
      out += text;
    }
  }
  return out;
}

class MagicDifferential : public MagicTest {};

TEST_F(MagicDifferential, AgreesWithLibmagic) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("file"), "the file command is not installed");

  testing_support::TempDir dir;
  Generator gen(kSeed);
  int compared = 0, matched = 0, failures = 0;
  for (int f = 0; f < kMagicFiles && failures < 20; ++f) {
    const MagicCase c = gen.Case();
    const std::string magic = dir.write("magic" + std::to_string(f), c.Text());
    std::vector<std::string> files;
    for (size_t b = 0; b < c.buffers.size(); ++b)
      files.push_back(dir.write("buf" + std::to_string(f) + "_" + std::to_string(b), c.buffers[b]));
    const std::vector<Answer> answers = AskLibmagic(magic, files);
    ASSERT_EQ(answers.size(), files.size()) << "libmagic did not answer for\n" << c.Text();

    for (size_t b = 0; b < c.buffers.size(); ++b) {
      const Answer& theirs = answers[b];
      // Each group alone.
      for (size_t g = 0; g < c.groups.size(); ++g) {
        std::string rules;
        for (const std::string& line : c.groups[g].lines) rules += line + "\n";
        const std::string ours = Ours(rules, c.buffers[b]);
        const auto it = theirs.find(static_cast<int>(g));
        const std::string expected = it == theirs.end() ? "" : it->second;
        ++compared;
        if (!ours.empty()) ++matched;
        if (ours != expected && ++failures <= 20)
          ADD_FAILURE() << "rules:\n"
                        << rules << "buffer: " << Shown(c.buffers[b]) << "\n  ours:     \"" << ours
                        << "\"\n  libmagic: \"" << expected << "\"";
      }
      // The whole file, through MatchMagic: the first group in file order.
      char out[kMagicResultSize] = "";
      const bool found = MatchMagic(magic.c_str(), c.buffers[b].data(),
                                    static_cast<int>(c.buffers[b].size()), out, sizeof out);
      const std::string expected = theirs.empty() ? "" : theirs.begin()->second;
      if ((found ? std::string(out) : "") != expected && ++failures <= 20)
        ADD_FAILURE() << "rules:\n"
                      << c.Text() << "buffer: " << Shown(c.buffers[b]) << "\n  ours:     \"" << out
                      << "\"\n  libmagic: \"" << expected << "\"";
    }
  }
  EXPECT_TRUE(win::MessageBoxLog().empty()) << win::MessageBoxLog().front().text;
  // Both outcomes must come up often enough for the comparison to mean much.
  EXPECT_GT(matched, compared / 10);
  EXPECT_LT(matched, compared * 9 / 10);
}

}  // namespace
