// A named table of string translations, written in a definition file as
// STRINGTRANSLATIONLIST NAME { key = value, ... }: "@NAME(key)" references
// expand to the value of the upper-cased key.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/string_hash_table.h"

class DefLexer;

class TranslationList : public ListElement {
 public:
  static constexpr int kBuckets = 53;

  explicit TranslationList(const CString& name = CString()) : name_(name), table_(kBuckets) {}

  const CString& name() const { return name_; }
  // The key is upper-cased; an existing key gets the new value.
  void Set(const CString& key, const CString& value);
  // `key` as given (it is upper-cased here); null when absent.
  const CString* Lookup(std::string_view key) const;
  int Count() const { return table_.Count(); }

  // Reads "NAME { key = value, ... }" after the keyword. False, and the list
  // is to be dropped, when no name or no "{" was found.
  bool Read(DefLexer& lexer);

 private:
  CString name_;
  StringHashTable<CString> table_;
  // A key longer than every stored key cannot match; knowing that spares
  // hashing a reference that runs to the end of a long text.
  size_t longestKey_ = 0;
};

// Where "@" references find their lists (the definition set of a type).
class TranslationListSource {
 public:
  virtual ~TranslationListSource();
  // The first list of that exact name, or null.
  virtual const TranslationList* FindList(std::string_view name) const = 0;
};
