// Attribute term makers: one per indexed attribute, each turning a value of
// its attribute into the index terms under which the local database files
// the object (makeTerms) or looks a value up (makeQueryTerms).
//
// Names of users, groups, user servers, hosts, object groups and remote ids
// share one index and are told apart by a one-letter prefix (U, G, W, H, S,
// R); creation and modification times share the index of TimeCreated.
#pragma once

#include "core/string_array.h"
#include "mfc/cstring.h"

class AttributeTermMaker {
 public:
  virtual ~AttributeTermMaker() = default;

  // The key-name constant of the attribute served (null while the registry
  // is not built).
  virtual const CString* attributeName() const = 0;
  // Inserts the terms of `value` into `terms`; returns the array's count
  // afterwards, terms it held before included.
  virtual int makeTerms(const CString& value, SortedStringArray& terms) const = 0;
  // The terms to look a value up by; those of makeTerms unless said below.
  virtual int makeQueryTerms(const CString& value, SortedStringArray& terms) const {
    return makeTerms(value, terms);
  }
  // The key-name constant of the index that receives the terms.
  virtual const CString* indexName() const { return attributeName(); }
};

// Each maker below works on the value with its entity references decoded,
// except RemoteID, Repl, TimeCreated and TimeModified, which take it as is.
// "first word" is the first blank-separated field; "tokens" are the runs
// between characters of kWordDelimiters.

// The first word, unless it is exactly "system".
class AuthorTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// "S" + first word; index UName.
class GroupTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// A hint is a kind word and a text. A text tagged with a language ("en:...")
// gives the upper-cased tag + each token; an untagged text gives its tokens;
// a lone word gives itself.
class HintTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// "H" + the first token cut at a blank or "@"; index UName.
class HostTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// Every token.
class KeywordTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// The first word.
class NameTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// A remote id "0x%08x 0x%08x" (exactly 21 characters) gives "R" and the
// sixteen hex digits; index UName. Lookups also accept a longer second
// number, or a single "0x" number of at least 10 characters.
class RemoteIDTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
  int makeQueryTerms(const CString& value, SortedStringArray& terms) const override;
};

// The value itself.
class ReplTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// The value itself.
class TimeCreatedTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// The value itself; index TimeCreated.
class TimeModifiedTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// A title tagged with its language ("en:Hello World") gives tag + each token
// ("enHello", "enWorld"); an untagged title gives nothing.
class TitleTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// "G" + first word; index UName.
class UGroupTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// "U" + first word; index UName.
class UNameTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};

// "W" + first word; index UName.
class UServerTermMaker : public AttributeTermMaker {
 public:
  const CString* attributeName() const override;
  const CString* indexName() const override;
  int makeTerms(const CString& value, SortedStringArray& terms) const override;
};
