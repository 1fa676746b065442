// The sample documents load through the shipped definitions: every element
// closed, nothing the tokenizer does not know, and the expected structure.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/logbook.h"
#include "text/html_tokenizer.h"
#include "text/memory_stream.h"
#include "text/support/document_fixture.h"
#include "text/token_items.h"

namespace {

int diagnostics(const std::string& text, int mode) {
  HtmlTokenizer tokenizer(mode);
  MemoryStream in(text);
  tokenizer.Reset(&in);
  int count = 0;
  while (std::unique_ptr<TokenItem> item = tokenizer.NextToken())
    if (item->Kind() == kDiagnosticItem) ++count;
  return count;
}

TEST(SampleDocuments, EveryOneLoadsWhole) {
  const char* names[] = {"welcome.html", "earth.html", "saturn.html", "mercury.ktf",
                         "venus.ktf",    "jupiter.ktf", "moon-en.ktf", "moon-ge.ktf"};
  DocumentFixture f;
  for (const char* name : names) {
    std::string record = DocumentFixture::ReadFile(DocumentFixture::SampleFile(std::string(name) + ".rec"));
    std::string body = DocumentFixture::ReadFile(DocumentFixture::SampleFile(std::string(name) + ".body"));
    ASSERT_FALSE(body.empty()) << name;
    bool html = std::string(name).find(".html") != std::string::npos;
    EXPECT_EQ(diagnostics(body, html ? HtmlTokenizer::kHtml : HtmlTokenizer::kKtf), 0) << name;
    std::unique_ptr<MarkupDocument> doc = f.Make(record, body);
    EXPECT_EQ(dynamic_cast<HtmlDocument*>(doc.get()) != nullptr, html) << name;
    EXPECT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete) << name;
    std::string tree = DocumentFixture::Tree(*doc);
    EXPECT_EQ(tree.rfind("page[", 0), 0u) << name;
    EXPECT_NE(tree.find("word"), std::string::npos) << name;
  }
  EXPECT_FALSE(TheLogbook().IsOpen());
}

TEST(SampleDocuments, EarthHasItsHeadingsParagraphsAndList) {
  DocumentFixture f;
  auto doc = f.Make(DocumentFixture::ReadFile(DocumentFixture::SampleFile("earth.html.rec")),
                    DocumentFixture::ReadFile(DocumentFixture::SampleFile("earth.html.body")));
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  const std::string tree = DocumentFixture::Tree(*doc);
  EXPECT_EQ(tree.rfind("page[para[word\"The \" word\"Earth\"] para[word\"The \" word\"third \"", 0), 0u) << tree;
  EXPECT_NE(tree.find("li[label:list[word\"\xB7 \"] word\"Diameter: \" word\"12 742 \" word\"km \"]"),
            std::string::npos)
      << tree;
  // The named place of the second heading.
  ASSERT_EQ(doc->Viewer().GetAnchorDefinitions().NamedAnchors().count(), 1);
}

}  // namespace
