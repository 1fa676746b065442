#include "text/document/document_types.h"

#include <fstream>

#include "text/definition_set.h"
#include "text/draw/draw_styles.h"
#include "win/path_map.h"

namespace {

struct TypeState {
  DefinitionSet definitions;
  long constructed = 0;
};

TypeState& stateOf(DocumentType type) {
  static TypeState html;
  static TypeState ktf;
  return type == DocumentType::kHtml ? html : ktf;
}

CString inDefinitionDir(const char* name) {
  return TextProfileString("TextViewer", "HTMLDir", ".") + "\\" + name;
}

}  // namespace

CString ElementDefinitionPath(DocumentType type) {
  return inDefinitionDir(type == DocumentType::kHtml ? "HTML.pri" : "KTF.pri");
}

CString DefinitionPath(DocumentType type) {
  return inDefinitionDir(type == DocumentType::kHtml ? "HTML.sty" : "KTF.sty");
}

DefinitionSet& SharedDefinitions(DocumentType type) { return stateOf(type).definitions; }

bool CountDocument(DocumentType type) {
  TypeState& state = stateOf(type);
  if (state.constructed++ > 0) return false;
  std::ifstream in(win::HostPath(DefinitionPath(type).c_str()));
  if (in) state.definitions.Read(in);
  return true;
}
