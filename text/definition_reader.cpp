// The reader of definition-language files. A file is a sequence of sections
// introduced by keywords; a malformed section is dropped and reading goes on
// at the next keyword. Nothing is reported.
#include "text/def_lexer.h"
#include "text/definition_set.h"
#include "text/string_translator.h"

namespace {

CString Upper(const CString& s) {
  CString u = s;
  u.MakeUpper();
  return u;
}

// The next item, or false at the end; a separator is pushed back and also
// gives false, with `separator` set.
bool NextWord(DefLexer& lexer, CString& item, bool& separator) {
  separator = false;
  if (!lexer.NextItem(item)) return false;
  if (lexer.lastWasSeparator()) {
    lexer.PushBack(item);
    separator = true;
    return false;
  }
  return true;
}

}  // namespace

bool DefinitionSet::Read(std::istream& in) {
  StringTranslator& translator = StringTranslator::Instance();
  translator.SetListSource(this);
  translator.SetValueTable(nullptr);
  DefLexer lexer(in);
  lexer.SetTranslator(&translator);
  CString item;
  while (lexer.NextItem(item)) {
    const CString keyword = Upper(item);
    if (keyword == "STRINGTRANSLATIONLIST") {
      auto list = std::make_unique<TranslationList>();
      if (list->Read(lexer)) AddList(std::move(list));
    } else if (keyword == "STYLE") {
      StyleDefinition style;
      if (style.Read(lexer)) AddStyle(style);
    } else if (keyword == "ACTION") {
      ReadAction(lexer);
    } else if (keyword == "EVENT") {
      ReadEvent(lexer);
    } else if (keyword == "PREFORMATEDTAGS") {
      ReadPreformatted(lexer);
    }
  }
  return true;
}

void DefinitionSet::ReadAction(DefLexer& lexer) {
  CString name;
  bool separator = false;
  if (!NextWord(lexer, name, separator)) return;
  if (lexer.NextSeparator("{") == 0) return;
  Action action(name);
  for (;;) {
    CString key;
    if (!lexer.NextItem(key)) break;
    if (lexer.lastWasSeparator()) {
      lexer.PushBack(key);
    } else {
      const char c = lexer.NextSeparator("=,}");
      if (c == '=') {
        CString value;
        if (lexer.NextItem(value) && lexer.lastWasSeparator()) {
          lexer.PushBack(value);
          value = CString();
        }
        const CString head = Upper(key.Left(5));
        if (head == "FUNCT")
          action.SetKind(DefinitionAtoi(value));
        else if (head == "PARAM")
          action.SetParameter(DefinitionAtoi(key.Mid(5)), value);
      } else if (c) {
        lexer.PushBack(CString(c));
      }
    }
    if (lexer.NextSeparator(",}") != ',') break;
  }
  AddAction(action);
}

void DefinitionSet::ReadEvent(DefLexer& lexer) {
  CString header;
  bool separator = false;
  if (!NextWord(lexer, header, separator)) return;
  const int bar1 = header.Find('|');
  const int bar2 = bar1 < 0 ? -1 : header.Find('|', bar1 + 1);
  if (bar2 < 0) {
    lexer.PushBack(header);
    return;
  }
  if (lexer.NextSeparator("{") == 0) return;
  EventDefinition event;
  event.tag = header.Left(bar1);
  event.attribute = header.Mid(bar1 + 1, bar2 - bar1 - 1);
  event.value = header.Mid(bar2 + 1);
  for (;;) {
    CString name;
    if (!lexer.NextItem(name)) break;
    if (lexer.lastWasSeparator())
      lexer.PushBack(name);
    else if (const Action* action = FindAction(name.view()))
      event.actions.push_back(*action);
    if (lexer.NextSeparator(",}") != ',') break;
  }
  AddEvent(std::move(event));
}

void DefinitionSet::ReadPreformatted(DefLexer& lexer) {
  if (lexer.NextSeparator("{") == 0) return;
  for (;;) {
    CString name;
    if (!lexer.NextItem(name)) return;
    AddPreformatted(name);
    if (lexer.NextSeparator("},") != ',') return;
  }
}
