// Token dispatch: what each kind of item does to the viewer document.
#include "text/dispatch/token_dispatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "text/anchors/anchor_record.h"
#include "text/anchors/anchor_token.h"
#include "text/definition_set.h"
#include "text/html_tokenizer.h"
#include "text/link_maker.h"
#include "text/support/document_fixture.h"
#include "text/token_items.h"

namespace {

class DispatchTest : public ::testing::Test {
 protected:
  DispatchTest()
      : viewer(&anchors, &records, nullptr, ViewerDocument::Resources{&listener, nullptr, nullptr, &factory}, 0,
               true),
        dispatcher(&definitions),
        tokenizer(HtmlTokenizer::kHtml) {
    std::istringstream in(
        "ACTION word { FUNCT = 1 }\nACTION end { FUNCT = 13 }\nACTION suspend { FUNCT = 25 }\n"
        "ACTION resume { FUNCT = 26 }\nACTION nothing { FUNCT = 27 }\n"
        "EVENT Word|| { word }\nEVENT ~Word|| { end }\nEVENT SCRIPT|| { suspend }\n"
        "EVENT ~SCRIPT|| { resume }\nEVENT Odd|| { word, end, nothing }\nEVENT Last|| { nothing, word, end }\n");
    definitions.Read(in);
    viewer.BeginBuild(0, &MarkupDocument::BasisStyle(), &target);
  }
  bool run(TokenItem& item) { return dispatcher.Dispatch(item, viewer, tokenizer, links, &target, nullptr); }
  bool event(const char* name, LONG at = 0) {
    TokenEvent e(at, name);
    return run(e);
  }
  std::string tree() { return static_cast<RecordingAtom*>(viewer.GetRoot())->Tree(); }

  DocumentFixture f;  // settings and pictures
  RecordingFactory factory;
  RecordingListener listener;
  RecordingTarget target;
  List anchors;
  AnchorRecordList records;
  ViewerDocument viewer;
  DefinitionSet definitions;
  TokenDispatcher dispatcher;
  HtmlTokenizer tokenizer;
  LinkMaker links;
};

TEST_F(DispatchTest, TextEventsAndDiagnostics) {
  EXPECT_TRUE(event("Word", 1));
  TextToken text(1, "hi", 7);
  EXPECT_TRUE(run(text));
  EXPECT_TRUE(event("~Word", 3));
  TokenDiagnostic diagnostic(4, 1, 4, "Unknown Tag");
  EXPECT_TRUE(run(diagnostic));
  EXPECT_FALSE(event("NoDefinition"));
  EXPECT_EQ(tree(), "page[word\"hi\"]");
  EXPECT_NE(std::find(factory.log.begin(), factory.log.end(), "text word@1 'hi' kind 7"), factory.log.end());
  // An undefined kind makes the result false; the other actions still run
  // and the last applied one decides.
  EXPECT_FALSE(event("Odd", 5));
  EXPECT_TRUE(event("Last", 6));
  EXPECT_EQ(factory.made, 4);  // page, "hi", and the words of Odd and Last
}

TEST_F(DispatchTest, SuspendedDocumentsBuildNothingUntilResumed) {
  AnchorRecord record("Position=2 3\n");
  EXPECT_TRUE(event("SCRIPT"));
  EXPECT_TRUE(dispatcher.Suspended());
  EXPECT_TRUE(event("Word", 1));
  TextToken text(1, "x", 0);
  EXPECT_TRUE(run(text));
  AnchorToken begin(2, AnchorToken::kBegin, &record);
  EXPECT_TRUE(run(begin));
  EXPECT_TRUE(event("~SCRIPT"));
  EXPECT_FALSE(dispatcher.Suspended());
  EXPECT_EQ(tree(), "page");
  EXPECT_TRUE(anchors.isEmpty());
}

TEST_F(DispatchTest, AnchorItems) {
  AnchorRecord link("Dest=0x5\n");
  AnchorToken begin(2, AnchorToken::kBegin, &link);
  AnchorToken end(6, AnchorToken::kEnd, &link);
  EXPECT_TRUE(run(begin));
  EXPECT_TRUE(run(end));
  ASSERT_EQ(anchors.count(), 1);
  AnchorRecord other("Dest=0x6\n");
  AnchorToken strayEnd(7, AnchorToken::kEnd, &other);
  EXPECT_FALSE(run(strayEnd));

  AnchorRecord noDest("ObjectID=0x1\n");
  AnchorToken picture(8, AnchorToken::kInline, &noDest);
  EXPECT_TRUE(run(picture));
  EXPECT_EQ(listener.requests, (std::vector<std::string>{"|ObjectID=0x1\n|-"}));

  AnchorRecord background("Title=x ObjectID=9\nObjectID=0x1234\n");
  AnchorToken bg(0, AnchorToken::kBackground, &background);
  EXPECT_TRUE(run(bg));
  EXPECT_EQ(target.backgrounds, (std::vector<std::string>{"0x00001234"}));
  AnchorToken odd(0, 9, &link);
  EXPECT_FALSE(run(odd));
  anchors.clearAndDelete();
}

}  // namespace
