// A viewer document that records what the definition files' actions ask of
// it, one line per call: for tests of the style properties and of the
// shipped definitions.
#pragma once

#include <string>
#include <vector>

#include "text/build/viewer_interfaces.h"
#include "text/style_property.h"

class RecordingViewer : public BuilderInterface,
                        public ElementInterface,
                        public CounterInterface,
                        public AnchorInterface,
                        public SetupInterface {
 public:
  RecordingViewer();
  ~RecordingViewer() override;

  ViewerFaces Faces() { return ViewerFaces::Of(*this); }
  std::string Joined() const;

  // What the calls answer: false makes every call fail.
  bool succeed = true;
  std::vector<std::string> calls;
  // The label pieces FormatLabel gives.
  std::vector<std::pair<LONG, std::string>> label;

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

  bool StartRoot(const StyleDefinition* definition) override;
  bool PushElement(const StyleDefinition* definition) override;
  bool PopElement(const StyleDefinition* definition) override;

  bool PushLevel(LONG set, LONG style, const CString& text, BYTE join) override;
  bool PopLevel(LONG set) override;
  bool SetValue(LONG set, BYTE restore, LONG value) override;
  bool AddValue(LONG set, LONG delta) override;
  bool FormatLabel(LONG set, List& pieces) override;

  AnchorRange* AddAnchor(const Position& start, AnchorRecord* definition) override;
  AnchorRange* EndAnchor(const Position& end, AnchorRecord* definition) override;
  AnchorRange* EndLastAnchor(const Position& end) override;
  AnchorRecord* AddDefinition(const CString& text) override;
  AnchorRecord* FindDefinition(const CString& name) override;
  AnchorRange* AddNamedAnchor(const Position& start, const CString& name) override;
  AnchorRange* EndNamedAnchor(const Position& end, const CString& name) override;
  void ApplyAnchorStyles(Atom* root) override;

  bool RequestDocumentPicture(const CString& name, const CString& argument) override;
  void SetPicture(NamedObject* picture) override;
  void SetName(const CString& name, const CString& value) override;
  void SetColor(int index, const ColorRecord& color) override;
  void SetColorPair(int index, const ColorRecord& color) override;
  void ClearColors() override;

 private:
  template <typename T>
  T* Answer(const std::string& call, T* value) {
    calls.push_back(call);
    return succeed ? value : nullptr;
  }
  bool Answer(const std::string& call) {
    calls.push_back(call);
    return succeed;
  }

  // Stand-ins handed back for atoms, ranges and items; never used.
  Atom* atom_;
  AnchorRange* range_;
  PositionItem* item_;
  AnchorRecord* record_;
};
