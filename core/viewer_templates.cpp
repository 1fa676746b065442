// Expanding viewer command templates and finding them in the settings.
#include "core/viewer_templates.h"

#include "framework/app_services.h"
#include "core/document.h"
#include "core/generic_document.h"
#include "core/viewer_launch.h"

namespace {

bool IsTokenSeparator(char c) { return c == ' ' || c == '\t' || c == '$'; }

// The value of a "$name" token; false for a name the table does not know.
bool VariableValue(const CString& token, const ViewerVariables& v, CString& out) {
  struct Named {
    const char* name;
    const CString* value;
  };
  const Named table[] = {{"$title", &v.title},     {"$doctype", &v.doctype},
                         {"$path", &v.path},       {"$author", &v.author},
                         {"$created", &v.created}, {"$language", &v.language},
                         {"$subtype", &v.subtype}, {"$host", &v.host},
                         {"$port", &v.port}};
  for (const Named& n : table)
    if (token == n.name) {
      out = *n.value;
      return true;
    }
  if (token.GetLength() == 5 && token.Left(4) == "$arg" && token[4] >= '0' && token[4] <= '9') {
    out = v.args[token[4] - '0'];
    return true;
  }
  return false;
}

}  // namespace

int SplitWords(const CString& text, CString* words, int maxWords) {
  int count = 0;
  int i = 0;
  const int n = text.GetLength();
  while (i < n && count < maxWords) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= n) break;
    const int start = i;
    while (i < n && text[i] != ' ' && text[i] != '\t') ++i;
    words[count++] = text.Mid(start, i - start);
  }
  return count;
}

std::vector<std::string> ExpandViewerArguments(const CString& commandTemplate, const ViewerVariables& vars,
                                               bool appendFileArgument) {
  const CString& t = commandTemplate;
  const int n = t.GetLength();
  std::vector<std::string> args;
  int i = 0;
  while (i < n) {
    while (i < n && IsTokenSeparator(t[i])) ++i;
    if (i >= n) break;
    const int start = i;
    while (i < n && !IsTokenSeparator(t[i])) ++i;
    CString token = t.Mid(start, i - start);
    bool glued = false;
    if (start > 0 && t[start - 1] == '$') {
      token = "$" + token;
      glued = start >= 2 && t[start - 2] != ' ';
    }
    // A value joins the argument it is glued to, or is an argument of its
    // own, whatever blanks or quotes it holds.
    CString value;
    if (VariableValue(token, vars, value)) token = value;
    if (glued && !args.empty())
      args.back() += token.str();
    else
      args.push_back(token.str());
  }
  if (appendFileArgument && t.Find(kInternalViewerCommand) < 0 && t.Find("$arg0") < 0)
    args.push_back(vars.args[0].str());
  return args;
}

CString ExpandViewerTemplate(const CString& commandTemplate, const ViewerVariables& vars,
                             bool appendFileArgument) {
  return JoinCommandLine(ExpandViewerArguments(commandTemplate, vars, appendFileArgument));
}

CString ViewerTemplateSetting(const CString& section, const CString& key) {
  if (section.IsEmpty() || key.IsEmpty()) return CString();
  CString value;
  if (!GetAppProfileString(section.c_str(), key.c_str(), "", value)) return CString();
  return value;
}

CString Document::buildViewerCommand(const CString& commandTemplate, const CString& fileArgument) {
  ViewerVariables v;
  const CString type = getDocumentType();
  v.title = getTitle();
  v.doctype = type;
  v.path = getPath();
  v.author = getAuthor();
  v.created = getTimeCreated();
  v.language = getTitleLanguage();
  if (type == kxdoc::kGeneric) {
    v.subtype = subType;
    const auto* generic = dynamic_cast<const GenericDocument*>(this);
    const CString arguments =
        generic ? generic->getArguments() : getAttribute(kxgeneric::kArgumentsKey);
    SplitWords(arguments, v.args, 10);
  }
  if (type == kxdoc::kRemote) {
    v.host = getHost();
    v.port = getPort();
  }
  v.args[0] = fileArgument;
  return ExpandViewerTemplate(commandTemplate, v, type != kxdoc::kGeneric);
}
