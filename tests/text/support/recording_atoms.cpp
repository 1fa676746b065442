#include "text/support/recording_atoms.h"

#include <string>

#include "text/form/form.h"
#include "text/style/resolved_style.h"

int TestPicture::alive = 0;

RecordingAtom::RecordingAtom(RecordingFactory* factory, DWORD mask, std::string kind, LONG start,
                             ResolvedStyle* style)
    : Atom(start), factory_(factory), mask_(mask), kind_(std::move(kind)), style_(style) {
  ++factory_->live;
  ++factory_->made;
}

RecordingAtom::~RecordingAtom() {
  for (Atom* c : children_) delete c;
  for (PositionItem* i : items_) delete i;
  delete label_;
  if (picture_) picture_->release();
  if (mask_ == kFormMask && field_.action) field_.action->Release();
  --factory_->live;
}

bool RecordingAtom::AppendText(CString& out, const Position&, const Position&, BOOL, LONG) {
  out += text_.c_str();
  for (Atom* c : children_) {
    CString part;
    c->AppendText(part, FirstPosition(), LastPosition(), TRUE, 0);
    out += part;
  }
  return true;
}

bool RecordingAtom::AddChild(Atom* child) {
  auto* c = static_cast<RecordingAtom*>(child);
  factory_->log.push_back("add " + kind_ + "<-" + c->kind_);
  bool leaf = mask_ == kWordMask || mask_ == kPictureMask || mask_ == kHorizontalRuleMask;
  if (refuseChildren || leaf) return false;
  children_.push_back(child);
  return true;
}

bool RecordingAtom::AddText(std::string_view text, LONG position, LONG textKind, ResolvedStyle* style) {
  factory_->log.push_back("text " + kind_ + "@" + std::to_string(position) + " '" + std::string(text) + "'" +
                          (textKind ? " kind " + std::to_string(textKind) : ""));
  (void)style;
  if (mask_ != kWordMask && mask_ != kFormMask) return false;
  text_ += text;
  return true;
}

bool RecordingAtom::SetStyle(ResolvedStyle* style, LONG second) {
  factory_->log.push_back("style " + kind_ + " " + std::to_string(second));
  style_ = style;
  return true;
}

bool RecordingAtom::AdoptLabel(const DWORD* typeMask, Atom* label) {
  factory_->log.push_back("adopt " + kind_ + "<-" + static_cast<RecordingAtom*>(label)->kind_);
  if (!typeMask || *typeMask != kListItemMask || mask_ != kListItemMask) return false;
  delete label_;
  label_ = label;
  return true;
}

bool RecordingAtom::SetEnd(LONG end) {
  factory_->log.push_back("end " + kind_ + "@" + std::to_string(end));
  if (refuseEnd) return false;
  return Atom::SetEnd(end);
}

bool RecordingAtom::ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  if (to.Number() < start_ || (end_ >= 0 && from.Number() > end_)) return false;
  appliedStyles.push_back(change);
  for (Atom* c : children_) c->ApplyStyle(from, to, change);
  return true;
}

bool RecordingAtom::SetMarks(const Position& from, const Position& to, BYTE bits) {
  marks_ |= bits;
  markedRanges.emplace_back(from.Number(), to.Number());
  return true;
}

bool RecordingAtom::ClearMarks(const Position& from, const Position& to, BYTE bits) {
  marks_ &= static_cast<BYTE>(~bits);
  markedRanges.emplace_back(-from.Number() - 1, -to.Number() - 1);
  return true;
}

bool RecordingAtom::AddItem(PositionItem* item) {
  DWORD kind = item->TypeMask();
  bool take = ((mask_ & kParagraphMask) == kParagraphMask && (kind & kParagraphItemBit)) ||
              (mask_ == kTableMask && (kind & kTableItemBit)) || (mask_ == kFormMask && kind == kOptionKind);
  if (take) items_.push_back(item);
  return take;
}

int RecordingAtom::Extent(LayoutRect& out, TextOutput*, const Position&, const Position&, int) {
  out = LayoutRect::Of(start_, end_ < 0 ? start_ : end_, 0, 10);
  return 0;
}

namespace {

std::string styleSummary(const ResolvedStyle* style) {
  if (!style) return "";
  std::string out;
  const TextStyle& s = style->Style();
  BYTE flags = s.displayFlags.mask;
  if (flags & 0x01) out += "b";
  if (flags & 0x02) out += "u";
  if (flags & 0x04) out += "i";
  if (s.displayBaseStyle.mode != StyleValue::kUnset && s.displayBaseStyle.value != 0)
    out += "f" + std::to_string(s.displayBaseStyle.value);
  if (s.scale.mode != StyleValue::kUnset && s.scale.value != 100) out += "s" + std::to_string(s.scale.value);
  if (s.colorSet && s.color.isSet()) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", s.color.red, s.color.green, s.color.blue);
    out += hex;
  }
  return out.empty() ? "" : "{" + out + "}";
}

}  // namespace

std::string RecordingAtom::Tree(bool styles) const {
  std::string out = kind_;
  if (styles && (mask_ == kWordMask || mask_ == kPictureMask)) out += styleSummary(style_);
  if (!text_.empty()) out += "\"" + text_ + "\"";
  if (picture_) out += "(" + static_cast<TestPicture*>(picture_)->name + ")";
  if (mask_ == kFormMask) out += "(" + std::to_string(field_.kind) + ")";
  if (label_ || !children_.empty() || !items_.empty()) {
    out += "[";
    bool first = true;
    auto sep = [&] {
      if (!first) out += " ";
      first = false;
    };
    if (label_) {
      sep();
      out += "label:" + static_cast<RecordingAtom*>(label_)->Tree(styles);
    }
    for (PositionItem* i : items_) {
      sep();
      char hex[16];
      std::snprintf(hex, sizeof hex, "#%x", static_cast<unsigned>(i->TypeMask()));
      out += hex;
    }
    for (Atom* c : children_) {
      sep();
      out += static_cast<RecordingAtom*>(c)->Tree(styles);
    }
    out += "]";
  }
  return out;
}

RecordingAtom* RecordingFactory::make(DWORD mask, const char* kind, LONG start, ResolvedStyle* style) {
  log.push_back(std::string(kind) + "@" + std::to_string(start));
  auto* atom = new RecordingAtom(this, mask, kind, start, style);
  if (onMake) onMake(*atom);
  return atom;
}

Atom* RecordingFactory::NewWord(LONG start, ResolvedStyle* style) { return make(kWordMask, "word", start, style); }

Atom* RecordingFactory::NewParagraph(LONG start, ResolvedStyle* style, TabSettingsList* tabs) {
  lastTabs = tabs;
  return make(kParagraphMask, "para", start, style);
}

Atom* RecordingFactory::NewPage(LONG start, ResolvedStyle* style) { return make(kPageMask, "page", start, style); }

Atom* RecordingFactory::NewTable(LONG start, ResolvedStyle* style, const TableAttrs& attrs) {
  RecordingAtom* a = make(kTableMask, "table", start, style);
  a->table = attrs;
  return a;
}

Atom* RecordingFactory::NewTableItem(LONG start, ResolvedStyle* style, const CellAttrs& attrs) {
  RecordingAtom* a = make(kTableItemMask, "cell", start, style);
  a->cell = attrs;
  return a;
}

Atom* RecordingFactory::NewListItem(LONG start, ResolvedStyle* style, TabSettingsList* tabs) {
  lastTabs = tabs;
  return make(kListItemMask, "li", start, style);
}

Atom* RecordingFactory::NewList(LONG start, ResolvedStyle* style) { return make(kListMask, "list", start, style); }

Atom* RecordingFactory::NewHorizontalRule(LONG start, ResolvedStyle* style, LONG value) {
  RecordingAtom* a = make(kHorizontalRuleMask, "rule", start, style);
  a->number = value;
  return a;
}

Atom* RecordingFactory::NewPicture(LONG start, ResolvedStyle* style, NamedObject* picture, LONG a, LONG b) {
  RecordingAtom* atom = make(kPictureMask, "pic", start, style);
  atom->picture_ = picture;
  if (picture) picture->acquire();
  atom->picA = a;
  atom->picB = b;
  return atom;
}

Atom* RecordingFactory::NewFormField(LONG start, ResolvedStyle* style, const FormFieldSpec& spec) {
  RecordingAtom* atom = make(kFormMask, "field", start, style);
  atom->field_ = spec;
  if (spec.action) spec.action->AddRef();  // a button keeps its action
  if (spec.picture) {
    atom->picture_ = spec.picture;
    spec.picture->acquire();
  }
  return atom;
}
