#include "pages/style/style_expressions.h"

#include <cstring>

#include "core/logbook.h"
#include "pages/shell_link.h"
#include "pages/style/property_table.h"
#include "pages/style/style_files.h"

namespace {

PropertyStruct* ParseExpression(const char* text, const PropertyStruct* base, bool lookup) {
  PropertyTable& table = StyleTable();
  table.BeginText(text ? text : "");
  table.NextToken();
  CString name;
  if (table.State().kind == kTokenIdentifier) {
    name = table.State().text;
    table.NextToken();
    if (table.State().kind != kTokenOpenParen) {
      table.UngetToken();
      name.Empty();
    }
  }
  const bool named = !name.IsEmpty();
  if (named && table.State().kind == kTokenOpenParen) table.NextToken();
  const Property* from = base;
  if (lookup && named) {
    Property* found = base ? base->StyleQuery(name) : nullptr;
    if (!found) found = table.StyleQuery(name);
    if (found && found->kind == kPropertyStruct) from = found;
  }
  PropertyStruct* result = InstantiateAnonymous(from);
  if (!result) result = new PropertyStruct;
  while (table.State().kind != kTokenCloseParen && table.State().kind != kTokenEnd) {
    if (table.State().kind == kTokenSemicolon) {
      table.NextToken();
    } else if (table.State().kind == kTokenIdentifier) {
      table.ParseMemberStatement(result);
    } else {
      table.ReportError("identifier expected");
      table.NextToken();
    }
  }
  if (named) {
    if (table.State().kind == kTokenCloseParen)
      table.NextToken();
    else
      TheLogbook().Write(CString(") missing in style assignment ") + (text ? text : ""));
  }
  table.EndText();
  return result;
}

}  // namespace

PropertyStruct* InstantiateStruct(const PropertyStruct* type) {
  return type ? type->Instantiate() : nullptr;
}

PropertyStruct* InstantiateAnonymous(const Property* type) {
  if (!type || type->kind != kPropertyStruct) return nullptr;
  PropertyStruct* s = static_cast<const PropertyStruct*>(type)->Instantiate();
  s->nameId = kNoName;
  return s;
}

PropertyStruct* ApplyStyleAssignments(const char* text, const PropertyStruct* base) {
  return ParseExpression(text, base, true);
}

PropertyStruct* ApplyStyleAssignmentsTo(const char* text, const PropertyStruct* base) {
  return ParseExpression(text, base, false);
}

CString GetStyleName(const char* text) {
  if (!text || !*text) return CString();
  PropertyTable& table = StyleTable();
  table.BeginText(text);
  CString name;
  if (table.NextToken() == kTokenIdentifier) {
    const CString first = table.State().text;
    if (table.NextToken() == kTokenOpenParen) name = first;
  }
  table.EndText();
  return name;
}

void LoadOnlineStyle(const char* text) {
  if (!text) return;
  const char* close = std::strrchr(text, ')');
  if (!close) return;
  const char* in = std::strstr(close + 1, "in ");
  if (!in) return;
  const char* ref = in + 3;
  while (*ref == ' ' || *ref == '\t' || *ref == '\r' || *ref == '\n') ++ref;
  if (!*ref) return;
  CString reference(ref);
  reference.TrimRight();
  const CString local = Shell().FetchCached(reference);
  if (local.IsEmpty()) {
    TheLogbook().Write("Cannot access online style from " + reference);
    return;
  }
  LoadStyleFile(local);
}
