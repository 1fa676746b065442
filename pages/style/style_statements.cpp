// The statements of the style language: typed declarations, enumeration
// types and variables, structs (with or without a base and a body) and
// assignments to members, possibly along a dotted path. Errors are logged
// and reading goes on; nothing already added is undone.
#include <cstring>

#include "core/logbook.h"
#include "core/screen_geometry.h"
#include "pages/style/property_table.h"

namespace {

constexpr char kHeader[] = "<Style Description>";

PropertyKind KindOfKeyword(StyleToken t) {
  switch (t) {
    case kTokenArea: return kPropertyArea;
    case kTokenBoolean: return kPropertyBoolean;
    case kTokenColor: return kPropertyColor;
    case kTokenString: return kPropertyString;
    case kTokenValue: return kPropertyValue;
    case kTokenFile: return kPropertyFile;
    case kTokenRect: return kPropertyRect;
    default: return static_cast<PropertyKind>(0);
  }
}

bool IsTypeKeyword(StyleToken t) { return KindOfKeyword(t) != 0; }

// 0xRRGGBB as written becomes a colour reference with red in the lowest
// byte; bits above the 24 colour bits are dropped.
COLORREF ColorFromWritten(std::uint32_t v) {
  return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
}

// An own member of the kind of an inherited one, with the default value
// (an enumeration value keeps its enumeration, a struct derives from the
// inherited struct); null for an inherited enumeration type.
Property* OwnMemberLike(const Property* inherited) {
  switch (inherited->kind) {
    case kPropertyStruct: return static_cast<const PropertyStruct*>(inherited)->Instantiate();
    case kPropertyConst: {
      auto* c = new PropertyConst;
      c->SetEnumType(static_cast<const PropertyConst*>(inherited)->EnumType());
      return c;
    }
    case kPropertyEnum: return nullptr;
    default: return NewLeafProperty(inherited->kind);
  }
}

}  // namespace

void PropertyTable::ParseStyleText(const char* text) {
  if (!text || !*text) return;
  // The state of a reader that is running (there is none in practice) is
  // given back afterwards.
  const StyleLexState outer = state_, outerSaved = saved_;
  const bool outerConst = constFlag_;
  const int outerDepth = depth_;
  BeginText(text);
  state_.line = 1;
  if (std::strncmp(text, kHeader, sizeof kHeader - 1) == 0) {
    state_.position = text + sizeof kHeader - 1;
    NextToken();
    while (state_.kind != kTokenEnd) {
      ParseTopStatement();
      while (state_.kind == kTokenSemicolon) NextToken();
    }
  }
  EndText();
  state_ = outer;
  saved_ = outerSaved;
  constFlag_ = outerConst;
  depth_ = outerDepth;
}

void PropertyTable::ParseTopStatement() {
  constFlag_ = false;
  if (state_.kind == kTokenConst) {
    constFlag_ = true;
    NextToken();
  }
  if (IsTypeKeyword(state_.kind)) {
    ParseTypedDeclaration(KindOfKeyword(state_.kind), this);
    return;
  }
  if (state_.kind != kTokenIdentifier) {
    ReportError("invalid token");
    NextToken();
    return;
  }
  const CString name = state_.text;
  NextToken();
  if (state_.kind == kTokenEquals) {
    NextToken();
    if (state_.kind == kTokenOpenParen) {
      ParseEnumType(name);
      return;
    }
    UngetToken();
    ParseStructDeclaration(CString(), name, this);
  } else if (state_.kind == kTokenIdentifier) {
    ParseStructDeclaration(name, state_.text, this);
  } else {
    ReportError("= or identifier expected");
  }
}

void PropertyTable::ParseMemberStatement(PropertyStruct* target) {
  if (!target) target = this;
  const bool outerConst = constFlag_;
  constFlag_ = false;
  if (state_.kind == kTokenConst) {
    constFlag_ = true;
    NextToken();
  }
  if (IsTypeKeyword(state_.kind)) {
    ParseTypedDeclaration(KindOfKeyword(state_.kind), target);
  } else if (state_.kind == kTokenIdentifier) {
    const CString name = state_.text;
    Property* found = target->StyleQuery(name);
    if (!found) found = MemberByName(name);
    NextToken();
    const bool declaration = state_.kind == kTokenIdentifier;
    UngetToken();
    if (declaration) {
      Property* type = MemberByName(name);
      if (type && type->kind == kPropertyStruct) {
        NextToken();
        ParseStructDeclaration(name, state_.text, target);
      } else if (type && type->kind == kPropertyEnum) {
        NextToken();
        ParseEnumVariable(static_cast<PropertyEnum*>(type), target);
      } else {
        ReportError(type ? "enum or structure expected" : "unknown identifier");
        NextToken();
      }
    } else if (found) {
      ParseAssignment(target);
    } else {
      ReportError("unknown identifier");
      NextToken();
    }
  } else {
    ReportError("invalid token");
    NextToken();
  }
  constFlag_ = outerConst;
}

void PropertyTable::ParseTypedDeclaration(PropertyKind kind, PropertyStruct* target) {
  NextToken();
  if (state_.kind != kTokenIdentifier) {
    ReportError("identifier expected");
    return;
  }
  Property* entry = NewLeafProperty(kind);
  target->SetMember(state_.text, entry);
  NextToken();
  ParseValue(entry);
  entry->isConst = constFlag_;
}

void PropertyTable::ParseEnumType(const CString& name) {
  auto* type = new PropertyEnum;
  NextToken();
  while (state_.kind == kTokenIdentifier) {
    auto* value = new PropertyConst;
    value->text = state_.text;
    value->SetEnumType(type);
    type->SetMember(state_.text, value);
    NextToken();
    if (state_.kind == kTokenComma) NextToken();
  }
  if (state_.kind == kTokenCloseParen) NextToken();
  SetMember(name, type);
}

void PropertyTable::ParseStructDeclaration(const CString& typeName, const CString& name,
                                           PropertyStruct* target) {
  Property* type = nullptr;
  if (!typeName.IsEmpty()) {
    type = target->StyleQuery(typeName);
    if (!type && target != this) type = StyleQuery(typeName);
  }
  if (type && type->kind != kPropertyStruct) {
    ReportError("property " + type->GetName() + " is not a structure");
    return;
  }
  PropertyStruct* s;
  if (type) {
    s = static_cast<PropertyStruct*>(type)->Instantiate();
    s->isConst = constFlag_;
    target->SetMember(state_.text, s);
    NextToken();
  } else {
    s = new PropertyStruct;
    s->isConst = constFlag_;
    target->SetMember(name, s);
  }
  switch (state_.kind) {
    case kTokenEquals:
      NextToken();
      if (state_.kind == kTokenOpenBrace)
        ParseStructBody(s);
      else if (state_.kind == kTokenCloseBrace)
        NextToken();
      else
        ReportError("} missing");
      break;
    case kTokenOpenBrace: ParseStructBody(s); break;
    case kTokenSemicolon: break;
    default: ReportError("; missing"); break;
  }
}

void PropertyTable::ParseStructBody(PropertyStruct* target) {
  if (depth_ >= kMaxNesting) {
    ReportError("structures nested too deeply");
    SkipNestedBody();
    return;
  }
  ++depth_;
  NextToken();
  while (state_.kind != kTokenCloseBrace && state_.kind != kTokenEnd) {
    ParseMemberStatement(target);
    while (state_.kind == kTokenSemicolon) NextToken();
  }
  if (state_.kind == kTokenEnd)
    ReportError("} missing");
  else
    NextToken();
  --depth_;
}

// From an opening brace past its closing one, counting the braces between.
void PropertyTable::SkipNestedBody() {
  long open = 0;
  do {
    if (state_.kind == kTokenOpenBrace) ++open;
    if (state_.kind == kTokenCloseBrace) --open;
    NextToken();
  } while (open > 0 && state_.kind != kTokenEnd);
}

void PropertyTable::ParseEnumVariable(PropertyEnum* type, PropertyStruct* target) {
  auto* value = new PropertyConst;
  value->SetEnumType(type);
  target->SetMember(state_.text, value);
  NextToken();
  ParseValue(value);
  value->isConst = constFlag_;
}

void PropertyTable::ParseAssignment(PropertyStruct* target) {
  PropertyStruct* s = target;
  Property* member = nullptr;
  for (;;) {
    if (state_.kind != kTokenIdentifier) {
      ReportError("identifier expected");
      NextToken();
      return;
    }
    if (!s) {
      // A path that goes on below a member that is no struct names
      // nothing; the rest of it is passed over.
      while (state_.kind == kTokenIdentifier || state_.kind == kTokenDot) NextToken();
      return;
    }
    const int id = PropertyNameId(state_.text);
    member = s->MemberById(id);
    if (!member) {
      if (Property* inherited = s->LookupInherited(id)) {
        member = OwnMemberLike(inherited);
        s->SetMember(id, member);
      }
    }
    if (!member) {
      NextToken();
      return;
    }
    NextToken();
    s = member->kind == kPropertyStruct ? static_cast<PropertyStruct*>(member) : nullptr;
    if (state_.kind != kTokenDot) break;
    NextToken();
  }
  ParseValue(member);
  if (constFlag_) member->isConst = true;
}

void PropertyTable::ParseValue(Property* entry) {
  if (state_.kind != kTokenEquals) return;
  if (entry->isConst) {
    NextToken();
    CString message;
    message.Format("illegal assignment to const attribute '%s'", entry->GetName().c_str());
    ReportError(message);
    NextToken();
    return;
  }
  NextToken();
  const StyleLexState& v = state_;
  switch (entry->kind) {
    case kPropertyConst: {
      auto* c = static_cast<PropertyConst*>(entry);
      const PropertyEnum* type = c->EnumType();
      if (v.kind != kTokenIdentifier) {
        ReportError("enumeration value of type " + (type ? type->GetName() : CString("enum")) +
                    " expected");
        return;
      }
      if (type && type->Value(v.text))
        c->text = v.text;
      else
        ReportError("not a valid enumeration value " + v.text);
      break;
    }
    case kPropertyBoolean:
      if (v.kind != kTokenInteger) {
        ReportError("boolean value expected");
        return;
      }
      static_cast<PropertyBoolean*>(entry)->value = v.real != 0.0 ? 1 : 0;
      break;
    case kPropertyColor:
      if (v.kind != kTokenInteger) {
        ReportError("color value expected");
        return;
      }
      static_cast<PropertyColor*>(entry)->value =
          ColorFromWritten(static_cast<std::uint32_t>(v.integer));
      break;
    case kPropertyValue: {
      auto* value = static_cast<PropertyValue*>(entry);
      if (v.kind == kTokenInteger || v.kind == kTokenReal) {
        value->Set(v.real);
      } else if (v.kind == kTokenLiteral && ReadValue(v.text) >= 0) {
        value->Set(ReadValue(v.text));
      } else {
        ReportError("numeric value expected");
      }
      break;
    }
    case kPropertyString:
      if (v.kind != kTokenLiteral) {
        ReportError("string value expected");
        return;
      }
      static_cast<PropertyString*>(entry)->text = v.text;
      break;
    case kPropertyRect:
      if (v.kind == kTokenLiteral)
        static_cast<PropertyRect*>(entry)->rect = ReadRect(v.text);
      else
        ReportError("string containing rectangle coordinates expected");
      break;
    case kPropertyArea:
      if (v.kind != kTokenLiteral)
        ReportError("string containing area coordinates expected");
      else if (!ReadArea(v.text, static_cast<PropertyArea*>(entry)->area))
        ReportError("area coordinates syntax error");
      break;
    case kPropertyFile:
      if (v.kind == kTokenLiteral)
        static_cast<PropertyFile*>(entry)->fileName = v.text;
      else
        ReportError("string containing filename or URL expected");
      break;
    default: ReportError("invalid assignment to type or struct"); break;
  }
  NextToken();
}
