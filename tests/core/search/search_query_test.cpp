#include "core/search_query.h"

#include <gtest/gtest.h>

#include <string>

#include "core/search/query_shape.h"

namespace {

// Writes an expected attribute query from a skeleton in which "{x}" stands
// for the title-or-keyword clause of the term x (termClause is checked
// against literal text on its own).
CString expand(const std::string& skeleton, const Languages& languages) {
  std::string out;
  size_t i = 0;
  while (i < skeleton.size()) {
    if (skeleton[i] == '{') {
      size_t end = skeleton.find('}', i);
      out += termClause(CString(skeleton.substr(i + 1, end - i - 1)), languages).str();
      i = end + 1;
    } else {
      out += skeleton[i++];
    }
  }
  return CString(out);
}

TEST(CollapseBlanks, TrimsEndsAndShrinksInnerRuns) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"  digital   library  ", "digital library"},
      {"a", "a"},
      {"", ""},
      {"     ", ""},
      {"a \t b", "a \t b"},  // only blanks count
      {" ( a )  ", "( a )"},
  };
  for (const Case& c : cases) EXPECT_EQ(collapseBlanks(c.in), c.out) << "'" << c.in << "'";
}

TEST(NormalizeOperators, RewritesWordsAndSignsToTheQueryLanguage) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"a and b or not c", "a && b || &! c"},
      {"a & b | c ! d", "a && b || c &! d"},
      {"a && b || c &! d", "a && b || c &! d"},
      {"a andnot b", "a &! b"},
      {"A AND B Or NOT c", "a && b || &! c"},  // any case; the text comes back lower-cased
      {"AndNot x", "&! x"},
      {"ANDNOTHING", "andnothing"},  // no operator unless it stands alone
      // Only the English words are operators, whatever the language order.
      {"Katze UND Hund ODER nicht Maus", "katze und hund oder nicht maus"},
      {"chat et chien ou pas souris", "chat et chien ou pas souris"},
      {"band brand ornament notable", "band brand ornament notable"},
      {"(a)or(b)", "(a)||(b)"},
      {"!a", "&!a"},
      {"\"big band\" and \"jazz\"", "big band && jazz"},
      // A quote next to a word keeps it from standing alone, so a quoted
      // operator word is searched for; the quotes go afterwards.
      {"\"and\" \"or\"", "and or"},
      {"M\xC4"
       "DCHEN",
       "m\xE4"
       "dchen"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(normalizeOperators(c.in), c.out) << "'" << c.in << "'";
}

TEST(TermClause, OneTitleTestPerRankAndAKeywordTest) {
  Languages languages;
  EXPECT_EQ(termClause("music", languages),
            "(Title=en:music||Title=ge:music||Title=fr:music||Title=st:music||Title=it:music||"
            "Title=sp:music||Title=kr:music||Title=jp:music||Keyword=music)");

  // Ranks that no active language holds still give a test, with no code.
  ASSERT_TRUE(languages.setOrder("frge"));
  EXPECT_EQ(termClause("x", languages),
            "(Title=fr:x||Title=ge:x||Title=:x||Title=:x||Title=:x||Title=:x||Title=:x||"
            "Title=:x||Keyword=x)");
}

TEST(BuildQuery, TermsBecomeClausesAndOperatorsStay) {
  Languages languages;
  struct Case {
    const char* terms;
    const char* skeleton;
  };
  const Case cases[] = {
      {"music", "{music}"},
      {"Music", "{music}"},
      // Blanks around an operator stay with the terms beside it.
      {"a OR b", "{a }||{ b}"},
      {"a and b or not c", "{a }&&{ b }||!{ c}"},
      {"a && b || c &! d", "{a }&&{ b }||{ c }&!{ d}"},
      {"a and not b", "{a }&!{ b}"},
      {"big band", "{big band}"},
      {"\"big band\"", "{big band}"},
      {"rock \"and\" roll", "{rock and roll}"},  // a quoted operator word is a word
      {"x-ray & (a|b)", "{x-ray }&&({a}||{b})"},
      {"", ""},
  };
  for (const Case& c : cases) {
    CString query = buildQuery(c.terms, "", languages);
    EXPECT_EQ(query, expand(c.skeleton, languages)) << "'" << c.terms << "'";
    EXPECT_TRUE(query_shape::attributeQueryWellFormed(query.view())) << query.c_str();
  }
}

// Typed expressions that are not finished or not balanced still give one
// query that every server can parse.
TEST(BuildQuery, HalfFinishedExpressionsAreTidied) {
  Languages languages;
  struct Case {
    const char* terms;
    const char* skeleton;
  };
  const Case cases[] = {
      // Blanks between a parenthesis and an operator are no term.
      {"(a) and (b)", "({a})&&({b})"},
      {"(a)  or  ( b )", "({a})||({ b })"},
      {"a and   (b or c)", "{a }&&({b }||{ c})"},
      {"( a ) \t and ( b )", "({ a })&&({ b })"},
      // Operands side by side are joined by "&&".
      {"(a)(b)", "({a})&&({b})"},
      {"a (b)", "{a }&&({b})"},
      // Operators at the ends of the text or of a group.
      {"and a", "{ a}"},
      {"a or", "{a }"},
      {"not a", "!{ a}"},
      {"a and (or b not)", "{a }&&({ b })"},
      {"(not a) or b", "(!{ a})||{ b}"},
      // Operators in a row: the first decides, a later negation negates.
      {"a or and b", "{a }||{ b}"},
      {"a | | b", "{a }||{ b}"},
      {"a and and not b", "{a }&!{ b}"},
      {"a &&&! b", "{a }&!{ b}"},
      // Empty groups go, with their parentheses.
      {"() or a", "{ a}"},
      {"a and ()", "{a }"},
      {"a (()) b", "{a }&&{ b}"},
      // Unbalanced parentheses.
      {"((a) or b", "(({a})||{ b})"},
      {"a) or (b", "{a}||({b})"},
      {")a(", "{a}"},
      // Nothing to search.
      {"   ", ""},
      {"()", ""},
      {"and or not", ""},
      {"( ) & ( )", ""},
  };
  for (const Case& c : cases) {
    CString query = buildQuery(c.terms, "", languages);
    EXPECT_EQ(query, expand(c.skeleton, languages)) << "'" << c.terms << "'";
    EXPECT_TRUE(query_shape::attributeQueryWellFormed(query.view())) << query.c_str();
  }
}

TEST(BuildQuery, AuthorTestsJoinTheTerms) {
  Languages languages;
  struct Case {
    const char* terms;
    const char* author;
    const char* skeleton;
  };
  const Case cases[] = {
      {"a", "smith", "({a})&&(Author=smith)"},
      {"", "Smith", "Author=smith"},
      {"", "smith or jones", "Author=smith ||Author= jones"},
      {"a", "not smith", "({a})&&(!Author= smith)"},
      {"a", "   ", "{a}"},
      {"a", "( )", "{a}"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    CString query = buildQuery(c.terms, c.author, languages);
    EXPECT_EQ(query, expand(c.skeleton, languages)) << "'" << c.terms << "' / '" << c.author << "'";
    EXPECT_TRUE(query_shape::attributeQueryWellFormed(query.view())) << query.c_str();
  }
}

TEST(BuildAttributeSearch, TimeClauseJoinsTheQuery) {
  Languages languages;
  const char* absolute = "96/05/01 12:00:00";
  struct Case {
    const char* terms;
    const char* author;
    const char* time;
    const char* skeleton;
  };
  const Case cases[] = {
      {"", "", absolute, "TimeCreated=96/05/01 12:00:00^"},
      {"a", "", absolute, "{a}&&TimeCreated=96/05/01 12:00:00^"},
      {"a", "smith", absolute, "({a})&&(Author=smith)&&TimeCreated=96/05/01 12:00:00^"},
      // The time must hold for every alternative, not only the last one.
      {"a or b", "", absolute, "({a }||{ b})&&TimeCreated=96/05/01 12:00:00^"},
      {"(a or b) and c", "", absolute, "({a }||{ b})&&{ c}&&TimeCreated=96/05/01 12:00:00^"},
      // An absolute time is used as typed, blanks included...
      {"a", "", " 96/05/01 ", "{a}&&TimeCreated= 96/05/01 ^"},
      // ...but cannot reach into the expression around it.
      {"a", "", "96/05/01) || (x", "{a}&&TimeCreated=96/05/01  x^"},
      // A blank time is no time.
      {"a", "", "   ", "{a}"},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    CString query("unchanged");
    EXPECT_TRUE(buildAttributeSearch(c.terms, c.author, c.time, languages, query));
    EXPECT_EQ(query, expand(c.skeleton, languages)) << "'" << c.terms << "' '" << c.time << "'";
    EXPECT_TRUE(query_shape::attributeQueryWellFormed(query.view())) << query.c_str();
  }
}

TEST(BuildAttributeSearch, RelativeTimeAloneIsTheWholeQuery) {
  Languages languages;
  // The clock may tick between building and checking: accept either second.
  CString before = "TimeCreated=" + relativeTime("minus 2 hours") + "^";
  CString query;
  ASSERT_TRUE(buildAttributeSearch("", "", "minus 2 hours", languages, query));
  CString after = "TimeCreated=" + relativeTime("minus 2 hours") + "^";
  EXPECT_TRUE(query == before || query == after) << query.c_str();
}

TEST(BuildAttributeSearch, OverlongFieldsAreRefusedNotCut) {
  Languages languages;
  const CString longest(static_cast<char>('a'), kMaxSearchInput);
  const CString tooLong(static_cast<char>('a'), kMaxSearchInput + 1);
  CString query;
  EXPECT_TRUE(buildAttributeSearch(longest, longest, "", languages, query));
  EXPECT_FALSE(query.IsEmpty());

  struct Case {
    CString terms, author, time;
  };
  const Case refused[] = {
      {tooLong, "", ""},
      {"a", tooLong, ""},
      {"a", "", "minus 1 day" + tooLong},
  };
  for (const Case& c : refused) {
    query = "unchanged";
    EXPECT_FALSE(buildAttributeSearch(c.terms, c.author, c.time, languages, query));
    EXPECT_TRUE(query.IsEmpty());
  }
  EXPECT_TRUE(buildQuery(tooLong, "", languages).IsEmpty());
  EXPECT_TRUE(buildQuery("a", tooLong, languages).IsEmpty());
  EXPECT_TRUE(prepareFullText(tooLong).IsEmpty());
  EXPECT_TRUE(searchInputTooLong(tooLong));
  EXPECT_FALSE(searchInputTooLong(longest));
}

// A server reads the query as a C string: what follows a NUL never counts,
// so it cannot leave a group open on the server's side.
TEST(BuildQuery, TextAfterANulIsNotPartOfTheQuery) {
  Languages languages;
  const CString terms("(a\0) or (b", 10);
  EXPECT_EQ(buildQuery(terms, "", languages), expand("({a})", languages));
  EXPECT_EQ(prepareFullText(terms), "(a)");
  CString padded = CString("a") + CString(std::string(kMaxSearchInput + 10, '\0'));
  EXPECT_FALSE(searchInputTooLong(padded));
}

TEST(PrepareFullText, WordsSideBySideMustAllOccur) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"digital library", "digital&library"},
      {"digital && library", "digital && library"},
      {"  Digital   Library  ", "digital&library"},
      {"digital and library", "digital && library"},
      {"x-ray 1996/05 scan", "x-ray&1996/05&scan"},
      {"\"digital library\"", "digital&library"},
      {"(a b) or c", "(a&b) || c"},
      {"caf\xE9 bar", "caf\xE9 bar"},  // a blank stays next to other characters
      // Tidied like the attribute query; blanks next to operators stay.
      {"digital and", "digital"},
      {"not digital", "! digital"},
      {"(a) (b)", "(a) (b)"},
      {"(a b", "(a&b)"},
      {"a ()", "a"},
      {"() ()", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    CString query = prepareFullText(c.in);
    EXPECT_EQ(query, c.out) << "'" << c.in << "'";
    EXPECT_TRUE(query_shape::fullTextQueryWellFormed(query.view())) << query.c_str();
  }
}

TEST(FullTextFetchCount, StopsAtFortyHitsOverAllResults) {
  struct Case {
    int collected, delivered, announced, expected;
  };
  const Case cases[] = {
      {0, 0, 100, 10}, {0, 30, 100, 10}, {0, 35, 100, 5}, {0, 40, 100, 0},
      {35, 0, 20, 5},  {35, 5, 20, 0},   {0, 0, 3, 10},   {0, 3, 3, 0},
      {0, 0, 0, 0},    {55, 0, 10, 0},   {39, 0, 1, 1},   {2000000000, 0, 5, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(fullTextFetchCount(c.collected, c.delivered, c.announced), c.expected)
        << c.collected << " " << c.delivered << " " << c.announced;
}

}  // namespace
