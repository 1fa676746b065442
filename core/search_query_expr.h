// The structure of a search expression after its operators were normalised:
// terms (runs of text) joined by "&&", "||", "&!" and grouped by parentheses.
// Users type half-finished expressions ("a and", "(b", "() or c", "(a) (b)"),
// so before terms are turned into attribute tests the expression is tidied
// into one that every server can parse:
//   - a run of nothing but white space is no term (it only separates, and
//     is kept as one blank when the style asks for it);
//   - a group without any term is dropped, with its parentheses;
//   - a ")" without its "(" is dropped, a "(" left open is closed at the end;
//   - operators before the first term of a group are dropped, except that a
//     negation there becomes the prefix "!"; operators after the last term
//     of a group are dropped;
//   - operators in a row become one: the first one decides, and a later
//     negation turns "&&" into "&!" and "||" into "||!";
//   - two operands side by side are joined by `adjacentJoin` ("&&" for the
//     attribute language, which has no implicit operator).
#pragma once

#include <functional>

#include "mfc/cstring.h"

struct SearchExprStyle {
  // Text written between two operands that stand side by side.
  const char* adjacentJoin;
  // Whether white space that stood before or after the operators between
  // two operands is written (as one blank) around the operator written.
  bool keepGaps;
  // Turns one term (a run of text, blanks around it kept) into output text.
  std::function<CString(const CString& term)> term;
};

// Tidies `normalized` (the output of normalizeOperators) as above and writes
// it out in `style`. Every character of "!&(|)" counts as operator or
// parenthesis; everything else belongs to terms. An expression without any
// term gives the empty text.
CString rewriteSearchExpr(const CString& normalized, const SearchExprStyle& style);
