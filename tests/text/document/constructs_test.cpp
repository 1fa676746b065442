// What each construct of the shipped HTML and KTF definitions builds: the
// atoms, their nesting and the styles their words get (b bold, i italic,
// u underline, f<n> draw style, s<n> scale, #rrggbb colour).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/anchors/anchor_range.h"
#include "text/anchors/anchor_record.h"
#include "text/form/form.h"
#include "text/support/document_fixture.h"

namespace {

struct Construct {
  const char* text;
  const char* tree;
};

void expectTrees(const char* record, const std::vector<Construct>& cases) {
  DocumentFixture f;
  for (const Construct& c : cases) {
    auto doc = f.Make(record, c.text);
    EXPECT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete) << c.text;
    EXPECT_EQ(DocumentFixture::Tree(*doc, true), c.tree) << c.text;
  }
}

TEST(HtmlConstructs, TextBlocksAndLists) {
  expectTrees("MimeType=text/html\n",
              {
                  {"<H1>Big</H1><H2>Less</H2><H6>small</H6>",
                   "page[para[word{bf1s130}\"Big\"] para[word{bf1s110}\"Less\"] para[word{bs85}\"small\"]]"},
                  {"<P>a <B>b</B> <I>i</I> <U>u</U> <TT>t</TT> <STRONG>s</STRONG> <EM>e</EM> <BIG>g</BIG> "
                   "<SUB>x</SUB></P>",
                   "page[para[word\"a \" word{b}\"b \" word{i}\"i \" word{u}\"u \" word{f4}\"t \" word{b}\"s \" "
                   "word{i}\"e \" word{s120}\"g \" word{s80}\"x\"]]"},
                  {"<PRE>a  b\n\tc</PRE>", "page[para[#120 #111 word{f4}\"a  \" word{f4}\"b\" word{f4}\"c\"]]"},
                  {"<UL><LI>one<LI>two</UL>",
                   "page[li[label:list[word\"\xB7 \"] word\"one\"] li[label:list[word\"\xB7 \"] word\"two\"]]"},
                  {"<OL><LI>one<LI>two<OL><LI>inner</OL></OL>",
                   "page[li[label:list[word\"1 \"] word\"one\"] li[label:list[word\"2 \"] word\"two\" "
                   "li[label:list[word\"1 \"] word\"inner\"]]]"},
                  {"<DL><DT>term<DD>data</DL>", "page[para[word{b}\"term\"] para[word\"data\"]]"},
                  {"<P>x<HR SIZE=4>y</P>", "page[para[word\"x\" rule word\"y\"]]"},
                  {"<P><FONT COLOR=red>red</FONT> <FONT COLOR=\"#0000FF\">blue</FONT> <FONT SIZE=+2>up</FONT></P>",
                   "page[para[word{#ff0000}\"red \" word{#0000ff}\"blue \" word{s150}\"up\"]]"},
                  {"<ADDRESS>addr</ADDRESS><P>a<BR>b</P>", "page[para[word{i}\"addr\"] para[#120 word\"a\" word\"b\"]]"},
              });
}

TEST(HtmlConstructs, TablesPicturesAndLinks) {
  DocumentFixture f;
  auto doc = f.Make("MimeType=text/html\n",
                    "<TABLE BORDER=1 CELLSPACING=3 CELLPADDING=4 WIDTH=50%><TR><TD COLSPAN=2>a</TD></TR>"
                    "<TR><TD ROWSPAN=3>b<TD>c</TABLE>");
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(DocumentFixture::Tree(*doc), "page[table[#210 #210 cell[word\"a\"] cell[word\"b\"] cell[word\"c\"]]]");
  auto* table = static_cast<RecordingAtom*>(static_cast<RecordingAtom*>(doc->GetRoot())->children()[0]);
  EXPECT_EQ(table->table.border, 1);
  EXPECT_EQ(table->table.spacing, 3);
  EXPECT_EQ(table->table.padding, 4);
  EXPECT_EQ(table->table.width, 50);
  EXPECT_EQ(table->table.widthPercent, 1);
  auto* first = static_cast<RecordingAtom*>(table->children()[0]);
  auto* second = static_cast<RecordingAtom*>(table->children()[1]);
  EXPECT_EQ(first->cell.colSpan, 2);
  EXPECT_EQ(second->cell.rowSpan, 3);

  auto pictures = f.Make("MimeType=text/html\n", "<P><IMG SRC=\"p.gif\" WIDTH=10 HEIGHT=20>after</P>");
  pictures->Load(&f.target, "", true);
  EXPECT_EQ(DocumentFixture::Tree(*pictures), "page[para[pic(p.gif) word\"after\"]]");
  auto* pic = static_cast<RecordingAtom*>(
      static_cast<RecordingAtom*>(static_cast<RecordingAtom*>(pictures->GetRoot())->children()[0])->children()[0]);
  EXPECT_EQ(pic->picA, 10);
  EXPECT_EQ(pic->picB, 20);

  auto links = f.Make("MimeType=text/html\n", "<P><A HREF=\"http://www.example.org/\">link</A> <A NAME=\"here\">place</A></P>");
  links->Load(&f.target, "", true);
  ASSERT_EQ(links->AnchorRanges().count(), 1);
  auto* range = static_cast<AnchorRange*>(links->AnchorRanges().first());
  EXPECT_NE(range->Record()->Text().Find("Host=www.example.org"), -1);
  EXPECT_EQ(links->Viewer().GetAnchorDefinitions().NamedAnchors().count(), 1);

  auto body = f.Make("MimeType=text/html\n", "<BODY BGCOLOR=\"#FFFFCC\" BACKGROUND=\"sky.gif\"><P>x</P></BODY>");
  body->Load(&f.target, "", true);
  EXPECT_EQ(body->Viewer().Colors().GetColor(0), ColorRecord::Rgb(255, 255, 204));
  ASSERT_NE(body->Viewer().Colors().GetPicture(), nullptr);
  EXPECT_EQ(static_cast<TestPicture*>(body->Viewer().Colors().GetPicture())->name, "sky.gif");
}

TEST(HtmlConstructs, FormsWithEveryFieldKind) {
  DocumentFixture f;
  auto doc = f.Make("MimeType=text/html\n",
                    "<FORM ACTION=\"/cgi\" METHOD=get><INPUT NAME=t VALUE=v SIZE=5><INPUT TYPE=password NAME=p>"
                    "<INPUT TYPE=checkbox NAME=c CHECKED><INPUT TYPE=radio NAME=r><INPUT TYPE=hidden NAME=h VALUE=1>"
                    "<INPUT TYPE=submit><INPUT TYPE=reset VALUE=Again><INPUT TYPE=image SRC=go.gif>"
                    "<SELECT NAME=s SIZE=1><OPTION VALUE=1>One<OPTION SELECTED>Two</SELECT>"
                    "<TEXTAREA NAME=ta ROWS=3 COLS=20>initial</TEXTAREA></FORM>");
  ASSERT_EQ(doc->Load(&f.target, "", true), MarkupDocument::kLoadComplete);
  EXPECT_EQ(DocumentFixture::Tree(*doc),
            "page[field(0) field(1) field(2) field(3) field(6) field(8) field(go.gif)(7) "
            "field(9)[#310 #310 word\"One\" word\"Two\"] field(0)]");
  auto& fields = static_cast<RecordingAtom*>(doc->GetRoot())->children();
  auto spec = [&](int i) { return static_cast<RecordingAtom*>(fields[i])->field(); };
  EXPECT_EQ(spec(0).name, "t");
  EXPECT_EQ(spec(0).value, "v");
  EXPECT_EQ(spec(0).size, 5);
  EXPECT_EQ(spec(0).rows, -1);
  EXPECT_EQ(spec(2).checked, 1);
  EXPECT_EQ(spec(4).label, "Submit");
  EXPECT_EQ(spec(5).label, "Again");
  EXPECT_EQ(spec(7).combo, 1);
  EXPECT_EQ(spec(8).rows, 3);
  EXPECT_EQ(spec(8).value, "initial");
  Form* form = spec(0).form;
  ASSERT_NE(form, nullptr);
  EXPECT_NE(form->GetAction().Find("Hint=URL:/cgi\n"), -1);  // the action is a link record
  EXPECT_NE(form->GetMethod(), 0);
  std::vector<FormPairText> pairs;
  form->CollectPairs(pairs);  // the hidden field is the form's own pair
  EXPECT_EQ(pairs, (std::vector<FormPairText>{{"h", "1"}}));
}

TEST(KtfConstructs, TextBlocksListsAndAnchors) {
  expectTrees("MimeType=text/ktf\n",
              {
                  {"<H1>Head</H1><P>text <IT>it</IT> <KEY>key</KEY> <Q>q</Q>",
                   "page[para[word{bf1s130}\"Head\"] para[word\"text \" word{i}\"it \" word{b}\"key \" word{i}\"q\"]]"},
                  {"<L><LI>one<LI>two</L>",
                   "page[li[label:list[word\"\xB7 \"] word\"one\"] li[label:list[word\"\xB7 \"] word\"two\"]]"},
                  {"<LQ>long quote</LQ><HR><PLAIN>a  b</PLAIN>",
                   "page[para[word{i}\"long \" word{i}\"quote\"] rule para[word{f4}\"a  \" word{f4}\"b\"]]"},
                  {"<P>x<SUB>1</SUB><SUP>2</SUP> <FN>note</FN>",
                   "page[para[word\"x\" word{s80}\"1\" word{s80}\"2 \" word{s83}\"note\"]]"},
                  {"<TITLE>hidden</TITLE><P>shown<INDEXC>idx</INDEXC>", "page[para[word\"shown\"]]"},
                  {"<DL><DT>t<DD>d</DL>", "page[para[word{b}\"t\"] para[word\"d\"]]"},
                  {"<P><AS ID=\"/0x123\">anchor</AE> and <INLINE ID=\"pic.gif\"> done",
                   "page[para[word\"anchor \" word\"and \" pic(pic.gif) word\" \" word\"done\"]]"},
              });
  DocumentFixture f;
  auto doc = f.Make("MimeType=text/ktf\n", "<P><AS ID=\"/0x123\">anchor</AE> done");
  doc->Load(&f.target, "", true);
  ASSERT_EQ(doc->AnchorRanges().count(), 1);
  auto* range = static_cast<AnchorRange*>(doc->AnchorRanges().first());
  EXPECT_NE(range->Record()->Text().Find("Dest=0x123"), -1);
  EXPECT_EQ(range->StyleNumber(), 0);
}

}  // namespace
