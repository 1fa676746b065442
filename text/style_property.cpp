#include "text/style_property.h"

#include <cstdio>
#include <cstdlib>

#include "text/anchors/anchor_record.h"
#include "text/build/viewer_interfaces.h"
#include "text/definition_set.h"
#include "text/item_pool.h"
#include "text/link_maker.h"
#include "text/position/position.h"
#include "text/style_definition.h"
#include "text/token_source.h"

LinkMaker::~LinkMaker() = default;
CString LinkMaker::MakeAnchorLink(const CString& text) { return text; }
CString LinkMaker::MakeUrlLink(const CString& text, const CString&) { return text; }
void LinkMaker::EncodeFormSubmission(const Form&, CString& action, CString& query) {
  action.Empty();
  query.Empty();
}

StyleProperty::~StyleProperty() = default;

bool StyleProperty::SetParams(const PropertyParams& params) {
  params_ = &params;
  return true;
}

const PropertyParams& StyleProperty::NoParams() {
  static const PropertyParams none;
  return none;
}

LONG StyleProperty::Number(int n) const { return DefinitionAtoi(P(n)); }

CString StyleProperty::Resolved(const CString& value, bool urlLink, const CString& linkType) const {
  if (in_.link) return in_.link->Text();
  const CString anchor = in_.source ? in_.source->ResolveAnchor(value) : value;
  if (!in_.document) return anchor;
  return urlLink ? in_.document->MakeUrlLink(anchor, linkType) : in_.document->MakeAnchorLink(anchor);
}

bool ReadColorParam(const CString& text, ColorRecord& color) {
  unsigned value = 0;
  if (std::sscanf(text.c_str(), "#%6X", &value) != 1 && std::sscanf(text.c_str(), "%6X", &value) != 1) return false;
  color = ColorRecord::FromRgbNumber(value);
  return true;
}

namespace {

// Every event makes a property per action and drops it at once: the
// properties come from the pools of small objects.

bool HasPercent(const CString& s) { return s.Find('%') >= 0; }

// A numbered parameter with a default for the empty text.
LONG NumberOr(const CString& s, LONG fallback) { return s.IsEmpty() ? fallback : DefinitionAtoi(s); }

class Simple : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Simple)
  bool Apply(ViewerFaces& v) override {
    BuilderInterface& b = *v.builder;
    const LONG at = in_.position;
    switch (kind_) {
      case 1: return b.AddWord(at) != nullptr;
      case 2: return b.AddParagraph(at) != nullptr;
      case 4: return b.AddTableRow(at, Number(1)) != nullptr;
      case 5: return b.AddListItem(at, Number(1)) != nullptr;
      case 6: return b.AddListItem2(at, Number(1)) != nullptr;
      case 11: return b.SetHolder(at, Number(1), P(2));
      case 12: return b.AddText(at, Number(2), P(1).view());
      case 13: return b.EndAtom(at) != nullptr;
      case 29: return b.PassToCurrent(at);
      case 33: return b.AddWordSpace(at);
      default: return false;
    }
  }
};

class Table : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Table)
  bool Apply(ViewerFaces& v) override {
    TableAttrs a;
    a.border = Number(1) == 0 ? 0 : NumberOr(P(2), 1);
    a.spacing = NumberOr(P(3), 2);
    a.padding = NumberOr(P(4), 1);
    if (!P(5).IsEmpty()) {
      a.width = Number(5);
      a.hasWidth = 1;
      a.widthPercent = HasPercent(P(5)) ? 1 : 0;
    }
    a.wrap = Number(6) == 0 ? 1 : 0;
    return v.builder->AddTable(in_.position, a) != nullptr;
  }
};

class TableItem : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(TableItem)
  bool Apply(ViewerFaces& v) override {
    CellAttrs a;
    a.colSpan = NumberOr(P(1), 1);
    a.rowSpan = NumberOr(P(2), 1);
    a.width = Number(3);
    a.widthPercent = HasPercent(P(3)) ? 1 : 0;
    return v.builder->AddTableItem(in_.position, a) != nullptr;
  }
};

class Picture : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Picture)
  bool Apply(ViewerFaces& v) override {
    // A size given in percent is left to the picture.
    const LONG width = HasPercent(P(3)) ? 0 : Number(3);
    const LONG height = HasPercent(P(4)) ? 0 : Number(4);
    if (Number(1) == 0) return v.builder->AddPicture(in_.position, P(2), Resolved(P(2)), 0, width, height) != nullptr;
    return v.builder->AddPicture(in_.position, P(2), CString(), 1, width, height) != nullptr;
  }
};

class FormStart : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(FormStart)
  bool Apply(ViewerFaces& v) override {
    return v.builder->SetForm(Resolved(P(1), true), std::atol(P(2)), std::atol(P(3)), in_.formOwner);
  }
};

class FormField : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(FormField)
  bool Apply(ViewerFaces& v) override {
    FormFieldRecord record;
    for (int i = 0; i < FormFieldRecord::kCount; ++i) record[i] = P(i + 2);
    // The last string is the link of the field's picture (the eleventh).
    record[FormFieldRecord::kCount - 1] = Resolved(P(11));
    return v.builder->AddFormField(in_.position, Number(1), record) != nullptr;
  }
};

class Rule : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Rule)
  bool Apply(ViewerFaces& v) override {
    if (static_cast<BYTE>(Number(1)) == 0) return v.builder->AddHorizontalRule(in_.position, Number(3)) != nullptr;
    return v.builder->AddPicture(in_.position, P(2), Resolved(P(2)), 0, 0, 0) != nullptr;
  }
};

class Marker : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Marker)
  bool Apply(ViewerFaces& v) override {
    BuilderInterface& b = *v.builder;
    const LONG at = in_.position;
    // The codes of the position items, as the definition files write them.
    switch (Number(1)) {
      case 0x120: return b.AddLineBreak(at) != nullptr;
      case 0x111: return b.AddTab(at, P(2), Number(3)) != nullptr;
      case 0x112: return b.AddBorderMark(at, P(2), Number(3)) != nullptr;
      case 0x110: return b.AddTabStop(at, P(2), Number(3), TabStopValues{1, 1, Number(4)}) != nullptr;
      case 0x210: return b.AddTableRowItem(at) != nullptr;
      case 0x310:
        return b.AddOption(P(2), static_cast<BYTE>(std::atol(P(3))), P(4), static_cast<BYTE>(std::atol(P(5))), P(6)) !=
               nullptr;
      default: return false;
    }
  }
};

// Opens (kind 15) or closes (kind 16) an element of a named style, or of
// the style of a colour when no name is given.
class Element : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Element)
  bool Apply(ViewerFaces& v) override {
    if (!in_.definitions) return false;
    StyleDefinition* def = nullptr;
    if (!P(1).IsEmpty()) {
      def = in_.definitions->FindStyle(P(1).view());
    } else {
      ColorRecord c;
      ReadColorParam(P(2), c);
      def = in_.definitions->GetColorStyle(c.red, c.green, c.blue, 100);
    }
    if (!def) return false;
    return kind_ == 15 ? v.elements->PushElement(def) : v.elements->PopElement(def);
  }
};

class Counters : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Counters)
  bool Apply(ViewerFaces& v) override {
    CounterInterface& c = *v.counters;
    switch (kind_) {
      case 17: return c.PushLevel(Number(1), Number(2), P(4), static_cast<BYTE>(Number(3)));
      case 18: return c.PopLevel(Number(1));
      case 19: return c.SetValue(Number(1), static_cast<BYTE>(Number(2)), Number(3));
      case 20: return c.AddValue(Number(1), Number(2));
      default: return false;
    }
  }
};

// A list label: the counter's label (mode 0) or a picture (1) or a Dingbat
// (2), held by the current list item.
class Counter : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Counter)
  bool Apply(ViewerFaces& v) override {
    BuilderInterface& b = *v.builder;
    const LONG at = in_.position;
    b.SetHolder(at, 0x170000, "Counter");
    b.AddList(at);
    bool result = false;
    switch (Number(1)) {
      case 0: result = Pieces(v); break;
      case 1: result = PictureLabel(b, 0, P(2), Resolved(P(2)), 0); break;
      case 2: result = PictureLabel(b, 0, P(2), CString(), 1); break;
      default: break;
    }
    b.EndAtom(at);
    return result;
  }

 private:
  static bool PictureLabel(BuilderInterface& b, LONG p, const CString& name, const CString& link, BYTE inlineFlag) {
    if (!b.AddPicture(p, name, link, inlineFlag, 0, 0)) return false;
    b.EndAtom(p + 500);
    return true;
  }

  bool Pieces(ViewerFaces& v) {
    BuilderInterface& b = *v.builder;
    List pieces;
    if (!v.counters->FormatLabel(Number(2), pieces)) {
      pieces.clearAndDelete();
      return false;
    }
    bool result = true;
    LONG p = 0;
    for (ListElement* e = pieces.first(); e && result; e = e->next(), p += 1000) {
      auto* piece = static_cast<LabelPiece*>(e);
      if (piece->kind == 0) {
        const bool word = b.AddWord(p) != nullptr;
        b.AddText(p, 0, piece->text.view());
        if (word) b.EndAtom(p + 500);
        result = word;
      } else if (piece->kind == 1) {
        // A picture label loads the picture the piece names.
        result = PictureLabel(b, p, piece->text, Resolved(piece->text), 0);
      } else {
        result = PictureLabel(b, p, piece->text, CString(), 1);
      }
    }
    pieces.clearAndDelete();
    return result;
  }
};

class Anchors : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Anchors)
  bool Apply(ViewerFaces& v) override {
    AnchorInterface& a = *v.anchors;
    const Position at(in_.position);
    switch (kind_) {
      case 22: {
        if (Number(2) == 0) return false;
        AnchorRecord* def = a.AddDefinition(Resolved(P(1), true, P(3)));
        return def && a.AddAnchor(at, def) != nullptr;
      }
      case 23: {
        if (P(1).IsEmpty()) return false;
        const CString name = in_.source ? in_.source->ResolveAnchor(P(1)) : P(1);
        AnchorRecord* def = a.FindDefinition(name);
        return def && a.EndAnchor(at, def) != nullptr;
      }
      case 24:
        a.EndLastAnchor(at);
        return false;
      case 35: return a.AddNamedAnchor(at, Upper(P(1))) != nullptr;
      case 36: return a.EndNamedAnchor(at, Upper(P(1))) != nullptr;
      default: return false;
    }
  }
  static CString Upper(const CString& s) {
    CString u = s;
    u.MakeUpper();
    return u;
  }
};

class Suspend : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Suspend)
  bool RunsWhenSuspended() const override { return true; }
  bool Apply(ViewerFaces&) override {
    if (in_.dispatcherFlags) {
      if (kind_ == 25)
        *in_.dispatcherFlags |= kDispatchSuspended;
      else
        *in_.dispatcherFlags &= ~kDispatchSuspended;
    }
    return true;
  }
};

class Setup : public StyleProperty {
 public:
  using StyleProperty::StyleProperty;
  ZEMRA_POOLED(Setup)
  bool SetParams(const PropertyParams& params) override {
    StyleProperty::SetParams(params);
    if (kind_ != 32) return true;
    colorRead_ = ReadColorParam(P(2), color_);
    return colorRead_;
  }
  bool Apply(ViewerFaces& v) override {
    SetupInterface& s = *v.setup;
    switch (kind_) {
      case 31: return s.RequestDocumentPicture(P(1), Resolved(P(1)));
      case 32:
        if (!colorRead_) return false;
        s.SetColorPair(Number(1), color_);
        return true;
      case 34: {
        CString text = P(2);
        text.Replace('\n', ' ');
        text.Replace('\r', ' ');
        s.SetName(Anchors::Upper(P(1)), text);
        return true;
      }
      default: return false;
    }
  }

 private:
  ColorRecord color_;
  bool colorRead_ = false;
};

}  // namespace

std::unique_ptr<StyleProperty> CreateStyleProperty(int kind, const PropertyInputs& in) {
  switch (kind) {
    case 1: case 2: case 4: case 5: case 6: case 11: case 12: case 13: case 29: case 33:
      return std::make_unique<Simple>(kind, in);
    case 3: return std::make_unique<Table>(kind, in);
    case 7: return std::make_unique<Picture>(kind, in);
    case 8: return std::make_unique<FormStart>(kind, in);
    case 9: return std::make_unique<FormField>(kind, in);
    case 10: return std::make_unique<Rule>(kind, in);
    case 14: return std::make_unique<Marker>(kind, in);
    case 15: case 16: return std::make_unique<Element>(kind, in);
    case 17: case 18: case 19: case 20: return std::make_unique<Counters>(kind, in);
    case 21: return std::make_unique<Counter>(kind, in);
    case 22: case 23: case 24: case 35: case 36: return std::make_unique<Anchors>(kind, in);
    case 25: case 26: return std::make_unique<Suspend>(kind, in);
    case 30: return std::make_unique<TableItem>(kind, in);
    case 31: case 32: case 34: return std::make_unique<Setup>(kind, in);
    default: return nullptr;
  }
}

bool RunActions(const std::vector<Action>& actions, const PropertyInputs& inputs, ViewerFaces& viewer) {
  bool result = true;
  for (const Action& action : actions) {
    std::unique_ptr<StyleProperty> property = CreateStyleProperty(action.kind(), inputs);
    if (!property) {
      result = false;
      continue;
    }
    if (inputs.dispatcherFlags && (*inputs.dispatcherFlags & kDispatchSuspended) && !property->RunsWhenSuspended())
      continue;
    property->SetParams(action.parameters());
    result = property->Apply(viewer);
  }
  return result;
}
