// The tokenizer against libxml2's HTML parser, on what both define alike:
// the order of the elements written in a document and the words of its
// text (entities decoded). Documents are the sample HTML and generated
// pages that write every element out (no implied elements), with no
// "&nbsp;" (a blank here, a no-break space there) and titles left out (here
// their text rides on the start tag).
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/html_tokenizer.h"
#include "text/support/html_pages.h"

namespace {

struct Outline {
  std::vector<std::string> elements;
  std::vector<std::string> words;
};

void SplitWords(const std::string& text, std::vector<std::string>& words) {
  std::istringstream in(text);
  std::string w;
  while (in >> w) words.push_back(w);
}

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Outline Ours(const std::string& doc) {
  Outline o;
  std::istringstream in(doc);
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  std::string text;
  while (auto item = t.NextToken()) {
    if (item->Kind() == kTextItem) {
      text += static_cast<TextToken&>(*item).text.str();
    } else if (item->Kind() == kEventItem) {
      const std::string name = static_cast<TokenEvent&>(*item).name.str();
      text += ' ';
      if (name != "Word" && name != "~Word" && name != "WordSpace" && name != "BR" && name != "TAB" &&
          name[0] != '~')
        o.elements.push_back(name);
    }
  }
  SplitWords(Latin1ToUtf8(text), o.words);
  return o;
}

void Walk(xmlNode* node, Outline& o, std::string& text) {
  for (xmlNode* n = node; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE) {
      std::string name = reinterpret_cast<const char*>(n->name);
      for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      o.elements.push_back(name);
      text += ' ';
      if (name != "TITLE") Walk(n->children, o, text);
      text += ' ';
    } else if (n->type == XML_TEXT_NODE && n->content) {
      text += reinterpret_cast<const char*>(n->content);
    }
  }
}

Outline Theirs(const std::string& doc) {
  Outline o;
  htmlDocPtr d = htmlReadMemory(doc.data(), static_cast<int>(doc.size()), nullptr, "ISO-8859-1",
                                HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  if (!d) return o;
  std::string text;
  Walk(xmlDocGetRootElement(d), o, text);
  xmlFreeDoc(d);
  SplitWords(text, o.words);
  return o;
}

void ExpectSame(const std::string& doc, const std::string& what) {
  const Outline ours = Ours(doc);
  const Outline theirs = Theirs(doc);
  ASSERT_FALSE(theirs.elements.empty()) << what;
  EXPECT_EQ(ours.elements, theirs.elements) << what;
  EXPECT_EQ(ours.words, theirs.words) << what;
}

TEST(TokenizerAgainstLibxml2, SampleDocuments) {
  for (const char* name : {"earth", "saturn", "welcome"}) {
    std::ifstream in(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/documents/" + name + ".html.body",
                     std::ios::binary);
    ASSERT_TRUE(in) << name;
    std::stringstream body;
    body << in.rdbuf();
    std::string doc = body.str();
    // Both read "&nbsp;" their own way; the rest must agree.
    for (size_t at; (at = doc.find("&nbsp;")) != std::string::npos;) doc.replace(at, 6, " ");
    ExpectSame(doc, name);
  }
}

TEST(TokenizerAgainstLibxml2, GeneratedPages) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    html_pages::Generator g(seed);
    ExpectSame(g.Page(300), "seed " + std::to_string(seed));
  }
}

}  // namespace
