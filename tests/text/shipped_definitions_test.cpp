// The definition files the client ships (data/textdefs): they read without
// loss, name only actions and styles they define, and turn each construct
// of HTML 3.2 and KTF into the builder calls it needs.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "text/definition_set.h"
#include "text/html_tokenizer.h"
#include "text/link_maker.h"
#include "text/support/recording_viewer.h"
#include "text/tag_definition_table.h"
#include "text/value_table.h"

namespace {

std::string Path(const std::string& name) { return std::string(ZEMRA_SOURCE_DIR) + "/data/textdefs/" + name; }

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Links : public LinkMaker {
 public:
  CString MakeAnchorLink(const CString& text) override { return "link:" + text; }
  CString MakeUrlLink(const CString& text, const CString&) override { return "link:" + text; }
};

// A document read as a text document reads it: through the tag-definition
// table, each event's actions run on a recording viewer.
struct Reader {
  Reader(int mode, const char* sty, const char* pri) : mode(mode) {
    std::ifstream in(Path(sty), std::ios::binary);
    definitions.Read(in);
    priName = pri;
  }

  std::string Run(const std::string& doc) {
    std::ifstream pri(Path(priName), std::ios::binary);
    TagDefinitionTable table(pri, std::make_unique<HtmlTokenizer>(mode));
    std::istringstream in(doc);
    table.Reset(&in);
    viewer.calls.clear();
    diagnostics = 0;
    DWORD flags = 0;
    while (auto item = table.NextToken()) {
      if (item->Kind() == kDiagnosticItem) ++diagnostics;
      if (flags & kDispatchSuspended) {
        if (item->Kind() != kEventItem) continue;
      }
      if (item->Kind() == kTextItem) {
        auto& t = static_cast<TextToken&>(*item);
        viewer.AddText(t.start, t.owner, t.text.view());
      } else if (item->Kind() == kEventItem) {
        auto& e = static_cast<TokenEvent&>(*item);
        ValueTable values;
        std::vector<Action> actions;
        if (!definitions.ApplyEvent(e, values, actions)) continue;
        PropertyInputs inputs;
        inputs.position = e.start;
        inputs.definitions = &definitions;
        inputs.dispatcherFlags = &flags;
        inputs.source = &table;
        inputs.document = &links;
        ViewerFaces faces = viewer.Faces();
        RunActions(actions, inputs, faces);
      }
    }
    return viewer.Joined();
  }

  // Every style opened was closed as often.
  bool Balanced(std::string* which) const {
    std::map<std::string, int> open;
    for (const std::string& c : viewer.calls) {
      if (c.rfind("push(", 0) == 0) ++open[c.substr(5)];
      // Closing a style that is not open changes nothing.
      if (c.rfind("pop(", 0) == 0 && open[c.substr(4)] > 0) --open[c.substr(4)];
    }
    for (const auto& [name, n] : open)
      if (n != 0) {
        *which = name + " " + std::to_string(n);
        return false;
      }
    return true;
  }

  int mode;
  DefinitionSet definitions;
  const char* priName;
  Links links;
  RecordingViewer viewer;
  int diagnostics = 0;
};

class ShippedFiles : public ::testing::TestWithParam<std::pair<const char*, int>> {};

// Each EVENT names actions that exist (unknown names are dropped silently
// when read), and each style action names a style that exists.
TEST_P(ShippedFiles, NamesResolve) {
  const std::string file = GetParam().first;
  const std::string text = Slurp(Path(file));
  ASSERT_FALSE(text.empty()) << file;
  DefinitionSet set;
  std::istringstream in(text);
  set.Read(in);
  const std::string noComments = std::regex_replace(text, std::regex("#[^\n]*"), "");
  const std::regex event(R"(EVENT\s+(\S*)\|(\S*)\|(\S*)\s*\{([^}]*)\})");
  int events = 0;
  for (std::sregex_iterator it(noComments.begin(), noComments.end(), event), end; it != end; ++it, ++events) {
    const auto& m = *it;
    const EventDefinition* def = set.FindEvent(m[1].str(), m[2].str(), m[3].str());
    ASSERT_NE(def, nullptr) << m[0];
    std::stringstream names(m[4].str());
    std::string name;
    size_t count = 0;
    while (std::getline(names, name, ',')) {
      name = std::regex_replace(name, std::regex(R"(\s+)"), "");
      if (name.empty()) continue;
      ++count;
      EXPECT_NE(set.FindAction(name), nullptr) << file << ": " << name << " in " << m[0];
    }
    EXPECT_EQ(def->actions.size(), count) << m[0];
  }
  EXPECT_GT(events, 40);
  const std::regex styleAction(R"(FUNCT\s*=\s*1[56]\s*,\s*PARAM0\s*=\s*(\w+))");
  for (std::sregex_iterator it(noComments.begin(), noComments.end(), styleAction), end; it != end; ++it)
    EXPECT_NE(set.FindStyle((*it)[1].str()), nullptr) << file << ": " << (*it)[1];
}

INSTANTIATE_TEST_SUITE_P(Definitions, ShippedFiles,
                         ::testing::Values(std::make_pair("HTML.sty", 0), std::make_pair("KTF.sty", 1)));

// Every entry is read and keeps its insertion (none is refused).
TEST(ShippedElementDefinitions, ReadWhole) {
  struct F {
    const char* file;
    std::vector<const char*> inserting;
  };
  const F files[] = {{"HTML.pri", {"LI", "DT", "DD", "TR", "TD", "TH", "CAPTION"}}, {"KTF.pri", {"LI", "DT", "DD"}}};
  for (const F& f : files) {
    std::ifstream in(Path(f.file), std::ios::binary);
    long declared = 0;
    ASSERT_TRUE(in >> declared) << f.file;
    in.seekg(0);
    TagDefinitionTable table(in, std::make_unique<HtmlTokenizer>(HtmlTokenizer::kHtml));
    EXPECT_EQ(table.EntryCount(), declared) << f.file;
    for (const char* name : f.inserting) {
      ASSERT_NE(table.Find(name), nullptr) << f.file << " " << name;
      EXPECT_NE(table.Find(name)->insertEvent, nullptr) << f.file << " " << name;
    }
  }
}

TEST(ShippedHtml, Constructs) {
  Reader html(HtmlTokenizer::kHtml, "HTML.sty", "HTML.pri");
  struct C {
    const char* doc;
    std::vector<const char*> calls;  // in this order, among others
  };
  const C cases[] = {
      {"<H1>Orlavka</H1>", {"push(H1)", "paragraph@0", "word@4", "text@4(0,Orlavka)", "end@11", "end@11", "pop(H1)"}},
      {"<P ALIGN=center>a", {"push(Paragraph)", "paragraph@0", "push(Centered)", "restyle(0)", "word@16", "pop(Centered)", "pop(Paragraph)"}},
      {"<B>a</B> <I>b</I> <TT>c</TT>", {"push(Bold)", "pop(Bold)", "space@8", "push(Italic)", "pop(Italic)", "push(Fixed)"}},
      {"<PRE>a\tb\nc</PRE>", {"push(Preformatted)", "paragraph@0", "tab@6(PRE_TAB,0)", "linebreak@8", "pop(Preformatted)"}},
      {"<BLOCKQUOTE><P>q</BLOCKQUOTE>", {"push(BlockQuote)", "paragraph@12", "pop(Paragraph)", "pop(BlockQuote)"}},
      {"<UL><LI>a<LI>b</UL>", {"push(List)", "level(0,1,\xb7,0)", "listitem@4(0)", "holder@4(1507328,Counter)", "list@4", "format(0)", "end@4", "end@9", "listitem@9(0)", "poplevel(0)", "pop(List)"}},
      {"<OL SEQNUM=4><LI>a</OL>", {"level(0,3,,0)", "setvalue(0,0,1)", "setvalue(0,0,4)", "listitem@13(0)", "addvalue(0,1)", "poplevel(0)"}},
      {"<LI>stray", {"push(List)", "level(0,1,\xb7,0)", "listitem@0(0)", "pop(List)"}},
      {"<DL><DT>t<DD>d</DL>", {"push(DefinitionTerm)", "paragraph@4", "pop(DefinitionTerm)", "push(DefinitionData)", "paragraph@9", "pop(DefinitionData)"}},
      {"<TABLE BORDER=2 CELLPADDING=4><TR><TD COLSPAN=2 ROWSPAN=3>x<TD>y</TABLE>",
       {"table@0(2,2,4,0,0,0,1)", "row@30", "push(Cell)", "cell@34(3,2,0,0)", "end@59", "pop(Cell)", "cell@59(1,1,0,0)", "end@64", "end@64"}},
      {"<TABLE><TR><TH ALIGN=left VALIGN=top>h</TABLE>", {"push(HeaderCell)", "cell@11(1,1,0,0)", "push(LeftAligned)", "restyle(11)", "push(CellTop)", "restyle(11)", "pop(LeftAligned)", "pop(CellTop)", "pop(HeaderCell)"}},
      {"<TD>lone", {"table@0(0,2,1,0,0,0,1)", "row@0", "cell@0(1,1,0,0)"}},
      {"<HR SIZE=3>", {"rule@0(3)", "end@0"}},
      {"<IMG ALIGN=middle SRC=a.gif WIDTH=20>", {"push(PictureMiddle)", "picture@0(a.gif,link:a.gif,0,20,0)", "end@0", "pop(PictureMiddle)"}},
      {"<A HREF=\"b.html\">go</A>", {"definition(link:b.html)", "anchor@0(record)", "endlast@19"}},
      {"<A NAME=top>x</A>", {"named@0(TOP)", "endnamed@13(TOP)"}},
      {"<FORM ACTION=\"/ask\" METHOD=post><INPUT NAME=q SIZE=12><INPUT TYPE=checkbox NAME=c CHECKED>"
       "<INPUT TYPE=hidden NAME=h VALUE=1><INPUT TYPE=submit VALUE=Go><INPUT TYPE=reset>"
       "<INPUT TYPE=image SRC=go.gif NAME=i><INPUT TYPE=password NAME=p><INPUT TYPE=radio NAME=r VALUE=a>"
       "<TEXTAREA NAME=t ROWS=3 COLS=20>Dear Vasko</TEXTAREA>"
       "<SELECT NAME=s MULTIPLE><OPTION VALUE=a SELECTED>A<OPTION VALUE=b>B</SELECT></FORM>",
       {"form(link:/ask,1,0)", "form(link:/ask,0,0)", "field@32(0:q||12|-1|0|||0|0|||link:)", "end@32",
        "field@54(2:c|||-1|1|||0|0|||link:)", "end@54", "field@90(5:h|1||-1|0|||0|0|||link:)",
        "field@124(6:|Go||-1|0|||0|0|||link:)", "field@152(8:|||-1|0|||0|0|||link:)",
        "field@170(7:i|||-1|0|||0|0|go.gif|go.gif|link:go.gif)", "field@206(1:p|||-1|0|||0|0|||link:)",
        "field@234(3:r|a||-1|0|||0|0|||link:)", "field@267(0:t|Dear Vasko|20|3|||||0|||link:)",
        "field@320(9:s|||||||1|0|||link:)", "option(a,1,a,1,)", "option(b,0,b,0,)", "end@387"}},
      {"<FONT COLOR=red SIZE=5>big</FONT><FONT COLOR=\"#102030\">c</FONT>",
       {"push(mildawColor_ff0000_100)", "push(Size5)", "pop(mildawColor_ff0000_100)", "pop(Size5)", "push(mildawColor_102030_100)", "pop(mildawColor_102030_100)"}},
      {"<BODY BGCOLOR=\"#102030\" TEXT=white LINK=blue VLINK=purple BACKGROUND=\"sky.gif\">",
       {"background(sky.gif,link:sky.gif)", "colorpair(0,16,32,48)", "colorpair(1,255,255,255)", "colorpair(8,0,0,255)", "colorpair(4,128,0,128)"}},
      {"<HEAD><TITLE>Mirensk harbour</TITLE><BASE HREF=\"http://www.example.org/x/\"></HEAD>",
       {"name(TITLE,Mirensk harbour)", "name(EXTERNALREFERENCEBASE,http://www.example.org/x/)"}},
      {"<STYLE>p { color: red }</STYLE>x", {"word@31", "text@31(0,x)"}},
  };
  for (const C& c : cases) {
    const std::string calls = " " + html.Run(c.doc) + " ";
    size_t at = 0;
    for (const char* expected : c.calls) {
      const size_t found = calls.find(" " + std::string(expected) + " ", at);
      EXPECT_NE(found, std::string::npos) << c.doc << "\n  missing (in order): " << expected << "\n  calls: " << calls;
      if (found != std::string::npos) at = found + 1;
    }
    std::string which;
    EXPECT_TRUE(html.Balanced(&which)) << c.doc << ": " << which;
  }
}

TEST(ShippedKtf, Constructs) {
  Reader ktf(HtmlTokenizer::kKtf, "KTF.sty", "KTF.pri");
  struct C {
    const char* doc;
    std::vector<const char*> calls;
  };
  const C cases[] = {
      {"<TITLE>Jupiter</TITLE><H1>Jupiter</H1>", {"push(H1)", "paragraph@22", "word@26", "pop(H1)"}},
      {"<P>one<P>two", {"push(Paragraph)", "paragraph@0", "end@6", "pop(Paragraph)", "paragraph@6"}},
      {"<L CENTER><LI>a<LI>b</L>", {"push(List)", "push(Centered)", "listitem@10(0)", "listitem@15(0)", "pop(Centered)", "poplevel(0)", "pop(List)"}},
      {"<IT>i</IT> <KEY>k</KEY> <Q>q</Q> <FN>f</FN> <SUB>s</SUB> <SUP>t</SUP>",
       {"push(Italic)", "push(Keyword)", "push(Quote)", "push(Footnote)", "push(Sub)", "push(Sup)"}},
      {"<HP2>hang</HP2><LQ>long</LQ>", {"push(HP2)", "paragraph@0", "push(LongQuote)"}},
      {"<VERBATIM>a<b></VERBATIM><PLAIN>x\ty</PLAIN>", {"push(Preformatted)", "text@10(0,a<b>)", "tab@", "pop(Preformatted)"}},
      {"<AS ID=\"/0x00000124\">moon</AS><AE>", {"definition(link:Dest=0x00000124\nLinkType=KTFAnchor\n)", "anchor@0(record)", "endlast@"}},
      {"<INLINE ID=\"/0x00000130\">", {"picture@0(/0x00000130,link:Dest=0x00000130\nLinkType=KTFAnchor\n,0,0,0)", "end@0"}},
      {"<DL><DT>t<DD>d</DL>", {"push(DefinitionTerm)", "push(DefinitionData)"}},
      {"<HR>", {"rule@0(1)", "end@0"}},
      {"<FIELD HIDDEN>secret</FIELD>shown", {"word@28", "text@28(0,shown)"}},
  };
  for (const C& c : cases) {
    const std::string calls = " " + ktf.Run(c.doc) + " ";
    size_t at = 0;
    for (const char* expected : c.calls) {
      const std::string e = expected;
      const bool prefix = e.back() == '@';
      const size_t found = calls.find(" " + e + (prefix ? "" : " "), at);
      EXPECT_NE(found, std::string::npos) << c.doc << "\n  missing (in order): " << expected << "\n  calls: " << calls;
      if (found != std::string::npos) at = found + 1;
    }
    std::string which;
    EXPECT_TRUE(ktf.Balanced(&which)) << c.doc << ": " << which;
  }
  EXPECT_EQ(ktf.Run("<TITLE>t</TITLE>x").find("text@7(0,t)"), std::string::npos);
}

// The sample documents read without diagnostics and leave no style open.
TEST(ShippedDefinitions, SampleDocuments) {
  Reader html(HtmlTokenizer::kHtml, "HTML.sty", "HTML.pri");
  Reader ktf(HtmlTokenizer::kKtf, "KTF.sty", "KTF.pri");
  for (const char* name : {"earth.html", "saturn.html", "welcome.html", "jupiter.ktf", "mercury.ktf", "moon-en.ktf",
                           "moon-ge.ktf", "venus.ktf"}) {
    const std::string doc = Slurp(std::string(ZEMRA_SOURCE_DIR) + "/data/sample/documents/" + name + ".body");
    ASSERT_FALSE(doc.empty()) << name;
    Reader& r = std::string(name).find(".ktf") != std::string::npos ? ktf : html;
    const std::string calls = r.Run(doc);
    EXPECT_EQ(r.diagnostics, 0) << name;
    EXPECT_NE(calls.find("word@"), std::string::npos) << name;
    std::string which;
    EXPECT_TRUE(r.Balanced(&which)) << name << ": " << which;
  }
}

}  // namespace
