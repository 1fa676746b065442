#include "app/commands/command_texts.h"

const MultiLangString& NoParentText() {
  static const MultiLangString text = MultiLangString::Compose(
      "en:No parent found or access denied!", "ge:Kein Vater gefunden oder keine Berechtigung!");
  return text;
}

const MultiLangString& NoMatchText() {
  static const MultiLangString text = MultiLangString::Compose(
      "en:No matching object found!", "ge:Kein passendes Objekt gefunden!");
  return text;
}

const MultiLangString& SearchResultTitle() {
  static const MultiLangString text = MultiLangString::Compose(
      "en:Results of search for %s", "ge:Ergebnisse der Suche nach %s");
  return text;
}

// Latin-1, as the titles of the server's objects are.
const MultiLangString& ParentsTitle() {
  static const MultiLangString text = MultiLangString::Compose(
      "en:Parent Collection(s) of \"%s\"", "ge:\"%s\" geh\xF6rt zu",
      "fr:Parents de la(les) Collection(s) \"%s\"", "st:\"%s\" gheart zua");
  return text;
}

const MultiLangString& HistoryTitle() {
  static const MultiLangString text = MultiLangString::Compose(
      "en:Latest Commands", "ge:Die letzten Kommandos",
      "fr:Derni\xE8res commandes ex\xE9" "cut\xE9" "es", "st:Des worn d'letztn Bef\xF6hle");
  return text;
}

CString AnyLanguageTitle(const CString& text) { return CString("Title=??:") + text + "\n"; }

CString FormatText(const MultiLangString& text, const CString& argument) {
  // Replaced by hand: a title holding "%" must not be read as a directive.
  CString pattern = text.Text();
  CString out;
  const int at = pattern.Find("%s");
  if (at < 0) return pattern;
  out = pattern.Left(at) + argument + pattern.Mid(at + 2);
  return out;
}
