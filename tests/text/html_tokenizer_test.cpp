#include "text/html_tokenizer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "framework/progress_reporter.h"
#include "text/support/html_pages.h"
#include "text/support/token_dump.h"

namespace {

struct Case {
  const char* input;
  int mode;
  const char* items;
};

TEST(HtmlTokenizer, TokenStreams) {
  const Case cases[] = {
      // One WordSpace for a run of blanks; each word bracketed.
      {"ab  cd", HtmlTokenizer::kHtml, "Word \"ab\" ~Word WordSpace Word \"cd\" ~Word"},
      // Tags and their known attributes, in row order; case of values kept.
      {"<P align=Center id=x>t</P>", HtmlTokenizer::kHtml, "P{ALIGN=Center,ID=x} Word \"t\" ~Word ~P"},
      {"<a HREF='x y.html' junk=1>", HtmlTokenizer::kHtml, "A{HREF=x y.html}"},
      {"<img src=\"a.gif\" ismap>", HtmlTokenizer::kHtml, "IMG{ISMAP=,SRC=a.gif}"},
      // A '>' inside a quoted value ends the tag; the value is dropped.
      {"<img alt='a>b'>", HtmlTokenizer::kHtml, "IMG{ALT=} Word \"b'>\" ~Word"},
      {"<B!R>", HtmlTokenizer::kHtml, "BR"},
      {"<!DOCTYPE html>x", HtmlTokenizer::kHtml, "!Unknown Tag Word \"x\" ~Word"},
      {"a<!-- c -- d -->b", HtmlTokenizer::kHtml, "Word \"a\" ~Word Word \"b\" ~Word"},
      {"</B >x", HtmlTokenizer::kHtml, "Word \"x\" ~Word"},
      {"</B>x", HtmlTokenizer::kHtml, "~B Word \"x\" ~Word"},
      {"<FOO>", HtmlTokenizer::kHtml, "!Unknown Tag"},
      // Entities split a word into several text items.
      {"a&amp;b", HtmlTokenizer::kHtml, "Word \"a\" \"&\" \"b\" ~Word"},
      {"&#65;", HtmlTokenizer::kHtml, "Word \"A\" ~Word"},
      {"&nbsp;", HtmlTokenizer::kHtml, "Word \" \" ~Word"},
      {"&reg;x", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&reg;x\" ~Word"},
      {"&AUML;", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&AUML;\" ~Word"},
      // Numeric references that would give a NUL, or that are hexadecimal,
      // are unknown and stay as written.
      {"&#;", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&#;\" ~Word"},
      {"&#0;", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&#0;\" ~Word"},
      {"&#256;", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&#256;\" ~Word"},
      {"&#x41;", HtmlTokenizer::kHtml, "!Unknown Entity Word \"&#x41;\" ~Word"},
      // Literal content: TAB and line feed become events, blanks stay text.
      {"<PRE>a\tb\nc  d</PRE>", HtmlTokenizer::kHtml,
       "PRE Word \"a\" ~Word TAB{TO=PRE_TAB} Word \"b\" ~Word BR Word \"c  \" ~Word Word \"d\" ~Word ~PRE"},
      // Text-only elements carry their text (less its leading blanks).
      {"<TITLE> My  page </TITLE>x", HtmlTokenizer::kHtml, "TITLE{INFOTEXT=My  page } ~TITLE Word \"x\" ~Word"},
      // A text-only element cut off by the end: its text stays, its held
      // start tag is dropped (and freed).
      {"<TITLE>abc", HtmlTokenizer::kHtml, "Word \"abc\" ~Word"},
      // KTF: headings get their title event; two line feeds a paragraph.
      {"<H2>x", HtmlTokenizer::kKtf, "H2 H2T Word \"x\" ~Word"},
      {"a\n \r\n\nb", HtmlTokenizer::kKtf, "Word \"a\" ~Word WordSpace KTFParagraph Word \"b\" ~Word"},
      {"a\n\nb", HtmlTokenizer::kHtml, "Word \"a\" ~Word WordSpace Word \"b\" ~Word"},
      {"<A>", HtmlTokenizer::kKtf, "!Unknown Tag"},
      // Verbatim: only "</" is markup.
      {"<VERBATIM>a<b>&amp;</VERBATIM>", HtmlTokenizer::kKtf, "VERBATIM Word \"a<b>&amp;\" ~VERBATIM"},
      // Plain text: markup characters are text; line feeds are breaks.
      {"a<b>\nc", HtmlTokenizer::kPlain, "Word \"a<b>\" ~Word BR Word \"c\" ~Word"},
      // The end of the input turns a tag name into text.
      {"x <BR", HtmlTokenizer::kHtml, "Word \"x\" ~Word WordSpace Word \"BR\" ~Word"},
      // A carriage return inside a word is dropped; the word goes on.
      {"ab\rcd ef", HtmlTokenizer::kHtml, "Word \"abcd\" ~Word WordSpace Word \"ef\" ~Word"},
      {"ab\tcd", HtmlTokenizer::kHtml, "Word \"ab\" ~Word WordSpace Word \"cd\" ~Word"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokenize(c.input, c.mode), c.items) << c.input;
}

TEST(HtmlTokenizer, OffsetsAreStreamPositions) {
  EXPECT_EQ(Tokenize("ab <B>c</B>", HtmlTokenizer::kHtml, true),
            "Word@0 \"ab\"@0 ~Word@2 WordSpace@2 B@3 Word@6 \"c\"@6 ~Word@7 ~B@7");
  // The entity's character starts at its "&"; the rest after the ";".
  EXPECT_EQ(Tokenize("a&lt;b", HtmlTokenizer::kHtml, true), "Word@0 \"a\"@0 \"<\"@1 \"b\"@5 ~Word@6");
}

// A stream whose buffer holds one byte at a time: words are then read across
// a refill at every byte.
class OneByteBuf : public std::streambuf {
 public:
  explicit OneByteBuf(std::string bytes) : bytes_(std::move(bytes)) {}

 protected:
  int_type underflow() override {
    if (at_ >= bytes_.size()) return traits_type::eof();
    byte_ = bytes_[at_++];
    setg(&byte_, &byte_, &byte_ + 1);
    return traits_type::to_int_type(byte_);
  }
  pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    const auto here = static_cast<off_type>(at_) - (egptr() - gptr());
    const off_type target = dir == std::ios_base::beg ? off : dir == std::ios_base::cur ? here + off
                                                                                         : static_cast<off_type>(bytes_.size()) + off;
    if (target < 0 || target > static_cast<off_type>(bytes_.size())) return pos_type(off_type(-1));
    at_ = static_cast<size_t>(target);
    setg(nullptr, nullptr, nullptr);
    return pos_type(target);
  }
  pos_type seekpos(pos_type pos, std::ios_base::openmode mode) override {
    return seekoff(off_type(pos), std::ios_base::beg, mode);
  }

 private:
  std::string bytes_;
  size_t at_ = 0;
  char byte_ = 0;
};

TEST(HtmlTokenizer, ItemsAndOffsetsDoNotDependOnTheStreamsBuffer) {
  for (unsigned seed : {1u, 2u, 3u}) {
    const std::string doc = html_pages::Generator(seed).Page(300) + "a&amp;bc\r\nd\te<PRE>f\tg\nh</PRE>i";
    for (int mode : {HtmlTokenizer::kHtml, HtmlTokenizer::kKtf, HtmlTokenizer::kPlain}) {
      OneByteBuf buf(doc);
      std::istream in(&buf);
      HtmlTokenizer tokenizer(mode);
      tokenizer.Reset(&in);
      EXPECT_EQ(DumpItems(tokenizer, true), Tokenize(doc, mode, true)) << "seed " << seed << " mode " << mode;
    }
  }
}

// A document of many empty elements must not make end tags walk the whole
// stack: many unclosed BRs and a closing tag stay fast and exact.
TEST(HtmlTokenizer, ManyEmptyElementsStayLinear) {
  std::string doc;
  for (int i = 0; i < 200000; ++i) doc += "<BR>";
  doc += "<PRE>x</PRE> a";
  std::istringstream in(doc);
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  int events = 0;
  std::string last;
  while (auto item = t.NextToken()) {
    ++events;
    last = DumpItem(*item);
  }
  EXPECT_EQ(events, 200000 + 5 + 4);
  EXPECT_EQ(last, "~Word");
  EXPECT_EQ(t.OpenElementCount(), 200000);
}

TEST(HtmlTokenizer, PreClosedByEndTagRestoresNormalSpace) {
  EXPECT_EQ(Tokenize("<PRE>a</PRE>b  c"),
            "PRE Word \"a\" ~Word ~PRE Word \"b\" ~Word WordSpace Word \"c\" ~Word");
}

TEST(HtmlTokenizer, OneLineEndRightAfterThePreStartTagMakesNoLine) {
  const Case cases[] = {
      {"<PRE>\nab\ncd</PRE>", HtmlTokenizer::kHtml, "PRE Word \"ab\" ~Word BR Word \"cd\" ~Word ~PRE"},
      {"<PRE>\r\nab</PRE>", HtmlTokenizer::kHtml, "PRE Word \"ab\" ~Word ~PRE"},
      {"<PRE>ab</PRE>", HtmlTokenizer::kHtml, "PRE Word \"ab\" ~Word ~PRE"},
      // Only the one: a second line end is an empty line of the text.
      {"<PRE>\n\nab</PRE>", HtmlTokenizer::kHtml, "PRE BR Word \"ab\" ~Word ~PRE"},
      // Blanks before the line end are text: the line end stays.
      {"<PRE> \nab</PRE>", HtmlTokenizer::kHtml, "PRE Word \" \" ~Word BR Word \"ab\" ~Word ~PRE"},
      // Other start tags keep their line ends as blanks.
      {"<P>\nab", HtmlTokenizer::kHtml, "P WordSpace Word \"ab\" ~Word"},
  };
  for (const Case& c : cases) EXPECT_EQ(Tokenize(c.input, c.mode), c.items) << c.input;
}

TEST(HtmlTokenizer, PeekAndPushBack) {
  std::istringstream in("a <B>");
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  auto first = t.NextToken();
  EXPECT_EQ(t.PeekOffset(), 0);  // the text item of "a"
  t.PushBack(std::move(first));
  EXPECT_EQ(DumpItems(t), "Word \"a\" ~Word WordSpace B");
  EXPECT_EQ(t.PeekOffset(), kNoMoreItems);
  EXPECT_EQ(t.NextToken(), nullptr);
}

class FractionRecorder : public ProgressReporter {
 public:
  void SetFractionValue(float f) override {
    ++calls;
    ProgressReporter::SetFractionValue(f);
  }
  void Notify(int) override {}
  int calls = 0;
};

TEST(HtmlTokenizer, ProgressGrowsAndEmptyInputIsSafe) {
  FractionRecorder progress;
  std::istringstream in("abc def");
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.SetProgress(&progress);
  t.Reset(&in);
  DumpItems(t);
  EXPECT_FLOAT_EQ(progress.fraction(), 1.0f);
  EXPECT_GT(progress.calls, 0);

  FractionRecorder none;
  std::istringstream empty("");
  HtmlTokenizer e(HtmlTokenizer::kHtml);
  e.SetProgress(&none);
  e.Reset(&empty);
  EXPECT_EQ(e.NextToken(), nullptr);
  EXPECT_EQ(none.calls, 0);
}

TEST(HtmlTokenizer, WithoutStream) {
  HtmlTokenizer t(HtmlTokenizer::kKtf);
  EXPECT_EQ(t.NextToken(), nullptr);
  EXPECT_EQ(t.MeasureRange(0, 10), -1);
}

TEST(HtmlTokenizer, MeasureRangeCountsShownCharacters) {
  struct M {
    const char* text;
    LONG from, to;
    int count;
  };
  const M cases[] = {
      {"abcdef", 1, 4, 3},
      {"a&amp;b", 0, 7, 3},     // the reference shows one character
      {"a&amp b", 0, 7, 4},     // ended by a blank, which shows
      {"a&reg;b", 0, 7, 7},     // unknown: as written
      {"&#65;&#x41;", 0, 11, 7},
      {"a\r\nb", 0, 4, 3},       // CR shows nothing
      {"abc", 2, 1, 0},          // reversed
      {"abc", 1, 1000000000, 2}, // a bound far past the end allocates nothing
  };
  for (const M& m : cases) {
    std::istringstream in(m.text);
    HtmlTokenizer t(HtmlTokenizer::kHtml);
    t.Reset(&in);
    EXPECT_EQ(t.MeasureRange(m.from, m.to), m.count) << m.text;
  }
}

// The count follows the tokenizer's own rules: over the bytes of each text
// item it gives the item's length, so anchors split text where they should.
TEST(HtmlTokenizer, MeasureRangeAgreesWithTextItems) {
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    const std::string doc = html_pages::Generator(seed).Page(400) + "a&reg;b &#65;&#x41;c\r\nd";
    std::istringstream in(doc);
    HtmlTokenizer t(HtmlTokenizer::kHtml);
    t.Reset(&in);
    std::vector<std::unique_ptr<TokenItem>> items;
    while (auto item = t.NextToken()) items.push_back(std::move(item));
    int checked = 0;
    for (size_t i = 0; i + 1 < items.size(); ++i) {
      if (items[i]->Kind() != kTextItem) continue;
      const auto& text = static_cast<const TextToken&>(*items[i]);
      if (text.text.Find(' ') >= 0) continue;  // preformatted blanks: the run ends at a line feed
      EXPECT_EQ(t.MeasureRange(text.start, items[i + 1]->start), text.text.GetLength())
          << "seed " << seed << " at " << text.start << ": " << text.text.str();
      ++checked;
    }
    EXPECT_GT(checked, 300);
  }
}

TEST(HtmlTokenizer, MeasureRangeLeavesTheReadingPlace) {
  std::istringstream in("one two three");
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  EXPECT_EQ(DumpItem(*t.NextToken()), "Word");
  EXPECT_EQ(t.MeasureRange(4, 7), 3);
  EXPECT_EQ(DumpItems(t), "\"one\" ~Word WordSpace Word \"two\" ~Word WordSpace Word \"three\" ~Word");
}

TEST(TextToken, SplitAtMeasuredIndex) {
  std::istringstream in("abcdef");
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.Reset(&in);
  struct S {
    LONG at;
    bool split;
    const char* left;
    const char* right;
  };
  const S cases[] = {{2, true, "ab", "cdef"}, {0, false, "abcdef", ""}, {6, false, "abcdef", ""},
                     {99, false, "abcdef", ""}, {-5, false, "abcdef", ""}};
  for (const S& s : cases) {
    TextToken token(0, "abcdef", 7);
    std::unique_ptr<TokenItem> rest;
    EXPECT_EQ(token.Split(s.at, t, rest), s.split) << s.at;
    EXPECT_EQ(token.text.str(), s.left);
    if (s.split) {
      auto* r = static_cast<TextToken*>(rest.get());
      EXPECT_EQ(r->text.str(), s.right);
      EXPECT_EQ(r->start, s.at);
      EXPECT_EQ(r->owner, 7);
    } else {
      EXPECT_EQ(rest, nullptr);
    }
  }
  TextToken one(0, "a", 0);
  std::unique_ptr<TokenItem> rest;
  EXPECT_FALSE(one.Split(0, t, rest));
}

class Base : public NamedValueSource {
 public:
  explicit Base(const char* b) : base_(b) {}
  CString GetName(const CString& name) const override {
    return name == kReferenceBase ? base_ : CString();
  }

 private:
  CString base_;
};

TEST(HtmlTokenizer, ResolveAnchor) {
  struct R {
    const char* base;
    const char* value;
    const char* result;
  };
  const std::string longName(1200, 'n');
  const R cases[] = {
      {"C:\\docs\\page.html", "pics/a.gif", "C:\\docs\\pics\\a.gif"},
      {"docs/page.html", "other.html#part", "docs\\other.html#part"},
      {"C:\\docs\\page.html", "mailto:ana.berov@example.org", "mailto:ana.berov@example.org"},
      {"C:\\docs\\page.html", "MAILTO:ana@example.org", "MAILTO:ana@example.org"},
      {"C:\\docs\\page.html", "http://www.example.org/a/b.html", "http://www.example.org/a/b.html"},
      {"http://www.example.org/dir/page.html", "x.html", "http://www.example.org/dir/x.html"},
      {"", "x.html", "x.html"},
  };
  for (const R& r : cases) {
    Base base(r.base);
    HtmlTokenizer t(HtmlTokenizer::kHtml);
    t.SetBaseProvider(&base);
    EXPECT_EQ(t.ResolveAnchor(r.value).str(), r.result) << r.base << " + " << r.value;
  }
  // A long relative link is kept whole.
  Base base("C:\\docs\\page.html");
  HtmlTokenizer t(HtmlTokenizer::kHtml);
  t.SetBaseProvider(&base);
  EXPECT_EQ(t.ResolveAnchor(CString(longName.c_str()) + ".html").str(), "C:\\docs\\" + longName + ".html");
  // Without a base provider the value is unchanged.
  HtmlTokenizer plain(HtmlTokenizer::kHtml);
  EXPECT_EQ(plain.ResolveAnchor("a/b.html").str(), "a/b.html");
}

TEST(HtmlTokenizer, ResolveKtfAnchor) {
  HtmlTokenizer t(HtmlTokenizer::kKtf);
  EXPECT_EQ(t.ResolveAnchor("/0x00001234").str(), "Dest=0x00001234\nLinkType=KTFAnchor\n");
  EXPECT_EQ(t.ResolveAnchor("Inn/Room").str(), "Hint=URL:korvex:Inn/Room\nLinkType=KTFAnchor\n");
}

}  // namespace
