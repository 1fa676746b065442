// The markup vocabulary of the tokenizer: the HTML and the KTF tag tables
// (names, kept attributes and how the content after a tag is read) and the
// character entities.
#pragma once

#include <string_view>

namespace markup {

// How the tokenizer reads what follows a start tag.
enum ContentClass : int {
  kEmpty = 0,     // no content; read like normal content
  kLiteral = 1,   // whitespace kept: TAB and line feed become events
  kVerbatim = 2,  // "<" and "&" are text; only "</" is markup
  kTextOnly = 3,  // the text up to the next "<" rides on the start tag
  kNormal = 4,
};

inline constexpr int kMaxAttributes = 20;
// The index an unknown tag gets, in both tables.
inline constexpr int kUnknownTag = 104;

}  // namespace markup

struct TagRow {
  const char* name;
  const char* const* attributes;
  int attributeCount;
  int contentClass;
};

struct TagTable {
  const TagRow* rows;
  int count;
  // The row index of an upper-case name, or markup::kUnknownTag.
  int Find(std::string_view upperName) const;
};

const TagTable& HtmlTags();
const TagTable& KtfTags();

// The Latin-1 code of a named entity (case counts), or -1.
int FindMarkupEntity(std::string_view name);
int MarkupEntityCount();
const char* MarkupEntityName(int row);
