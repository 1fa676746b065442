// The five faces that a document's viewer document shows to token dispatch
// and to the actions of the definition files: the builder (atoms and
// markers), the elements (the style of open elements), the counters (list
// numbering), the anchors and the document set-up (colours, names, the
// background picture). Each operation reports failure as null or false.
// Positions are stream offsets of the event that runs the operation.
#pragma once

#include <string_view>

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/atom/position_item.h"
#include "text/atom/table_attrs.h"
#include "text/form/form_field_record.h"
#include "text/color_record.h"
#include "win/types.h"

class Atom;
class AnchorRange;
class AnchorRecord;
class FormSubmitter;
class NamedObject;
class Position;
class StyleDefinition;

class BuilderInterface {
 public:
  virtual ~BuilderInterface();
  virtual Atom* AddWord(LONG position) = 0;
  virtual Atom* AddParagraph(LONG position) = 0;
  virtual Atom* AddPage(LONG position) = 0;
  virtual Atom* AddTable(LONG position, const TableAttrs& attrs) = 0;
  virtual Atom* AddTableItem(LONG position, const CellAttrs& attrs) = 0;
  // Makes nothing: the row's item comes from AddTableRowItem.
  virtual Atom* AddTableRow(LONG position, LONG value) = 0;
  virtual Atom* AddListItem(LONG position, LONG value) = 0;
  virtual Atom* AddListItem2(LONG position, LONG value) = 0;
  // inlineFlag 0: the picture of a file name (argument: the resolved
  // reference); otherwise a Dingbat by name.
  virtual Atom* AddPicture(LONG position, const CString& name, const CString& argument, BYTE inlineFlag, LONG a,
                           LONG b) = 0;
  // A new form with its action text, method, a further value and the
  // object that submits it.
  virtual bool SetForm(const CString& action, LONG method, LONG further, FormSubmitter* submitter) = 0;
  virtual Atom* AddFormField(LONG position, LONG kind, const FormFieldRecord& record) = 0;
  virtual Atom* AddList(LONG position) = 0;
  virtual Atom* AddHorizontalRule(LONG position, LONG value) = 0;
  // Text into the current atom; `textKind` is passed on to it.
  virtual bool AddText(LONG position, LONG textKind, std::string_view text) = 0;
  // Closes the current atom at the position; the new current atom, or null
  // when nothing was closed.
  virtual Atom* EndAtom(LONG position) = 0;
  // The current atom holds the next atom opened until it is closed, and is
  // then given it (AdoptLabel with the kind).
  virtual bool SetHolder(LONG position, LONG kind, const CString& name) = 0;
  virtual bool PassToCurrent(LONG value) = 0;
  virtual bool AddWordSpace(LONG position) = 0;
  // Offers an item to the open containers; false when none took it (it is
  // then deleted).
  virtual bool PushMarker(PositionItem* item) = 0;
  virtual PositionItem* AddLineBreak(LONG position) = 0;
  virtual PositionItem* AddTab(LONG position, const CString& name, LONG flag) = 0;
  virtual PositionItem* AddBorderMark(LONG position, const CString& name, LONG flag) = 0;
  virtual PositionItem* AddTabStop(LONG position, const CString& name, LONG flag, const TabStopValues& values) = 0;
  virtual PositionItem* AddTableRowItem(LONG position) = 0;
  virtual PositionItem* AddOption(const CString& value, BYTE selected, const CString& text1, BYTE defaultSelected,
                                  const CString& text2) = 0;
};

class ElementInterface {
 public:
  virtual ~ElementInterface();
  virtual bool StartRoot(const StyleDefinition* definition) = 0;
  virtual bool PushElement(const StyleDefinition* definition) = 0;
  virtual bool PopElement(const StyleDefinition* definition) = 0;
};

// One piece of a list label: kind 0 plain text (neighbouring kind-0 pieces
// are joined), 1 a picture named by the text, 2 a Dingbat named by the text.
struct LabelPiece : ListElement {
  LabelPiece(LONG k, const CString& t) : kind(k), text(t) {}
  LONG kind;
  CString text;
};

class CounterInterface {
 public:
  virtual ~CounterInterface();
  // Counter sets 0 and 1; any other set is refused (false).
  virtual bool PushLevel(LONG set, LONG style, const CString& text, BYTE join) = 0;
  virtual bool PopLevel(LONG set) = 0;
  virtual bool SetValue(LONG set, BYTE restore, LONG value) = 0;
  virtual bool AddValue(LONG set, LONG delta) = 0;
  // The label of the current level into `pieces` (emptied first).
  virtual bool FormatLabel(LONG set, List& pieces) = 0;
};

class AnchorInterface {
 public:
  virtual ~AnchorInterface();
  virtual AnchorRange* AddAnchor(const Position& start, AnchorRecord* definition) = 0;
  virtual AnchorRange* EndAnchor(const Position& end, AnchorRecord* definition) = 0;
  virtual AnchorRange* EndLastAnchor(const Position& end) = 0;
  virtual AnchorRecord* AddDefinition(const CString& text) = 0;
  virtual AnchorRecord* FindDefinition(const CString& name) = 0;
  virtual AnchorRange* AddNamedAnchor(const Position& start, const CString& name) = 0;
  virtual AnchorRange* EndNamedAnchor(const Position& end, const CString& name) = 0;
  // Gives every anchor's style to the atoms of its range.
  virtual void ApplyAnchorStyles(Atom* root) = 0;
};

class SetupInterface {
 public:
  virtual ~SetupInterface();
  // Asks for the picture (as an inline picture is asked for) and makes it
  // the document's background picture.
  virtual bool RequestDocumentPicture(const CString& name, const CString& argument) = 0;
  virtual void SetPicture(NamedObject* picture) = 0;
  virtual void SetName(const CString& name, const CString& value) = 0;
  virtual void SetColor(int index, const ColorRecord& color) = 0;
  virtual void SetColorPair(int index, const ColorRecord& color) = 0;
  virtual void ClearColors() = 0;
};
