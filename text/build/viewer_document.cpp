#include "text/build/viewer_document.h"

#include "text/atom/atom.h"
#include "text/atom/atom_factory.h"

BuilderInterface::~BuilderInterface() = default;
ElementInterface::~ElementInterface() = default;
CounterInterface::~CounterInterface() = default;
AnchorInterface::~AnchorInterface() = default;
SetupInterface::~SetupInterface() = default;

ViewerDocument::ViewerDocument(List* anchorList, AnchorRecordList* records, TabSettingsList* tabSettings,
                               const Resources& resources, LONG viewArgument, bool withDefaults)
    : builder_(resources.listener, resources.pictureSource, viewArgument, tabSettings, resources.dingbats,
               resources.factory ? resources.factory : TheAtomFactory()),
      anchors_(anchorList, records),
      colors_(withDefaults) {}

ViewerDocument::~ViewerDocument() = default;

// ---- Builds

bool ViewerDocument::BeginBuild(LONG position, const StyleDefinition* rootStyle, BuildTarget* target) {
  builder_.Reset(target);
  styles_.SetRoot(rootStyle);
  return AddPage(position) != nullptr;
}

bool ViewerDocument::ContinueBuild(LONG position, const StyleDefinition* rootStyle, BuildTarget* target) {
  (void)target;  // a continued build keeps its target
  if (Atom* old = builder_.DetachRoot()) retiredRoots_.emplace_back(old);
  if (!styles_.Root()) styles_.SetRoot(rootStyle);
  styles_.ReturnToRoot();
  return AddPage(position) != nullptr;
}

LONG ViewerDocument::EndBuild(LONG position) {
  bool allClosed = builder_.Current() == builder_.Root();
  builder_.AddWordSpace(position, context());
  builder_.CloseAll(position);
  return allClosed ? -1 : builder_.ErrorPosition();
}

// ---- BuilderInterface

Atom* ViewerDocument::AddWord(LONG position) { return builder_.AddWord(position, context()); }
Atom* ViewerDocument::AddParagraph(LONG position) { return builder_.AddParagraph(position, context()); }
Atom* ViewerDocument::AddPage(LONG position) { return builder_.AddPage(position, context()); }
Atom* ViewerDocument::AddTable(LONG position, const TableAttrs& attrs) {
  return builder_.AddTable(position, context(), attrs);
}
Atom* ViewerDocument::AddTableItem(LONG position, const CellAttrs& attrs) {
  return builder_.AddTableItem(position, context(), attrs);
}
Atom* ViewerDocument::AddTableRow(LONG position, LONG value) {
  return builder_.AddTableRow(position, context(), value);
}
Atom* ViewerDocument::AddListItem(LONG position, LONG value) {
  return builder_.AddListItem(position, context(), value);
}
Atom* ViewerDocument::AddListItem2(LONG position, LONG value) {
  return builder_.AddListItem(position, context(), value);
}
Atom* ViewerDocument::AddPicture(LONG position, const CString& name, const CString& argument, BYTE inlineFlag,
                                 LONG a, LONG b) {
  return builder_.AddPicture(position, context(), name, argument, inlineFlag, a, b);
}
bool ViewerDocument::SetForm(const CString& action, LONG method, LONG further, FormSubmitter* submitter) {
  return builder_.SetForm(action, method, further, submitter);
}
Atom* ViewerDocument::AddFormField(LONG position, LONG kind, const FormFieldRecord& record) {
  return builder_.AddFormField(position, context(), kind, record);
}
Atom* ViewerDocument::AddList(LONG position) { return builder_.AddList(position, context()); }
Atom* ViewerDocument::AddHorizontalRule(LONG position, LONG value) {
  return builder_.AddHorizontalRule(position, context(), value);
}
bool ViewerDocument::AddText(LONG position, LONG textKind, std::string_view text) {
  return builder_.AddText(position, context(), textKind, text);
}
Atom* ViewerDocument::EndAtom(LONG position) { return builder_.EndAtom(position); }
bool ViewerDocument::SetHolder(LONG, LONG kind, const CString& name) { return builder_.SetHolder(kind, name); }
bool ViewerDocument::PassToCurrent(LONG value) { return builder_.PassToCurrent(value, context()); }
bool ViewerDocument::AddWordSpace(LONG position) { return builder_.AddWordSpace(position, context()); }
bool ViewerDocument::PushMarker(PositionItem* item) { return builder_.PushMarker(item); }
PositionItem* ViewerDocument::AddLineBreak(LONG position) { return builder_.AddLineBreak(position); }
PositionItem* ViewerDocument::AddTab(LONG position, const CString& name, LONG flag) {
  return builder_.AddTab(position, name, flag);
}
PositionItem* ViewerDocument::AddBorderMark(LONG position, const CString& name, LONG flag) {
  return builder_.AddBorderMark(position, name, flag);
}
PositionItem* ViewerDocument::AddTabStop(LONG position, const CString& name, LONG flag,
                                         const TabStopValues& values) {
  return builder_.AddTabStop(position, name, flag, values);
}
PositionItem* ViewerDocument::AddTableRowItem(LONG position) { return builder_.AddTableRowItem(position); }
PositionItem* ViewerDocument::AddOption(const CString& value, BYTE selected, const CString& text1,
                                        BYTE defaultSelected, const CString& text2) {
  return builder_.AddOption(value, selected, text1, defaultSelected, text2);
}

// ---- ElementInterface

bool ViewerDocument::StartRoot(const StyleDefinition* definition) { return styles_.SetRoot(definition); }
bool ViewerDocument::PushElement(const StyleDefinition* definition) { return styles_.Push(definition); }
bool ViewerDocument::PopElement(const StyleDefinition* definition) { return styles_.Pop(definition); }

// ---- CounterInterface

bool ViewerDocument::PushLevel(LONG number, LONG style, const CString& text, BYTE join) {
  CounterSet* s = set(number);
  return s && s->PushLevel(style, text, join);
}
bool ViewerDocument::PopLevel(LONG number) {
  CounterSet* s = set(number);
  return s && s->PopLevel();
}
bool ViewerDocument::SetValue(LONG number, BYTE restore, LONG value) {
  CounterSet* s = set(number);
  return s && s->SetValue(restore, value);
}
bool ViewerDocument::AddValue(LONG number, LONG delta) {
  CounterSet* s = set(number);
  return s && s->AddValue(delta);
}
bool ViewerDocument::FormatLabel(LONG number, List& pieces) {
  CounterSet* s = set(number);
  return s && s->FormatLabel(pieces);
}

// ---- AnchorInterface

AnchorRange* ViewerDocument::AddAnchor(const Position& start, AnchorRecord* definition) {
  return anchors_.AddAnchor(start, definition);
}
AnchorRange* ViewerDocument::EndAnchor(const Position& end, AnchorRecord* definition) {
  return anchors_.EndAnchor(end, definition);
}
AnchorRange* ViewerDocument::EndLastAnchor(const Position& end) { return anchors_.EndLastAnchor(end); }
AnchorRecord* ViewerDocument::AddDefinition(const CString& text) { return anchors_.AddDefinition(text); }
AnchorRecord* ViewerDocument::FindDefinition(const CString& name) { return anchors_.FindDefinition(name); }
AnchorRange* ViewerDocument::AddNamedAnchor(const Position& start, const CString& name) {
  return anchors_.AddNamedAnchor(start, name);
}
AnchorRange* ViewerDocument::EndNamedAnchor(const Position& end, const CString& name) {
  return anchors_.EndNamedAnchor(end, name);
}
void ViewerDocument::ApplyAnchorStyles(Atom* root) { anchors_.ApplyAnchorStyles(root); }

// ---- SetupInterface

bool ViewerDocument::RequestDocumentPicture(const CString& name, const CString& argument) {
  NamedObject* picture = builder_.NotifyListener(name, argument);
  colors_.SetPicture(picture);
  return picture != nullptr;
}
void ViewerDocument::SetPicture(NamedObject* picture) { colors_.SetPicture(picture); }
void ViewerDocument::SetName(const CString& name, const CString& value) { colors_.SetName(name, value); }
void ViewerDocument::SetColor(int index, const ColorRecord& color) { colors_.SetColor(index, color); }
void ViewerDocument::SetColorPair(int index, const ColorRecord& color) { colors_.SetColorPair(index, color); }
void ViewerDocument::ClearColors() { colors_.Clear(); }
