// Turns searches as users type them into the servers' query language.
//
// Users write words joined by AND, OR, NOT, ANDNOT, their signs (&, &&, |,
// ||, !, &!) or blanks, with parentheses, optionally an author and a
// creation time ("96/05/01 12:00:00", or "minus 2 hours", "-1d12h"). The
// servers take attribute tests (key "=" value: "Title=" with a language
// code, ":" and the word, "Keyword=", "Author=", "TimeCreated=") joined by
// "&&", "||", "!" and "&!" with parentheses (attribute search), or words
// joined the same way behind a language code (full-text search).
//
// Half-finished input ("a and", "(b", "() or c") is tidied into a query the
// servers can parse (see core/search_query_expr.h), and input longer than
// kMaxSearchInput characters is refused rather than cut.
#pragma once

#include <ctime>

#include "core/languages.h"
#include "mfc/cstring.h"

// Request kinds of a store's openRequest for the two searches.
inline constexpr int kSearchKindAttributes = 6;
inline constexpr int kSearchKindFullText = 7;
// Hits are fetched this many at a time.
inline constexpr int kSearchFetchBatch = 10;
// A full-text search stops after this many hits over all stores and
// languages.
inline constexpr int kFullTextHitLimit = 40;
// Longest text accepted in one search field. Each term grows by about ten
// times its length plus a hundred characters, so this keeps a request well
// inside what a server takes in one message.
inline constexpr int kMaxSearchInput = 1024;

// True when a search field is too long to be turned into a query (the
// builders below then give an empty text). Text after a NUL byte does not
// count: it never reaches a server.
bool searchInputTooLong(const CString& text);

// Removes blanks (" " only) at both ends and shrinks every inner run of
// blanks to one.
CString collapseBlanks(const CString& s);

// Rewrites operator words and signs to the query language's spelling and
// lower-cases the text: the words AND, OR, NOT, ANDNOT (any case, standing
// alone between the text's ends or any of " ()&|!") become "&&", "||", "!"
// and "&!"; then "|" and "||" become "||", "&" and "&&" become "&&", and
// "!" and "&!" become "&!" (a negation always reads as and-not); double
// quotes are removed.
CString normalizeOperators(const CString& s);

// The title-or-keyword test for one term: a "Title=" test per rank of
// `languages` (code, ":" and the term; an empty code for a rank no active
// language holds) and a "Keyword=" test, joined by "||" in parentheses.
CString termClause(const CString& term, const Languages& languages);

// The attribute query of search terms and an author: each term becomes its
// termClause, each author term an "Author=" test; terms and author are
// joined as "(" terms ")&&(" author ")" when both give something. Empty when
// neither does, or when either is too long.
CString buildQuery(const CString& terms, const CString& author, const Languages& languages);

// A relative time ("minus" or "-", then numbers with units of days, hours or
// minutes: "minus 1,5 days", "-1d12h", "- 30 min") as the local time that
// long before `now`, "yy/mm/dd hh:mm:ss" with the years since 1900. Text
// without "minus" or "-" is an absolute time and comes back as given.
CString relativeTime(const CString& spec, std::time_t now);
CString relativeTime(const CString& spec);  // relative to the current time

// The whole attribute query: buildQuery plus, for a time spec that is not
// blank, the test "TimeCreated=" time "^" (objects created at or after that
// time), alone or joined by "&&". False, with `out` empty, when a field is
// too long; true otherwise (`out` is empty when there is nothing to search).
bool buildAttributeSearch(const CString& terms, const CString& author, const CString& timeSpec,
                          const Languages& languages, CString& out);

// The full-text query: blanks collapsed, operators normalised, the
// expression tidied, and every blank between two words (letters, digits,
// "-" and "/") turned into "&", so words side by side must all occur.
// Blanks next to an operator or a parenthesis stay. Empty for nothing to
// search or too long a text.
CString prepareFullText(const CString& text);

// How many hits the next fetch of a full-text search asks for: up to
// kSearchFetchBatch, never past kFullTextHitLimit hits in all. `collected`
// counts the hits of earlier results, `delivered` and `announced` are those
// of the current one. 0 when the result is complete or the limit reached.
int fullTextFetchCount(int collected, int delivered, int announced);
