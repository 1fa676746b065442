#include "core/search_query.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/attr_keys.h"
#include "core/search_query_expr.h"
#include "core/str_helpers.h"

namespace {

// Delimiters around an operator word.
constexpr char kOperatorDelimiters[] = " ()&|!";
// Characters of a word in a full-text query; a blank between two of them
// joins the words by "&".
constexpr char kFullTextWordChars[] = "abcdefghijklmnopqrstuvwxyz0123456789-/";

// The text a server would see: queries travel as C strings.
CString upToNul(const CString& s) {
  const size_t nul = s.view().find('\0');
  if (nul == std::string_view::npos) return s;
  return CString(s.view().substr(0, nul));
}

// The "Title=" codes of a term's clause, one per rank, most preferred first.
std::vector<CString> titleCodes(const Languages& languages) {
  std::vector<CString> codes;
  const int count = std::clamp(languages.count(), 0, Languages::kMaxLanguages);
  codes.reserve(static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) codes.push_back(languages.codeAtRank(r));
  return codes;
}

CString clauseFor(const CString& term, const std::vector<CString>& codes, const CString& titleKey,
                  const CString& keywordKey) {
  CString clause;
  for (const CString& code : codes) {
    clause += clause.IsEmpty() ? "(" : "||";
    clause += titleKey + code + ":" + term;
  }
  clause += clause.IsEmpty() ? "(" : "||";
  clause += keywordKey + term + ")";
  return clause;
}

// True when `query` holds "||" outside every pair of parentheses, so that
// appending "&&" and a test would bind only to its last alternative.
bool hasTopLevelOr(const CString& query) {
  int depth = 0;
  const std::string_view q = query.view();
  for (size_t i = 0; i < q.size(); ++i) {
    if (q[i] == '(') ++depth;
    if (q[i] == ')' && depth > 0) --depth;
    if (depth == 0 && q[i] == '|') return true;
  }
  return false;
}

bool isBlank(const CString& s) {
  for (char c : s.view())
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

}  // namespace

bool searchInputTooLong(const CString& text) { return upToNul(text).GetLength() > kMaxSearchInput; }

CString collapseBlanks(const CString& s) {
  std::string out;
  out.reserve(static_cast<size_t>(s.GetLength()));
  bool pendingBlank = false;
  for (char c : s.view()) {
    if (c == ' ') {
      pendingBlank = !out.empty();
      continue;
    }
    if (pendingBlank) out += ' ';
    pendingBlank = false;
    out += c;
  }
  return CString(std::move(out));
}

CString normalizeOperators(const CString& s) {
  CString t = s;
  // ANDNOT last: as a whole word it is not touched by the shorter words.
  StrReplaceWord(t, "AND", "&&", kOperatorDelimiters, true);
  StrReplaceWord(t, "OR", "||", kOperatorDelimiters, true);
  StrReplaceWord(t, "NOT", "!", kOperatorDelimiters, true);
  StrReplaceWord(t, "ANDNOT", "&!", kOperatorDelimiters, true);
  // One or two bars both end as "||".
  StrReplaceAll(t, "||", "|", true);
  StrReplaceAll(t, "|", "||", true);
  // "&" and "&&" end as "&&"; "!" and "&!" end as "&!".
  StrReplaceAll(t, "&!", "!", true);
  StrReplaceAll(t, "&&", "&", true);
  StrReplaceAll(t, "&", "&&", true);
  StrReplaceAll(t, "!", "&!", true);
  t.Remove('"');
  // Queries go to the servers in lower case; they compare words without
  // regard to case.
  t.MakeLower();
  return t;
}

CString termClause(const CString& term, const Languages& languages) {
  if (!TitleKey || !KeywordKey) return CString();
  return clauseFor(term, titleCodes(languages), *TitleKey, *KeywordKey);
}

CString buildQuery(const CString& terms, const CString& author, const Languages& languages) {
  if (searchInputTooLong(terms) || searchInputTooLong(author)) return CString();
  if (!TitleKey || !KeywordKey || !AuthorKey) return CString();

  const std::vector<CString> codes = titleCodes(languages);
  const CString& titleKey = *TitleKey;
  const CString& keywordKey = *KeywordKey;
  const CString& authorKey = *AuthorKey;

  const SearchExprStyle termStyle{
      "&&", false, [&](const CString& run) { return clauseFor(run, codes, titleKey, keywordKey); }};
  const SearchExprStyle authorStyle{"&&", false,
                                    [&](const CString& run) { return authorKey + run; }};

  CString query = rewriteSearchExpr(normalizeOperators(upToNul(terms)), termStyle);
  CString authorPart = rewriteSearchExpr(normalizeOperators(upToNul(author)), authorStyle);
  if (authorPart.IsEmpty()) return query;
  if (query.IsEmpty()) return authorPart;
  return "(" + query + ")&&(" + authorPart + ")";
}

bool buildAttributeSearch(const CString& terms, const CString& author, const CString& timeSpec,
                          const Languages& languages, CString& out) {
  out.Empty();
  if (searchInputTooLong(terms) || searchInputTooLong(author) || searchInputTooLong(timeSpec))
    return false;
  CString query = buildQuery(terms, author, languages);
  const CString spec = upToNul(timeSpec);
  if (!isBlank(spec)) {
    if (!TimeCreatedKey) return false;
    CString time = relativeTime(spec);
    // An absolute time is passed on as typed, but it must not reach into
    // the expression around it.
    for (char c : {'(', ')', '&', '|', '!'}) time.Remove(c);
    if (!isBlank(time)) {
      const CString test = *TimeCreatedKey + time + "^";
      if (query.IsEmpty())
        query = test;
      else if (hasTopLevelOr(query))
        query = "(" + query + ")&&" + test;
      else
        query += "&&" + test;
    }
  }
  out = query;
  return true;
}

CString prepareFullText(const CString& text) {
  if (searchInputTooLong(text)) return CString();
  const SearchExprStyle style{" ", true, [](const CString& run) { return run; }};
  CString query = rewriteSearchExpr(normalizeOperators(collapseBlanks(upToNul(text))), style);
  // Tidying may leave a blank at an end or two side by side where an
  // operator was dropped.
  query = collapseBlanks(query);
  StrReplaceWord(query, " ", "&", kFullTextWordChars, true);
  return query;
}

int fullTextFetchCount(int collected, int delivered, int announced) {
  if (delivered >= announced) return 0;
  const int64_t room = int64_t{kFullTextHitLimit} - collected - delivered;
  if (room <= 0) return 0;
  return static_cast<int>(std::min<int64_t>(kSearchFetchBatch, room));
}
