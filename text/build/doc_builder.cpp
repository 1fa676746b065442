#include "text/build/doc_builder.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include "text/atom/atom.h"
#include "text/atom/atom_factory.h"
#include "text/build/build_listener.h"
#include "text/build/grow_capacity.h"
#include "text/form/form.h"
#include "text/resources/dingbat_table.h"

namespace {

// One number for every builder and every new build, process-wide: picture
// requests are told apart by it.
LONG gBuildCounter = 0;

LONG nextGeneration() { return ++gBuildCounter; }

const char kSpace[] = " ";

LONG number(const CString& text) { return static_cast<LONG>(std::atol(text)); }

}  // namespace

DocBuilder::DocBuilder(BuildListener* listener, const PictureContext* pictureSource, LONG viewArgument,
                       TabSettingsList* tabSettings, DingbatTable* dingbats, AtomFactory* factory)
    : tabSettings_(tabSettings),
      listener_(listener),
      target_(&EmptyBuildTarget()),
      generation_(nextGeneration()),
      pictureContext_(pictureSource ? pictureSource->Clone() : nullptr),
      viewArgument_(viewArgument),
      dingbats_(dingbats),
      factory_(factory) {}

DocBuilder::~DocBuilder() {
  Finish();
  DropTree();
}

// ---- The stack of open containers

bool DocBuilder::Reserve() {
  if (size_ < capacity_) return true;
  if (capacity_ >= kMaxDepth) return false;
  DWORD grown = GrowCapacity(capacity_, sizeof(Entry));
  if (grown <= capacity_) return false;
  if (grown > kMaxDepth) grown = kMaxDepth;
  std::unique_ptr<Entry[]> bigger(new (std::nothrow) Entry[grown]);
  if (!bigger) return false;
  for (DWORD i = 0; i < size_; ++i) bigger[i] = stack_[i];
  stack_ = std::move(bigger);
  capacity_ = grown;
  return true;
}

Atom* DocBuilder::Insert(Atom* atom) {
  reopenWord_ = 0;
  if (!atom) return nullptr;
  // Room on the stack first, so that no container is given an atom that
  // could not then be kept open.
  bool first = !root_ && size_ == 0;
  if (!Reserve() || (!first && !current_)) {
    delete atom;
    return nullptr;
  }
  bool held = !first && current_ == holder_ && !heldAtom_;
  if (!first && !held && !current_->AddChild(atom)) {
    delete atom;
    return nullptr;
  }
  if (first)
    root_ = atom;
  else if (held)
    heldAtom_ = atom;
  else
    stack_[size_ - 1] = Entry{stack_[size_ - 1].atom, atom, stack_[size_ - 1].hasText, false};
  stack_[size_++] = Entry{atom, nullptr};
  current_ = atom;
  return atom;
}

void DocBuilder::ClearHolder() {
  holder_ = nullptr;
  heldAtom_ = nullptr;
  holderName_.reset();
}

Atom* DocBuilder::Pop() {
  if (size_ == 0) return current_ = nullptr;
  Atom* top = stack_[size_ - 1].atom;
  const bool topHasText = stack_[size_ - 1].hasText;
  --size_;
  current_ = size_ ? stack_[size_ - 1].atom : nullptr;
  if (size_ && stack_[size_ - 1].lastChild == top) stack_[size_ - 1].lastChildHasText = topHasText;
  if (top == heldAtom_ && heldAtom_) {
    DWORD kind = holderName_ ? holderName_->kind : 0;
    if (!holder_ || !holder_->AdoptLabel(&kind, heldAtom_)) delete heldAtom_;
    ClearHolder();
  } else if (top == holder_) {
    // The holder closed before anything was opened in it.
    ClearHolder();
  }
  return current_;
}

void DocBuilder::DropTree() {
  // A held atom that was never handed over belongs to nobody else.
  if (heldAtom_) delete heldAtom_;
  ClearHolder();
  delete root_;
  root_ = current_ = nullptr;
  size_ = 0;
}

// ---- Atoms

Atom* DocBuilder::AddWord(LONG position, ResolvedStyle* context) {
  return factory_ ? Insert(factory_->NewWord(position, context)) : nullptr;
}

Atom* DocBuilder::AddParagraph(LONG position, ResolvedStyle* context) {
  return factory_ ? Insert(factory_->NewParagraph(position, context, tabSettings_)) : nullptr;
}

Atom* DocBuilder::AddPage(LONG position, ResolvedStyle* context) {
  return factory_ ? Insert(factory_->NewPage(position, context)) : nullptr;
}

Atom* DocBuilder::AddTable(LONG position, ResolvedStyle* context, const TableAttrs& attrs) {
  return factory_ ? Insert(factory_->NewTable(position, context, attrs)) : nullptr;
}

Atom* DocBuilder::AddTableItem(LONG position, ResolvedStyle* context, const CellAttrs& attrs) {
  return factory_ ? Insert(factory_->NewTableItem(position, context, attrs)) : nullptr;
}

Atom* DocBuilder::AddTableRow(LONG, ResolvedStyle*, LONG) { return nullptr; }

Atom* DocBuilder::AddListItem(LONG position, ResolvedStyle* context, LONG) {
  return factory_ ? Insert(factory_->NewListItem(position, context, tabSettings_)) : nullptr;
}

Atom* DocBuilder::AddList(LONG position, ResolvedStyle* context) {
  return factory_ ? Insert(factory_->NewList(position, context)) : nullptr;
}

Atom* DocBuilder::AddHorizontalRule(LONG position, ResolvedStyle* context, LONG value) {
  return factory_ ? Insert(factory_->NewHorizontalRule(position, context, value)) : nullptr;
}

Atom* DocBuilder::AddPicture(LONG position, ResolvedStyle* context, const CString& name, const CString& argument,
                             BYTE inlineFlag, LONG a, LONG b) {
  bool closedWord = false;
  if (current_ && current_->TypeMask() == kWordMask) closedWord = EndAtom(position) != nullptr;
  NamedObject* picture = nullptr;
  if (inlineFlag == 0)
    picture = NotifyListener(name, argument);
  else if (dingbats_)
    picture = dingbats_->GetPicture(name);
  Atom* atom = factory_ ? Insert(factory_->NewPicture(position, context, picture, a, b)) : nullptr;
  if (closedWord) reopenWord_ = 1;
  return atom;
}

bool DocBuilder::SetForm(const CString& action, LONG method, LONG further, FormSubmitter* submitter) {
  form_ = new (std::nothrow) Form(action, method, further, submitter);
  reopenWord_ = 0;
  return form_.get() != nullptr;
}

Atom* DocBuilder::AddFormField(LONG position, ResolvedStyle* context, LONG kind, const FormFieldRecord& record) {
  Form* form = form_.get();
  if (kind == kFieldHidden) {
    if (form) {
      form->AddPair(record[FormFieldRecord::kName], record[FormFieldRecord::kValue]);
      return nullptr;
    }
    kind = kFieldSubmit;  // a hidden pair without a form shows as a button
  }
  if (kind < kFieldText || kind > kFieldSelection) return nullptr;
  FormFieldSpec spec;
  spec.kind = kind;
  spec.form = form;
  spec.name = record[FormFieldRecord::kName];
  spec.value = record[FormFieldRecord::kValue];
  spec.auxText = record[FormFieldRecord::kAuxText];
  spec.disabled = number(record[FormFieldRecord::kDisabled]) != 0;
  spec.size = number(record[FormFieldRecord::kSize]);
  const CString& rows = record[FormFieldRecord::kRows];
  spec.rows = rows.IsEmpty() ? -1 : number(rows);
  spec.checked = number(record[FormFieldRecord::kChecked]) != 0;
  spec.multiple = number(record[FormFieldRecord::kMultiple]) != 0;
  Ref<FormAction> action;
  switch (kind) {
    case kFieldRadio:
      spec.radioGroupOf = form ? form->FindControl(spec.name, FormControl::kRadio) : nullptr;
      break;
    case kFieldNumeric:
      spec.minimum = std::atof(record[FormFieldRecord::kMinimum]);
      spec.maximum = std::atof(record[FormFieldRecord::kMaximum]);
      spec.integral = std::floor(spec.minimum) == spec.minimum && std::floor(spec.maximum) == spec.maximum;
      break;
    case kFieldSubmit:
    case kFieldReset:
    case kFieldPictureSubmit:
      action = new (std::nothrow)
          FormAction(form, kind == kFieldReset ? FormAction::kReset : FormAction::kSubmit);
      spec.action = action.get();
      if (kind == kFieldPictureSubmit) {
        spec.picture =
            NotifyListener(record[FormFieldRecord::kPicture], record[FormFieldRecord::kPictureLink]);
      } else {
        spec.label = spec.value.IsEmpty() ? CString(kind == kFieldReset ? "Reset" : "Submit") : spec.value;
        spec.name.Empty();  // buttons carry their label, not a name
      }
      break;
    case kFieldSelection:
      spec.combo = spec.size < 2 && !spec.multiple;
      break;
    default:
      break;
  }
  return factory_ ? Insert(factory_->NewFormField(position, context, spec)) : nullptr;
}

bool DocBuilder::AddText(LONG position, ResolvedStyle* context, LONG textKind, std::string_view text) {
  if (!current_) return true;
  if (reopenWord_) {
    AddWord(position, context);
    reopenWord_ = 0;
    if (!current_) return true;
  }
  const bool added = current_->AddText(text, position, textKind, context);
  if (added && !text.empty() && textKind != kOverlayCommand && size_ && stack_[size_ - 1].atom == current_)
    stack_[size_ - 1].hasText = true;
  return added;
}

Atom* DocBuilder::EndAtom(LONG position) {
  if (!current_) return nullptr;
  if (current_ != root_) {
    if (current_->TypeMask() != kPictureMask) reopenWord_ = 0;
    if (current_->SetEnd(position)) return Pop();
  }
  if (errorPosition_ == -1) errorPosition_ = current_->Start();
  return nullptr;
}

bool DocBuilder::SetHolder(LONG kind, const CString& name) {
  // An atom that is held already must first be handed over.
  if (heldAtom_) return false;
  holderName_ = HolderName{static_cast<DWORD>(kind), name};
  holder_ = current_;
  reopenWord_ = 0;
  return current_ != nullptr;
}

bool DocBuilder::PassToCurrent(LONG value, ResolvedStyle* context) {
  if (!current_) return false;
  return current_->SetStyle(context, value);
}

bool DocBuilder::AddWordSpace(LONG position, ResolvedStyle* context) {
  reopenWord_ = 0;
  if (!current_ || size_ == 0 || !(current_->TypeMask() & kFlowBit)) return true;
  Atom* last = stack_[size_ - 1].lastChild;
  if (!last) return true;
  DWORD mask = last->TypeMask();
  if (mask == kWordMask) {
    if (stack_[size_ - 1].lastChildHasText) {
      last->AddText(kSpace, position, 0, context);
      last->SetEnd(position + 1);
    }
  } else if (mask == kPictureMask) {
    if (AddWord(position, context)) {
      AddText(position, context, 0, kSpace);
      EndAtom(position + 1);
    }
  }
  return true;
}

// ---- Position items

bool DocBuilder::PushMarker(PositionItem* item) { return Offer(item) != nullptr; }

PositionItem* DocBuilder::Offer(PositionItem* item) {
  reopenWord_ = 0;
  if (!item) return nullptr;
  for (DWORD i = size_; i > 0; --i) {
    Atom* container = stack_[i - 1].atom;
    if (container->AddItem(item)) return item;
    if (container == holder_) break;
  }
  delete item;
  return nullptr;
}

PositionItem* DocBuilder::AddLineBreak(LONG position) { return Offer(new (std::nothrow) LineBreakItem(position)); }

PositionItem* DocBuilder::AddTab(LONG position, const CString& name, LONG flag) {
  return Offer(new (std::nothrow) TabItem(position, name, flag));
}

PositionItem* DocBuilder::AddBorderMark(LONG position, const CString& name, LONG flag) {
  return Offer(new (std::nothrow) BorderMark(position, name, flag));
}

PositionItem* DocBuilder::AddTabStop(LONG position, const CString& name, LONG flag, const TabStopValues& values) {
  return Offer(new (std::nothrow) TabStopItem(position, name, flag, values));
}

PositionItem* DocBuilder::AddTableRowItem(LONG position) { return Offer(new (std::nothrow) TableRowItem(position)); }

PositionItem* DocBuilder::AddOption(const CString& value, BYTE selected, const CString& text1,
                                    BYTE defaultSelected, const CString& text2) {
  return Offer(new (std::nothrow) OptionItem(value, selected, text1, defaultSelected, text2));
}

// ---- Builds

void DocBuilder::Finish() {
  if (listener_) listener_->BuildFinished(target_, generation_);
}

void DocBuilder::Reset(BuildTarget* target) {
  Finish();
  generation_ = nextGeneration();
  target_ = target ? target : &EmptyBuildTarget();
  DropTree();
  form_ = nullptr;
  errorPosition_ = -1;
  reopenWord_ = 0;
}

Atom* DocBuilder::DetachRoot() {
  Finish();
  generation_ = nextGeneration();
  if (heldAtom_) delete heldAtom_;
  ClearHolder();
  Atom* old = root_;
  root_ = current_ = nullptr;
  size_ = 0;
  form_ = nullptr;
  errorPosition_ = -1;
  reopenWord_ = 0;
  return old;
}

void DocBuilder::CloseAll(LONG position) {
  while (current_) {
    current_->SetEnd(position);
    Pop();
  }
  reopenWord_ = 0;
}

NamedObject* DocBuilder::NotifyListener(const CString& name, const CString& argument) {
  if (!listener_) return nullptr;
  return listener_->RequestPicture(name, argument, pictureContext_.get(), target_, generation_);
}
