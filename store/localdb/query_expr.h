// Query texts of the local database, as the client's search commands write
// them: terms joined by "&" (also "&&" and blanks), "|" ("||") and "!"
// (alone, or "&!" for and-not), grouped with parentheses. In an attribute
// query a term is preceded by its key and "=", and a title term by its
// language and ":" ("Title=en:moon"); a key and a language stay in force
// for the terms after them ("Title=en:moon|sun"). A full-text term is
// preceded by its language only ("en:moon"). A "*" after a term (not before
// a digit) makes it a prefix term. Terms without their key (or, full text,
// their language) are left out.
//
// The parsed query is a tree of index keys ("TITLE=ENMOON", "ENMOON").
// Texts that are too long, nest too deep or do not close their
// parentheses are refused with a message rather than read wrongly.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace localdb {

enum class QueryMode { kAttributes, kFullText };

struct QueryNode {
  enum Op { kTerm, kAnd, kOr, kAndNot, kNot };
  Op op = kTerm;
  std::string term;  // kTerm: the index key
  bool prefix = false;
  std::unique_ptr<QueryNode> left;
  std::unique_ptr<QueryNode> right;  // kNot: unused
};

struct ParsedQuery {
  std::unique_ptr<QueryNode> root;  // null: nothing to look for
  std::string error;                // set when the text was refused
};

inline constexpr size_t kMaxQueryBytes = 4096;
inline constexpr size_t kMaxQueryTerms = 256;
inline constexpr size_t kMaxTermBytes = 100;
// Each level of parentheses takes three.
inline constexpr int kMaxQueryDepth = 96;

// Character entities replaced by their characters, then upper case.
std::string prepareQuery(std::string_view text);
ParsedQuery parseQuery(std::string_view prepared, QueryMode mode);
// The tree written back as a flat text ("A&(B|!C)"), for messages and tests.
std::string describeQuery(const QueryNode* node);

}  // namespace localdb
