// Loading documents: the server's anchors woven into the token stream, the
// settings a document's record carries, and the differences of KTF.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_styles.h"
#include "text/support/document_fixture.h"
#include "text/token_source.h"

namespace {

const char kHtmlRecord[] = "ObjectID=0x00000200\nMimeType=text/html\nTitle=en:Test\n";
const char kKtfRecord[] = "ObjectID=0x00000201\nMimeType=text/ktf\nTitle=en:Test\n";

std::string anchor(LONG from, LONG to, const std::string& more = "") {
  char pos[64];
  std::snprintf(pos, sizeof pos, "Position=0x%08x 0x%08x\n", static_cast<unsigned>(from), static_cast<unsigned>(to));
  return "ObjectID=0x00000300\nType=Anchor\n" + std::string(pos) + more + "\n";
}

std::vector<std::pair<LONG, LONG>> ranges(const MarkupDocument& doc) {
  std::vector<std::pair<LONG, LONG>> out;
  for (ListElement* e = doc.AnchorRanges().first(); e; e = e->next()) {
    auto* r = static_cast<AnchorRange*>(e);
    out.emplace_back(r->Start().Number(), r->End().Number());
  }
  return out;
}

TEST(Loading, WithoutAStreamNothingIsBuilt) {
  DocumentFixture f;
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor(kHtmlRecord, f.resources(), 1);
  EXPECT_EQ(doc->Load(&f.target, "", true), 0);
  EXPECT_EQ(doc->GetRoot(), nullptr);
}

TEST(Loading, ServerAnchorsCoverTheirText) {
  DocumentFixture f;
  const std::string body = DocumentFixture::ReadFile(DocumentFixture::SampleFile("welcome.html.body"));
  std::string anchors;
  for (const char* id : {"0x00000170", "0x00000171", "0x00000175"})
    anchors += DocumentFixture::ReadFile(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/anchors/" + id + ".rec") + "\n";
  auto doc = f.Make(kHtmlRecord + std::string("GOid=0x1200\n"), body);
  doc->SetAnchors(anchors.c_str());
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  LONG mercury = static_cast<LONG>(body.find("Mercury"));
  EXPECT_EQ(ranges(*doc), (std::vector<std::pair<LONG, LONG>>{{0xa8, 0xb3}, {0xc7, 0xce}, {0x172, 0x17f}}));
  EXPECT_EQ(body.substr(0xa8, 0xb3 - 0xa8), "the planets");
  CString links = doc->GetLinksAt(Position(mercury));
  EXPECT_NE(links.Find("Dest=0x00000121\n"), -1);
  EXPECT_NE(links.Find("Referrer=0x1200\n"), -1);
  EXPECT_EQ(links.Right(4), "\n\n\n\n");
  // Each anchor's style was given to the tree.
  EXPECT_EQ(static_cast<RecordingAtom*>(doc->GetRoot())->appliedStyles.size(), 3u);
  // A second load weaves the anchors in again.
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(ranges(*doc).size(), 3u);
}

TEST(Loading, AnAnchorInsideATextSplitsIt) {
  DocumentFixture f;
  const std::string body = "<P>alphabet soup</P>";
  LONG bet = static_cast<LONG>(body.find("bet"));
  auto doc = f.Make(kHtmlRecord, body);
  doc->SetAnchors(anchor(bet, bet + 8).c_str());
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  std::vector<std::string> texts;
  for (const std::string& line : f.factory.log)
    if (line.rfind("text word", 0) == 0) texts.push_back(line);
  EXPECT_EQ(texts, (std::vector<std::string>{"text word@3 'alpha'", "text word@8 'bet'", "text word@11 ' '",
                                             "text word@12 'soup'"}));
  EXPECT_EQ(ranges(*doc), (std::vector<std::pair<LONG, LONG>>{{bet, bet + 8}}));
}

TEST(Loading, InTagInlineAndBackgroundAnchors) {
  DocumentFixture f;
  const std::string body = "<P>See <IMG ALIGN=top> here</P>";
  LONG img = static_cast<LONG>(body.find("<IMG"));
  LONG here = static_cast<LONG>(body.find("here"));
  std::string anchors = anchor(img, img, "LinkType=InTag\nTagAttr=SRC\nDest=moon.gif\n") +
                        anchor(here, here, "LinkType=inline\nDest=star.gif\n") +
                        "ObjectID=0x00001234\nLinkType=background\nPosition=0 0\n\n";
  auto doc = f.Make(kHtmlRecord, body);
  doc->SetAnchors(anchors.c_str());
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  ASSERT_EQ(f.listener.requests.size(), 2u);
  // The tag got the attribute, and the anchor's record as its link.
  EXPECT_EQ(f.listener.requests[0].substr(0, 9), "moon.gif|");
  EXPECT_NE(f.listener.requests[0].find("TagAttr=SRC"), std::string::npos);
  EXPECT_EQ(f.listener.requests[1].substr(0, 9), "star.gif|");
  EXPECT_EQ(f.target.backgrounds, (std::vector<std::string>{"0x00001234"}));
  EXPECT_EQ(DocumentFixture::Tree(*doc), "page[para[word\"See \" pic(moon.gif) word\" \" pic(star.gif) word\"here\"]]");
}

TEST(Loading, RecordSettings) {
  DocumentFixture f;
  const std::string body = "0123456789abcdef<P>shown</P>";
  auto doc = f.Make(std::string(kHtmlRecord) +
                        "BodyOffset=0x10\nBody=bgcolor=#FF0000\nBody=text=zz\nBody=alink=00FF00\n"
                        "Protocol=http\nHost=www.example.org\nPort=\nPath=/a/b.html\nFragment=top\n",
                    body);
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(doc->StreamStart(), 16);
  EXPECT_EQ(DocumentFixture::Tree(*doc), "page[para[word\"shown\"]]");
  ColorTable& colors = doc->Viewer().Colors();
  EXPECT_EQ(colors.GetColor(0), ColorRecord::Rgb(255, 0, 0));
  EXPECT_EQ(colors.GetColor(48), ColorRecord::Rgb(0, 255, 255));
  EXPECT_EQ(colors.GetColor(1), ColorRecord::Rgb(0, 0, 0));  // "zz" is no colour: the default stays
  // The base is kept where relative links are resolved against it.
  EXPECT_EQ(colors.GetName(NamedValueSource::kReferenceBase), "http://www.example.org/a/b.html#top");
}

TEST(Loading, RelativeLinksAreResolvedAgainstTheRecordsBase) {
  DocumentFixture f;
  const std::string body = "<P><A HREF=\"stars.html\">Stars</A></P>";
  auto doc = f.Make(std::string(kHtmlRecord) + "Base=http://www.example.org/astronomy/index.html\n", body);
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  ASSERT_EQ(ranges(*doc).size(), 1u);
  CString link = static_cast<AnchorRange*>(doc->AnchorRanges().first())->Record()->Text();
  EXPECT_NE(link.Find("Host=www.example.org\n"), -1) << link.c_str();
  EXPECT_NE(link.Find("Path=/astronomy/stars.html\n"), -1) << link.c_str();
}

TEST(Loading, KtfStartsAtTheFirstByteAndTurnsBreaksIntoParagraphs) {
  DocumentFixture f;
  const std::string body = "<P>one two\n\nthree\n\nfour";
  auto doc = f.Make(std::string(kKtfRecord) + "BodyOffset=0x10\n", body);
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(DocumentFixture::Tree(*doc),
            "page[para[word\"one \" word\"two \"] para[word\"three \"] para[word\"four\"]]");
}

TEST(Loading, AKtfBreakRightAfterAnAnchorOnlySeparatesWords) {
  DocumentFixture f;
  const std::string body = "<P>one two\n\nthree";
  LONG breakAt = static_cast<LONG>(body.find("\n\n")) + 1;
  auto doc = f.Make(kKtfRecord, body);
  doc->SetAnchors(anchor(3, breakAt).c_str());
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(DocumentFixture::Tree(*doc), "page[para[word\"one \" word\"two  \" word\"three\"]]");
}

TEST(Loading, AnchorStylesByLinkType) {
  DocumentFixture f;
  const std::string body = "<P>a b</P>";
  std::string anchors = anchor(3, 4, "LinkType=bookMark\n") + anchor(5, 6, "LinkType=Marker5\n") +
                        anchor(3, 6, "LinkType=nothing\n");
  auto html = f.Make(kHtmlRecord, body);
  html->SetAnchors(anchors.c_str());
  html->Load(&f.target, "", true);
  std::vector<LONG> styles;
  for (ListElement* e = html->AnchorRanges().first(); e; e = e->next())
    styles.push_back(static_cast<AnchorRange*>(e)->StyleNumber());
  EXPECT_EQ(styles, (std::vector<LONG>{2, 0, 29}));  // in the order the anchors begin
  auto ktf = f.Make(kKtfRecord, body);
  ktf->SetAnchors(anchors.c_str());
  ktf->Load(&f.target, "", true);
  for (ListElement* e = ktf->AnchorRanges().first(); e; e = e->next())
    EXPECT_EQ(static_cast<AnchorRange*>(e)->StyleNumber(), 0);
}

TEST(Loading, NewAnchorsReloadABuiltDocument) {
  DocumentFixture f;
  const std::string body = "<P>a b</P>";
  auto doc = f.Make(kHtmlRecord, body);
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_TRUE(doc->AnchorRanges().isEmpty());
  doc->UpdateAnchors(anchor(3, 4).c_str());
  EXPECT_EQ(ranges(*doc), (std::vector<std::pair<LONG, LONG>>{{3, 4}}));
}

TEST(Loading, ContinuedBuildsKeepTheOldTreeUntilTheDocumentGoes) {
  DocumentFixture f;
  {
    auto doc = f.Make(kHtmlRecord, "<P>a</P>");
    ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
    Atom* first = doc->GetRoot();
    ASSERT_EQ(doc->Load(&f.target, "", false), MarkupDocument::kLoadComplete);
    EXPECT_NE(doc->GetRoot(), first);
    std::unique_ptr<Atom> taken(doc->TakeRoot());  // the view takes the new tree
    EXPECT_EQ(doc->GetRoot(), nullptr);
  }
  EXPECT_EQ(f.factory.live, 0);
}

TEST(Loading, ANamedColourStyleOpensFirst) {
  DocumentFixture f;
  auto doc = f.Make(kHtmlRecord, "<P>red</P>");
  ASSERT_EQ(doc->LoadWithColor(255, 0, 0, 100, &f.target, true), MarkupDocument::kLoadComplete);
  auto* word = static_cast<RecordingAtom*>(
      static_cast<RecordingAtom*>(static_cast<RecordingAtom*>(doc->GetRoot())->children()[0])->children()[0]);
  ASSERT_TRUE(word->style());
  EXPECT_EQ(word->style()->Color(), ColorRecord::Rgb(255, 0, 0));
}

TEST(LoadingDepth, AHundredThousandUnclosedInlineElements) {
  DocumentFixture f;
  std::string body = "<P>";
  for (int i = 0; i < 100000; ++i) body += i % 2 ? "<B>" : "<I>";
  body += "deep</P>";
  auto doc = f.Make(kHtmlRecord, body);
  EXPECT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  const std::string tree = DocumentFixture::Tree(*doc, true);
  EXPECT_EQ(tree, "page[para[word{bi}\"deep\"]]");
  doc.reset();  // the style levels go without recursion
  EXPECT_EQ(f.factory.live, 0);
}

}  // namespace
