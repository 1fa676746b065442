// The program's one engine of text substitutions, used on definition-file
// lines while they are read and on action parameters when an event runs:
//   $NAME  the value of attribute NAME (and the result is scanned again),
//   ^NAME  the value of attribute NAME, not scanned again,
//   ?NAME  "1" when the attribute is present, else "0",
//   @LIST(key) or @LIST key  the value of the upper-cased key in a
//          translation list.
// A name is the text in parentheses right after the marker, or the next run
// of characters without blanks, tabs, line feeds and parentheses. A final
// clean-up removes value references that stayed unresolved and replaces an
// unresolved "@LIST(key)" by its key; any other "@" is left as it stands,
// since values such as mail addresses contain it.
#pragma once

#include <istream>
#include <string>

#include "mfc/cstring.h"

class ValueTable;
class TranslationListSource;

class StringTranslator {
 public:
  enum Mode { kValues = 0, kLists = 1, kBoth = 2 };
  // A "$" value may refer to itself or grow on each round; the rounds and
  // the length of the work text are capped so that such a document cannot
  // hang the client. What is left unresolved then goes in the clean-up.
  static constexpr int kMaxRounds = 32;
  static constexpr size_t kMaxLength = 64 * 1024;

  // The one translator of the program.
  static StringTranslator& Instance();

  // -1 for an empty input, 0 when the result is empty, else its length.
  // Explicit tables, when not null, are used instead of the translator's.
  int Translate(const CString& input, CString& out, const ValueTable* values,
                const TranslationListSource* lists, Mode mode, bool final);
  // One physical line of `in` (see ReadDefinitionLine), translated; -1 when
  // nothing could be read.
  int ReadLine(std::istream& in, CString& out, const ValueTable* values,
               const TranslationListSource* lists, Mode mode, bool final);

  void SetListSource(const TranslationListSource* lists) { lists_ = lists; }
  void SetValueTable(const ValueTable* values) { values_ = values; }
  const TranslationListSource* listSource() const { return lists_; }
  const ValueTable* valueTable() const { return values_; }

 private:
  const TranslationListSource* lists_ = nullptr;
  const ValueTable* values_ = nullptr;
  std::string line_;
};
