// The words a laid-out document draws, in reading order (top to bottom,
// left to right), against what an outside renderer (w3m -dump) makes of the
// same file: restricted to the words both show, nothing may be lost,
// doubled or put out of order. Both are laid out wide, so that no table
// cell wraps and the two agree on what a line holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "layout/atoms/document_layout.h"
#include "layout/support/fake_output.h"
#include "layout/support/layout_document.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

// Lower-case words of letters (Latin-1 ones too) and digits.
std::vector<std::string> wordsOf(const std::string& text) {
  std::vector<std::string> out;
  std::string word;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c >= 0xC0) {
      word += static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    } else if (!word.empty()) {
      out.push_back(word);
      word.clear();
    }
  }
  if (!word.empty()) out.push_back(word);
  return out;
}

// The words drawn, ordered by baseline and then by x.
std::vector<std::string> drawnWords(FakeOutput& out) {
  std::vector<std::tuple<long, long, std::string>> drawn;
  for (const std::string& call : out.Calls("text ")) {
    long x = 0, y = 0;
    std::sscanf(call.c_str(), "text %ld,%ld", &x, &y);
    size_t open = call.find('\''), close = call.rfind('\'');
    drawn.emplace_back(y, x, call.substr(open + 1, close - open - 1));
  }
  std::sort(drawn.begin(), drawn.end());
  std::vector<std::string> words;
  for (auto& d : drawn)
    for (std::string& w : wordsOf(std::get<2>(d))) words.push_back(w);
  return words;
}

std::vector<std::string> w3mWords(const std::string& path) {
  const std::string command = "w3m -dump -T text/html -cols 400 -O ISO-8859-1 '" + path + "' 2>/dev/null";
  std::string text;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) text.append(buffer, n);
    pclose(p);
  }
  return wordsOf(text);
}

std::vector<std::string> keepShared(const std::vector<std::string>& words, const std::vector<std::string>& other) {
  const std::set<std::string> shared(other.begin(), other.end());
  std::vector<std::string> out;
  for (const std::string& w : words)
    if (shared.count(w)) out.push_back(w);
  return out;
}

TEST(ReadingOrderTest, TheWordsOfEachDocumentComeInTheOrderAnOutsideRendererShows) {
  ZEMRA_SKIP_WITHOUT(testing_support::HaveTool("w3m"), "w3m");
  struct Case {
    const char* path;
    const char* record;
    size_t minimumShared;
  };
  const std::string root = ZEMRA_SOURCE_DIR;
  const Case cases[] = {
      {"/tests/data/text/harbour-guide.html", "MimeType=text/html\n", 80},
      {"/data/sample/documents/earth.html.body", "MimeType=text/html\n", 40},
      {"/data/sample/documents/welcome.html.body", "MimeType=text/html\n", 20},
      {"/data/sample/documents/jupiter.ktf.body", "", 25},
      {"/data/sample/documents/moon-en.ktf.body", "", 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string path = root + c.path;
    LayoutDocuments documents;
    auto doc = documents.Load(c.record, testing_support::FileText(path));
    ASSERT_TRUE(doc);
    DocumentLayout layout(doc->GetRoot());
    FakeOutput out;
    layout.Layout(&out, 4000);
    layout.Draw(&out, LayoutPoint{0, 0}, LayoutRect::Of(0, 4000, 0, layout.Bounds().Height()), nullptr);
    const std::vector<std::string> ours = drawnWords(out);
    const std::vector<std::string> theirs = w3mWords(path);
    ASSERT_FALSE(theirs.empty());
    const std::vector<std::string> a = keepShared(ours, theirs), b = keepShared(theirs, ours);
    EXPECT_GE(a.size(), c.minimumShared);
    // Where the two first part, for the failure message.
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    std::string near;
    for (size_t i = at < 3 ? 0 : at - 3; i < at + 4; ++i)
      near += (i < a.size() ? a[i] : "-") + "/" + (i < b.size() ? b[i] : "-") + " ";
    EXPECT_EQ(a, b) << "first difference at word " << at << ": ours/theirs " << near;
  }
}

}  // namespace
