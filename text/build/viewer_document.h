// The part of every text document that receives what parsing produces: the
// document builder, the style levels of the open elements, two counter
// sets, the anchor definitions and the colour table. It offers them to token
// dispatch and to the definition files' actions as the five interfaces of
// viewer_interfaces.h, and starts and ends each build.
//
// The root of a build belongs to the viewer document (through its builder)
// until TakeRoot hands it to the caller; a build continued into a new root
// keeps an old root nobody took until the document goes.
#pragma once

#include <memory>
#include <vector>

#include "text/anchors/anchor_definitions.h"
#include "text/build/counters.h"
#include "text/build/doc_builder.h"
#include "text/build/viewer_interfaces.h"
#include "text/style/color_table.h"
#include "text/style/resolved_style.h"

class AnchorRecordList;
class AtomFactory;
class BuildListener;
class BuildTarget;
class DingbatTable;
class PictureContext;
class TabSettingsList;

class ViewerDocument : public BuilderInterface,
                       public ElementInterface,
                       public CounterInterface,
                       public AnchorInterface,
                       public SetupInterface {
 public:
  struct Resources {
    BuildListener* listener = nullptr;       // picture requests, build ends
    const PictureContext* pictureSource = nullptr;
    DingbatTable* dingbats = nullptr;
    AtomFactory* factory = nullptr;          // the installed one when null
  };

  ViewerDocument(List* anchorList, AnchorRecordList* records, TabSettingsList* tabSettings,
                 const Resources& resources, LONG viewArgument, bool withDefaults);
  ~ViewerDocument() override;

  BuilderInterface& Builder() { return *this; }
  ElementInterface& Elements() { return *this; }
  CounterInterface& Counters() { return *this; }
  AnchorInterface& Anchors() { return *this; }
  SetupInterface& Setup() { return *this; }

  // ---- Builds
  // A new build for `target` with `rootStyle` as the root element's style;
  // true when the page that roots the tree was made.
  bool BeginBuild(LONG position, const StyleDefinition* rootStyle, BuildTarget* target);
  // A new tree continuing the open elements' style of the last build.
  bool ContinueBuild(LONG position, const StyleDefinition* rootStyle, BuildTarget* target);
  // Closes every open atom: -1 when every element had been closed by the
  // document, else the start position of the first atom that could not be.
  LONG EndBuild(LONG position);
  Atom* GetRoot() const { return builder_.Root(); }
  // Hands the tree to the caller, who deletes it.
  Atom* TakeRoot() { return builder_.DetachRoot(); }

  DocBuilder& GetBuilder() { return builder_; }
  StyleContext& Styles() { return styles_; }
  ColorTable& Colors() { return colors_; }
  AnchorDefinitions& GetAnchorDefinitions() { return anchors_; }
  const CounterSet& CounterSetAt(int set) const { return counterSets_[set]; }

  // ---- BuilderInterface
  Atom* AddWord(LONG position) override;
  Atom* AddParagraph(LONG position) override;
  Atom* AddPage(LONG position) override;
  Atom* AddTable(LONG position, const TableAttrs& attrs) override;
  Atom* AddTableItem(LONG position, const CellAttrs& attrs) override;
  Atom* AddTableRow(LONG position, LONG value) override;
  Atom* AddListItem(LONG position, LONG value) override;
  Atom* AddListItem2(LONG position, LONG value) override;
  Atom* AddPicture(LONG position, const CString& name, const CString& argument, BYTE inlineFlag, LONG a,
                   LONG b) override;
  bool SetForm(const CString& action, LONG method, LONG further, FormSubmitter* submitter) override;
  Atom* AddFormField(LONG position, LONG kind, const FormFieldRecord& record) override;
  Atom* AddList(LONG position) override;
  Atom* AddHorizontalRule(LONG position, LONG value) override;
  bool AddText(LONG position, LONG textKind, std::string_view text) override;
  Atom* EndAtom(LONG position) override;
  bool SetHolder(LONG position, LONG kind, const CString& name) override;
  bool PassToCurrent(LONG value) override;
  bool AddWordSpace(LONG position) override;
  bool PushMarker(PositionItem* item) override;
  PositionItem* AddLineBreak(LONG position) override;
  PositionItem* AddTab(LONG position, const CString& name, LONG flag) override;
  PositionItem* AddBorderMark(LONG position, const CString& name, LONG flag) override;
  PositionItem* AddTabStop(LONG position, const CString& name, LONG flag, const TabStopValues& values) override;
  PositionItem* AddTableRowItem(LONG position) override;
  PositionItem* AddOption(const CString& value, BYTE selected, const CString& text1, BYTE defaultSelected,
                          const CString& text2) override;

  // ---- ElementInterface
  bool StartRoot(const StyleDefinition* definition) override;
  bool PushElement(const StyleDefinition* definition) override;
  bool PopElement(const StyleDefinition* definition) override;

  // ---- CounterInterface
  bool PushLevel(LONG set, LONG style, const CString& text, BYTE join) override;
  bool PopLevel(LONG set) override;
  bool SetValue(LONG set, BYTE restore, LONG value) override;
  bool AddValue(LONG set, LONG delta) override;
  bool FormatLabel(LONG set, List& pieces) override;

  // ---- AnchorInterface
  AnchorRange* AddAnchor(const Position& start, AnchorRecord* definition) override;
  AnchorRange* EndAnchor(const Position& end, AnchorRecord* definition) override;
  AnchorRange* EndLastAnchor(const Position& end) override;
  AnchorRecord* AddDefinition(const CString& text) override;
  AnchorRecord* FindDefinition(const CString& name) override;
  AnchorRange* AddNamedAnchor(const Position& start, const CString& name) override;
  AnchorRange* EndNamedAnchor(const Position& end, const CString& name) override;
  void ApplyAnchorStyles(Atom* root) override;

  // ---- SetupInterface
  bool RequestDocumentPicture(const CString& name, const CString& argument) override;
  void SetPicture(NamedObject* picture) override;
  void SetName(const CString& name, const CString& value) override;
  void SetColor(int index, const ColorRecord& color) override;
  void SetColorPair(int index, const ColorRecord& color) override;
  void ClearColors() override;

 private:
  CounterSet* set(LONG number) { return number == 0 || number == 1 ? &counterSets_[number] : nullptr; }
  ResolvedStyle* context() const { return styles_.Current(); }

  StyleContext styles_;
  DocBuilder builder_;
  CounterSet counterSets_[2];
  AnchorDefinitions anchors_;
  ColorTable colors_;
  std::vector<std::unique_ptr<Atom>> retiredRoots_;
};
