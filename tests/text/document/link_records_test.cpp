// Link records made from anchor values and URLs, and the encoding of form
// submissions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/attr_record.h"
#include "text/document/insertions.h"
#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_token.h"
#include "text/support/document_fixture.h"

namespace {

LONG idOf(const CString& record) { return std::atol(AttrRecord(record).getAttribute("ObjectID=")); }

class LinkRecords : public ::testing::Test {
 protected:
  std::unique_ptr<MarkupDocument> doc(const std::string& record) { return f.Make(record, ""); }
  DocumentFixture f;
};

TEST_F(LinkRecords, UrlLinksCountDownTheirIds) {
  auto d = doc("MimeType=text/html\nTitle=en:Home\n");
  CString first = d->MakeAnchorLink("http://www.example.org/a/b.html");
  CString second = d->MakeAnchorLink("gopher://gopher.example.org/1/x");
  LONG id = idOf(first);
  EXPECT_LT(id, 0);
  EXPECT_EQ(idOf(second), id - 1);
  char ref[32];
  std::snprintf(ref, sizeof ref, "RefID=0x%lx\n", static_cast<unsigned long>(static_cast<DWORD>(id) + 0x0ffffffeu));
  EXPECT_NE(first.Find(ref), -1);
  std::string rest = first.Mid(first.Find("Type=")).c_str();
  EXPECT_EQ(rest,
            "Type=Document\nDocumentType=Remote\nRemoteType=Remote\nProtocol=http\nHost=www.example.org\n"
            "Port=80\nPath=/a/b.html\nLinkType=inline\nDest=http://www.example.org/a/b.html\n"
            "Hint=URL:http://www.example.org/a/b.html\n");
  EXPECT_EQ(second.Find("Host="), -1);  // only http links name their host
}

TEST_F(LinkRecords, KtfAnchorsBecomeInlineLinks) {
  auto d = doc("");
  EXPECT_EQ(d->MakeAnchorLink(""), "");
  EXPECT_EQ(d->MakeAnchorLink("Dest=0x123\nLinkType=KTFAnchor\nHint=x\n"), "Dest=0x123\nLinkType=inline\nHint=x\n");
  EXPECT_EQ(d->MakeUrlLink("Dest=0x123\nLinkType=KTFAnchor\n", "KTFAnchor"), "Dest=0x123\nLinkType=KTFAnchor\n");
}

TEST_F(LinkRecords, UrlLinkRecordsAndTheirReferrer) {
  struct Case {
    const char* record;
    const char* url;
    const char* type;
    std::vector<const char*> lines;
  };
  const std::vector<Case> cases = {
      {"Title=ge:Start\nTitle=en:Home\n", "URL:http://h.example.org:8080/p?q=1#frag", "",
       {"Port=8080\n", "Path=/p?q=1\n", "Fragment=frag\n", "Search=q=1\n", "Title=en:http://h.example.org:8080/p?q=1#frag\n",
        "Referrer=Home\n"}},
      {"Title=ge:Start\n", "ftp://ftp.example.org/pub", "Ref",
       {"Protocol=ftp\n", "Hint=URL:ftp://ftp.example.org/pub\n", "Referrer=Start\n", "LinkType=Ref\n"}},
      {"DocumentType=Remote\nProtocol=http\nHost=w.example.org\nPort=81\nPath=/x.html\nTitle=en:T\n",
       "url:http://v.example.org/", "",
       {"Referrer=http://w.example.org:81/x.html\n", "Hint=URL:http://v.example.org/\n"}},
  };
  for (const Case& c : cases) {
    auto d = doc(c.record);
    CString link = d->MakeUrlLink(c.url, c.type);
    for (const char* line : c.lines) EXPECT_NE(link.Find(line), -1) << c.url << " lacks " << line << "\n" << link.c_str();
    if (!*c.type) {
      EXPECT_EQ(link.Find("LinkType="), -1);
    }
  }
}

TEST(FormEncoding, ValuesAndLineEnds) {
  struct Case {
    const char* text;
    const char* encoded;
  };
  const Case cases[] = {
      {"x y", "x+y"},           {"1\n2", "1%0D%0A2"},     {"1\r\n2", "1%0D%0A2"}, {"1\r2", "1%0D%0A2"},
      {"1\r\r\n2", "1%0D%0A%0D%0A2"}, {"a_b-c.d", "a_b-c.d"}, {"\xE9&=", "%e9%26%3d"}, {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeFormValue(c.text), c.encoded) << c.text;
}

TEST_F(LinkRecords, SubmissionsGoToTheView) {
  auto d = doc("");
  Ref<Form> get(new Form("http://h.example.org/cgi", 1, 0, d.get()));
  get->AddPair("a", "x y");
  get->AddPair("b", "1\n2");
  CString action;
  CString query;
  d->EncodeFormSubmission(*get, action, query);
  EXPECT_EQ(query, "a=x+y&b=1%0D%0A2");
  EXPECT_EQ(action, "http://h.example.org/cgi\nMethod=WWW_GET");
  get->Submit();
  Ref<Form> post(new Form("act", 0, 0, d.get()));
  post->SubmitAt("pic.x=3&pic.y=4");
  EXPECT_EQ(f.view.requests, (std::vector<std::string>{"http://h.example.org/cgi\nMethod=WWW_GET|a=x+y&b=1%0D%0A2",
                                                       "act\nMethod=WWW_POST|pic.x=3&pic.y=4"}));
}

TEST(Insertions, OneRecordGivesItsItems) {
  AnchorRecord reference("Position=0x10 0x20\n");
  MadeInsertion begin = MakeInsertion(&reference, true);
  ASSERT_TRUE(begin.more);
  EXPECT_EQ(begin.insertion->position, 16);
  MadeInsertion end = MakeInsertion(&reference, false);
  EXPECT_FALSE(end.more);
  EXPECT_EQ(end.insertion->position, 32);
  EXPECT_EQ(static_cast<const AnchorToken*>(end.insertion->WrappedItem())->subKind, AnchorToken::kEnd);

  AnchorRecord none("LinkType=inline\n");  // no position: at 0
  EXPECT_EQ(MakeInsertion(&none, true).insertion->position, 0);
  AnchorRecord tag("LinkType=InTag\nPosition=5 5\nHint=h\nTagAttr=SRC\nX=1\nTagAttr=ALT\n");
  MadeInsertion made = MakeInsertion(&tag, true);
  auto* t = static_cast<TagInsertion*>(made.insertion.get());
  ASSERT_EQ(t->pairs.count(), 2);
  EXPECT_EQ(static_cast<AttributePair*>(t->pairs.first())->name, "SRC");
  EXPECT_EQ(static_cast<AttributePair*>(t->pairs.last())->name, "ALT");
  EXPECT_EQ(static_cast<AttributePair*>(t->pairs.last())->value, "h");
}

TEST(Insertions, OrderAtOnePosition) {
  AnchorRecordList records;
  records.Set("LinkType=x\nPosition=7 7\n\nLinkType=inline\nPosition=7 9\n\nPosition=2 7\n\n"
              "LinkType=intag\nPosition=7 7\n\n",
              "r");
  List insertions;
  RebuildInsertions(insertions, records);
  std::vector<std::string> order;
  for (ListElement* e = insertions.first(); e; e = e->next()) {
    auto* i = static_cast<Insertion*>(e);
    const auto* item = static_cast<const AnchorToken*>(i->WrappedItem());
    order.push_back(std::to_string(i->position) + (item ? "ABIG"[item->subKind] : 'T'));
  }
  // Anchor begins, then inline pictures, then ends; a tag insertion goes
  // before all that were there when it came.
  EXPECT_EQ(order, (std::vector<std::string>{"2A", "7T", "7A", "7I", "7B", "7B"}));
  insertions.clearAndDelete();
}

}  // namespace
