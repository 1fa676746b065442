#include "layout/forms/form_atom.h"

#include "layout/atoms/text_output.h"
#include "text/atom/position_item.h"
#include "text/style/resolved_style.h"

FormAtom::FormAtom(LONG start, ResolvedStyle* style, FormItem* field) : Atom(start) {
  field_ = field;
  if (!field_) ownItem_ = std::make_unique<StyledItem>(style, 0);
}

FormAtom::~FormAtom() { delete field_; }

void FormAtom::SetField(FormItem* field) {
  if (!field) return;
  if (field_ != field) delete field_;
  field_ = field;
  ownItem_.reset();
}

bool FormAtom::AddText(std::string_view text, LONG, LONG, ResolvedStyle*) {
  content_ += CString(text);
  return true;
}

bool FormAtom::SetEnd(LONG end) {
  if (!content_.IsEmpty() && field_) field_->SetValue(content_);
  end_ = end;
  return true;
}

bool FormAtom::overlaps(const Position& from, const Position& to) const {
  return from.Number() <= end_ && start_ <= to.Number();
}

static StyledItem* itemOf(FormItem* field, StyledItem* own) { return field ? static_cast<StyledItem*>(field) : own; }

bool FormAtom::ApplyStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  if (!overlaps(from, to)) return false;
  return itemOf(field_, ownItem_.get())->SetStyle(change);
}

bool FormAtom::ApplyParagraphStyle(const Position& from, const Position& to, const StyleDefinition* change) {
  if (!overlaps(from, to)) return false;
  return itemOf(field_, ownItem_.get())->SetParagraphStyle(change);
}

ResolvedStyle* FormAtom::StyleAt(const Position&) { return itemOf(field_, ownItem_.get())->Style(); }

bool FormAtom::SetMarks(const Position& from, const Position& to, BYTE bits) {
  if (!overlaps(from, to)) return false;
  itemOf(field_, ownItem_.get())->SetMarks(bits);
  return true;
}

bool FormAtom::ClearMarks(const Position& from, const Position& to, BYTE bits) {
  if (!overlaps(from, to)) return false;
  itemOf(field_, ownItem_.get())->ClearMarks(bits);
  return true;
}

void FormAtom::MarksAt(const Position&, BYTE& bits) { bits = itemOf(field_, ownItem_.get())->Marks(); }

LayoutRect FormAtom::measure(TextOutput* ctx) {
  LayoutRect box = LayoutRect::Of(0, 0, 0, 0);
  if (field_) field_->Measure(box, ctx);
  return box;
}

int FormAtom::Format(TextOutput* ctx, const LayoutRect& rect, Position*& continuation, const Position&, int) {
  continuation = nullptr;
  LayoutRect box = measure(ctx);
  const bool tooWide = box.Width() > rect.Width();
  const bool tooHigh = box.Height() > rect.Height();
  if (tooWide || tooHigh) {
    continuation = StartPosition();
    return tooHigh ? kFormatNothing : kFormatTooWide;
  }
  continuation = EndPosition();
  return kFormatFits;
}

int FormAtom::Extent(LayoutRect& out, TextOutput* ctx, const Position&, const Position&, int) {
  if (!field_) {
    out = LayoutRect::Of(0, 0, 0, 0);
    return 0;
  }
  LayoutRect box = measure(ctx);
  offset_ = 0;
  if (ResolvedStyle* style = field_->Style(); style && ctx) {
    int vertical = style->Style().alignment.Field(1);
    if (vertical >= 8) vertical -= 16;  // a signed four-bit field
    LayoutRect blank = style->BlankExtent(ctx);
    if (vertical == 0) offset_ = blank.top - box.bottom;
    if (vertical == 1) offset_ = blank.bottom - box.bottom;
    if (vertical == 2) offset_ = ((blank.bottom - blank.top) - box.bottom + box.top) / 2;
  }
  out = LayoutRect::Of(box.left, box.right, box.top + offset_, box.bottom + offset_);
  return 0;
}

int FormAtom::Draw(TextOutput* ctx, const LayoutPoint& origin, const LayoutRect& clip, const Position&,
                   const Position&, int, const PositionRange*) {
  if (!field_) return 0;
  LayoutRect c = clip;
  c.bottom -= offset_;
  field_->PlaceWindow(ctx, LayoutPoint{origin.x, origin.y + offset_}, c);
  return 0;
}

oldio::ostream& FormAtom::Dump(oldio::ostream& out, int indent) {
  for (int i = 0; i < indent; ++i) out << ' ';
  CString line;
  line.Format("FormAtom %ld on the positon:%p kind %d", start_, static_cast<const void*>(this),
              field_ ? field_->ControlKind() : -1);
  out << line.c_str() << oldio::endl;
  return out;
}

// ---- Text area ------------------------------------------------------------------------

TextAreaAtom::~TextAreaAtom() { delete pendingWord_; }

namespace {

CString wordText(Atom* word) {
  CString text;
  if (word) word->AppendText(text, FirstPosition(), LastPosition(), TRUE, 0);
  return text;
}

// Appends a word's text; words stood apart in the document, and spaces
// between them reach only flowing text, so one blank keeps them apart here.
void appendWord(CString& text, Atom* word) {
  CString w = wordText(word);
  if (w.IsEmpty()) return;
  if (!text.IsEmpty() && text.Right(1) != " " && w.Left(1) != " ") text += " ";
  text += w;
}

}  // namespace

bool TextAreaAtom::AddChild(Atom* child) {
  if (!child) return false;
  if (child->TypeMask() == kWordMask) {
    // The words of the element are its initial text.
    if (pendingWord_) appendWord(content_, pendingWord_);
    delete pendingWord_;
    pendingWord_ = child;
  } else {
    delete child;  // taken, never laid out
  }
  return true;
}

bool TextAreaAtom::SetEnd(LONG end) {
  if (pendingWord_) appendWord(content_, pendingWord_);
  delete pendingWord_;
  pendingWord_ = nullptr;
  return FormAtom::SetEnd(end);
}

// ---- Selection ------------------------------------------------------------------------

SelectAtom::~SelectAtom() { delete pendingWord_; }

bool SelectAtom::AddText(std::string_view text, LONG, LONG, ResolvedStyle*) {
  optionText_ += CString(text);
  return true;
}

bool SelectAtom::AddChild(Atom* child) {
  if (!child) return false;
  if (child->TypeMask() == kWordMask) {
    if (pendingWord_) appendWord(optionText_, pendingWord_);
    delete pendingWord_;
    pendingWord_ = child;
  } else {
    delete child;
  }
  return true;
}

bool SelectAtom::AddItem(PositionItem* item) {
  if (!item || item->TypeMask() != kOptionKind) return FormAtom::AddItem(item);
  finishOption();
  auto* option = static_cast<OptionItem*>(item);
  current_ = std::make_unique<OptionRecord>();
  current_->value = option->Value();
  current_->selected = option->Selected();
  current_->defaultSelected = option->DefaultSelected();
  current_->text1 = option->Text1();
  current_->text2 = option->Text2();
  optionText_.Empty();
  delete item;
  return true;
}

void SelectAtom::finishOption() {
  if (pendingWord_) {
    appendWord(optionText_, pendingWord_);
    delete pendingWord_;
    pendingWord_ = nullptr;
  }
  if (!current_) return;
  CString text = optionText_;
  text.TrimLeft();
  text.TrimRight();
  if (current_->value.IsEmpty()) current_->value = text;
  current_->text = text.IsEmpty() ? current_->value : text;
  if (field_) field_->AddOption(*current_);
  current_.reset();
  optionText_.Empty();
}

bool SelectAtom::SetEnd(LONG end) {
  finishOption();
  // The words of the options are no value of the selection.
  content_.Empty();
  return FormAtom::SetEnd(end);
}
