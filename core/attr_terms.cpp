#include "core/attr_terms.h"

#include "core/entities.h"
#include "core/str_helpers.h"
#include "core/type_registry.h"

namespace {

int addTerm(SortedStringArray& terms, const CString& term) {
  terms.Insert(term);
  return terms.count();
}

// The first blank-separated field, with `end` set to where it stopped.
bool firstWord(const CString& s, CString& word, int& end) {
  end = 0;
  return StrNextField(s, end, ' ', word);
}

bool firstWord(const CString& s, CString& word) {
  int end = 0;
  return firstWord(s, word, end);
}

// prefix + every token of `s` cut at `delimiters`.
int addTokens(SortedStringArray& terms, const CString& s, const CString& prefix,
              const char* delimiters) {
  int pos = 0;
  CString token;
  while (StrNextToken(s, pos, delimiters, token)) terms.Insert(prefix + token);
  return terms.count();
}

// A text tagged with a language: at least four characters, ":" at 2.
bool isTagged(const CString& s) { return s.GetLength() >= 4 && s[2] == ':'; }

// prefix + first word, or nothing when the value has no word.
int addPrefixedWord(SortedStringArray& terms, const CString& value, const char* prefix) {
  CString word;
  if (!firstWord(DecodeEntities(value), word)) return terms.count();
  return addTerm(terms, CString(prefix) + word);
}

bool isRemoteIdPair(const CString& v) {
  return v.Left(2) == "0x" && v[10] == ' ' && v.Mid(11, 2) == "0x";
}

}  // namespace

// ---- Author
const CString* AuthorTermMaker::attributeName() const { return kxstr::Author; }
int AuthorTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  CString word;
  if (!firstWord(DecodeEntities(value), word) || word == "system") return terms.count();
  return addTerm(terms, word);
}

// ---- Group
const CString* GroupTermMaker::attributeName() const { return kxstr::Group; }
const CString* GroupTermMaker::indexName() const { return kxstr::UName; }
int GroupTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addPrefixedWord(terms, value, "S");
}

// ---- Hint
const CString* HintTermMaker::attributeName() const { return kxstr::Hint; }
int HintTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  const CString decoded = DecodeEntities(value);
  CString word;
  int end = 0;
  if (!firstWord(decoded, word, end)) return terms.count();
  CString rest = decoded.Mid(end);
  rest.TrimLeft(' ');
  if (isTagged(rest)) {
    CString tag = rest.Left(rest.Find(':'));
    tag.MakeUpper();
    return addTokens(terms, rest.Mid(3), tag, kWordDelimiters);
  }
  if (!rest.IsEmpty()) return addTokens(terms, rest, CString(), kWordDelimiters);
  return addTerm(terms, word);
}

// ---- Host
const CString* HostTermMaker::attributeName() const { return kxstr::Host; }
const CString* HostTermMaker::indexName() const { return kxstr::UName; }
int HostTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  int pos = 0;
  CString token;
  if (!StrNextToken(DecodeEntities(value), pos, " @", token)) return terms.count();
  return addTerm(terms, "H" + token);
}

// ---- Keyword
const CString* KeywordTermMaker::attributeName() const { return kxstr::Keyword; }
int KeywordTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addTokens(terms, DecodeEntities(value), CString(), kWordDelimiters);
}

// ---- Name
const CString* NameTermMaker::attributeName() const { return kxstr::Name; }
int NameTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  CString word;
  if (!firstWord(DecodeEntities(value), word)) return terms.count();
  return addTerm(terms, word);
}

// ---- RemoteID
const CString* RemoteIDTermMaker::attributeName() const { return kxstr::RemoteID; }
const CString* RemoteIDTermMaker::indexName() const { return kxstr::UName; }
int RemoteIDTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  if (value.GetLength() != 21 || !isRemoteIdPair(value)) return terms.count();
  return addTerm(terms, "R" + value.Mid(2, 8) + value.Mid(13, 8));
}
int RemoteIDTermMaker::makeQueryTerms(const CString& value, SortedStringArray& terms) const {
  if (value.GetLength() >= 21 && isRemoteIdPair(value))
    return addTerm(terms, "R" + value.Mid(2, 8) + value.Mid(13));
  if (value.GetLength() >= 10 && value.Left(2) == "0x") return addTerm(terms, "R" + value.Mid(2));
  return terms.count();
}

// ---- Repl, TimeCreated, TimeModified: the value as it stands
const CString* ReplTermMaker::attributeName() const { return kxstr::Repl; }
int ReplTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addTerm(terms, value);
}

const CString* TimeCreatedTermMaker::attributeName() const { return kxstr::TimeCreated; }
int TimeCreatedTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addTerm(terms, value);
}

const CString* TimeModifiedTermMaker::attributeName() const { return kxstr::TimeModified; }
const CString* TimeModifiedTermMaker::indexName() const { return kxstr::TimeCreated; }
int TimeModifiedTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addTerm(terms, value);
}

// ---- Title
const CString* TitleTermMaker::attributeName() const { return kxstr::Title; }
int TitleTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  const CString decoded = DecodeEntities(value);
  if (!isTagged(decoded)) return terms.count();
  // The tag is kept as written: titles are filed under their own code.
  const CString tag = decoded.Left(decoded.Find(':'));
  return addTokens(terms, decoded.Mid(3), tag, kWordDelimiters);
}

// ---- UGroup, UName, UServer
const CString* UGroupTermMaker::attributeName() const { return kxstr::UGroup; }
const CString* UGroupTermMaker::indexName() const { return kxstr::UName; }
int UGroupTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addPrefixedWord(terms, value, "G");
}

const CString* UNameTermMaker::attributeName() const { return kxstr::UName; }
int UNameTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addPrefixedWord(terms, value, "U");
}

const CString* UServerTermMaker::attributeName() const { return kxstr::UServer; }
const CString* UServerTermMaker::indexName() const { return kxstr::UName; }
int UServerTermMaker::makeTerms(const CString& value, SortedStringArray& terms) const {
  return addPrefixedWord(terms, value, "W");
}
